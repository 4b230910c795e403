#include "support/reply_line.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

struct reply_case {
    std::string line;
    std::string prefix;
    std::vector<std::string> params;
    std::int32_t code;
};

class reply_line_parses : public testing::TestWithParam<reply_case> {};

TEST_P(reply_line_parses, into_prefix_parameters_and_code) {
    const reply_case& c = GetParam();
    Creply_line reply;
    reply.parse(c.line);
    EXPECT_EQ(reply.prefix, c.prefix) << c.line;
    EXPECT_EQ(reply.params, c.params) << c.line;
    EXPECT_EQ(reply.code(), c.code) << c.line;
}

INSTANTIATE_TEST_SUITE_P(
    examples, reply_line_parses,
    testing::Values(
        reply_case{":irc.example 605 u :login.example 7000",
                   "irc.example",
                   {"605", "u", "login.example 7000"},
                   605},
        reply_case{"PING :abc", "", {"PING", "abc"}, 0},
        reply_case{":srv 001 nick :hello there :)", "srv", {"001", "nick", "hello there :)"}, 1},
        reply_case{"server: h.example:4005 (192.0.2.10)",
                   "",
                   {"server", " h.example:4005 (192.0.2.10)"},
                   0},
        reply_case{"a  b", "", {"a", "", "b"}, 0}, reply_case{"a b ", "", {"a", "b"}, 0},
        reply_case{"a b  ", "", {"a", "b", ""}, 0}, reply_case{" 605 x", "", {"", "605", "x"}, 0},
        reply_case{"a :", "", {"a", ""}, 0}, reply_case{"a b:c d", "", {"a", "b", "c d"}, 0},
        reply_case{":x", "", {}, 0}, reply_case{":x ", "x", {}, 0},
        reply_case{": 605 y", "", {"605", "y"}, 605}, reply_case{":x  605", "x", {"", "605"}, 0},
        reply_case{"::x y", ":x", {"y"}, 0}, reply_case{"::", "", {}, 0},
        reply_case{":", "", {}, 0}, reply_case{"", "", {}, 0},
        reply_case{":a:b 605 :c", "a:b", {"605", "c"}, 605}, reply_case{"word", "", {"word"}, 0},
        reply_case{"a :b :c", "", {"a", "b :c"}, 0}, reply_case{"605 x\r", "", {"605", "x\r"}, 605},
        reply_case{"0605", "", {"0605"}, 605}, reply_case{"605abc", "", {"605abc"}, 605},
        reply_case{"-1 x", "", {"-1", "x"}, -1},
        reply_case{"99999999999", "", {"99999999999"}, 2147483647},
        reply_case{"\t605 x", "", {"\t605", "x"}, 605}));

TEST(reply_line, param_beyond_the_last_is_the_one_shared_empty_text) {
    Creply_line reply;
    reply.parse("a b");
    const std::string& first_missing = reply.param(2);
    EXPECT_TRUE(first_missing.empty());
    EXPECT_EQ(&reply.param(std::numeric_limits<std::size_t>::max()), &first_missing);
    EXPECT_EQ(reply.params.size(), 2u);
}

TEST(reply_line, parsing_again_forgets_the_earlier_line) {
    Creply_line reply;
    reply.parse(":old 605 a b :c d");
    reply.parse("x");
    EXPECT_EQ(reply.prefix, "");
    EXPECT_EQ(reply.params, std::vector<std::string>{"x"});

    reply.parse(":only");
    EXPECT_TRUE(reply.params.empty());
    EXPECT_EQ(reply.code(), 0);
}

}  // namespace
