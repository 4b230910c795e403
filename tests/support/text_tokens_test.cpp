#include "support/text_tokens.h"

#include <gtest/gtest.h>

#include <locale>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

struct token_case {
    std::string source;
    char separator;
    std::string token;
    std::string rest;
};

class next_token_takes_one_token : public testing::TestWithParam<token_case> {};

TEST_P(next_token_takes_one_token, and_leaves_the_rest_untouched) {
    const token_case& c = GetParam();
    std::string source = c.source;
    EXPECT_EQ(next_token(source, c.separator), c.token);
    EXPECT_EQ(source, c.rest);
}

INSTANTIATE_TEST_SUITE_P(
    examples, next_token_takes_one_token,
    testing::Values(token_case{"  a b  ,rest", ',', "a b", "rest"},
                    token_case{"line one\r\nline two\r\n", '\n', "line one", "line two\r\n"},
                    token_case{"line two\r\n", '\n', "line two", ""},
                    token_case{"10.0.0.1 host # note", '#', "10.0.0.1 host", " note"},
                    token_case{"a, b", ',', "a", " b"}, token_case{"", ',', "", ""},
                    token_case{"", '\n', "", ""}, token_case{"  abc  ", ',', "abc", ""},
                    token_case{",abc", ',', "", "abc"}, token_case{"abc,", ',', "abc", ""},
                    token_case{" \t ", ',', "", ""}, token_case{"a\rb\r\nc", '\n', "a\rb", "c"},
                    token_case{"\xA0"
                               "abc\0"s,
                               ',',
                               "\xA0"
                               "abc\0"s,
                               ""},
                    token_case{"\0 x\0"s, '\0', "", " x\0"s},
                    token_case{"\x01\x7F\x85 z \x0B\x0C", 'z', "\x01\x7F\x85", " \x0B\x0C"},
                    token_case{"a\xFF"
                               "b",
                               '\xFF', "a", "b"}));

TEST(next_token, gives_an_empty_token_for_each_of_consecutive_separators) {
    std::string source = "a,,b";
    EXPECT_EQ(next_token(source, ','), "a");
    EXPECT_EQ(source, ",b");
    EXPECT_EQ(next_token(source, ','), "");
    EXPECT_EQ(source, "b");
    EXPECT_EQ(next_token(source, ','), "b");
    EXPECT_EQ(source, "");
}

TEST(next_token, walks_every_line_of_an_answer_whose_last_line_has_no_line_end) {
    std::string source = "one\r\n\r\ntwo\nthree";
    std::vector<std::string> lines;
    while (!source.empty()) {
        lines.push_back(next_token(source, '\n'));
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "", "two", "three"}));
}

struct number_case {
    std::string source;
    std::int32_t value;
};

class next_token_int_reads : public testing::TestWithParam<number_case> {};

TEST_P(next_token_int_reads, like_strtol_clamped_to_32_bits) {
    std::string source = GetParam().source;
    EXPECT_EQ(next_token_int(source), GetParam().value) << GetParam().source;
}

INSTANTIATE_TEST_SUITE_P(
    examples, next_token_int_reads,
    testing::Values(number_case{"", 0}, number_case{"12abc", 12}, number_case{"-12", -12},
                    number_case{"+12", 12}, number_case{"abc", 0}, number_case{"-", 0},
                    number_case{"007", 7}, number_case{"0x10", 0}, number_case{"010", 10},
                    number_case{"99999999999", 2147483647},
                    number_case{"-99999999999", -2147483648}, number_case{"2147483647", 2147483647},
                    number_case{"2147483648", 2147483647}, number_case{"-2147483648", -2147483648},
                    number_case{"-2147483649", -2147483648}, number_case{"4294967296", 2147483647},
                    number_case{"18446744073709551617", 2147483647},
                    number_case{"-18446744073709551617", -2147483648},
                    number_case{"000000000000000000000000000042", 42}, number_case{"\t7\r", 7},
                    number_case{"+-1", 0}, number_case{"1 2", 1}));

TEST(next_token_int, takes_one_blank_separated_token_each_time) {
    std::string source = "4005 x";
    EXPECT_EQ(next_token_int(source), 4005);
    EXPECT_EQ(source, "x");

    source = "  7 8";
    EXPECT_EQ(next_token_int(source), 0);
    EXPECT_EQ(source, " 7 8");
    EXPECT_EQ(next_token_int(source), 0);
    EXPECT_EQ(source, "7 8");
    EXPECT_EQ(next_token_int(source), 7);
    EXPECT_EQ(source, "8");
}

// A ctype facet that, like some desktop locales, calls the no-break space (160) white space.
class no_break_space_is_space : public std::ctype<char> {
  public:
    no_break_space_is_space() : std::ctype<char>(make_table()) {}

  private:
    static const mask* make_table() {
        static std::vector<mask> table(classic_table(), classic_table() + table_size);
        table[0xA0] |= space;
        table[0x00] |= space;
        return table.data();
    }
};

class under_a_locale_with_more_white_space : public testing::Test {
  protected:
    void SetUp() override {
        previous_ =
            std::locale::global(std::locale(std::locale::classic(), new no_break_space_is_space));
        ASSERT_TRUE(std::isspace('\xA0', std::locale()));
    }
    void TearDown() override { std::locale::global(previous_); }

  private:
    std::locale previous_;
};

TEST_F(under_a_locale_with_more_white_space, tokens_are_trimmed_of_the_six_bytes_only) {
    std::string source = "\xA0 a \xA0\0,b"s;
    EXPECT_EQ(next_token(source, ','), "\xA0 a \xA0\0"s);
    EXPECT_EQ(source, "b");
}

TEST_F(under_a_locale_with_more_white_space, numbers_do_not_skip_other_bytes) {
    std::string source =
        "\xA0"
        "5";
    EXPECT_EQ(next_token_int(source), 0);
}

}  // namespace
