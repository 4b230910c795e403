#include "hosts/hosts_text.h"

#include "hosts/hosts_examples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <random>
#include <regex>

namespace {

std::string upper_case(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char byte) { return static_cast<char>(std::toupper(byte)); });
    return text;
}

std::string lower_case(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char byte) { return static_cast<char>(std::tolower(byte)); });
    return text;
}

struct filter_case {
    const char* behaviour;
    std::string old_text;
    std::string address;
    std::string new_text;
};

void PrintTo(const filter_case& example, std::ostream* out) {
    *out << example.behaviour;
}

class hosts_text_filter : public testing::TestWithParam<filter_case> {};

TEST_P(hosts_text_filter, rewrites_lines) {
    const filter_case& example = GetParam();
    EXPECT_EQ(rewritten_hosts_text(example.old_text, example.address), example.new_text);
}

INSTANTIATE_TEST_SUITE_P(
    lines, hosts_text_filter,
    testing::Values(
        filter_case{
            "worked example, applied", worked_example, "192.0.2.10",
            worked_example_kept + "192.0.2.10 " + chat + "\n192.0.2.10 " + server_list + "\n"},
        filter_case{"worked example, reset", worked_example, "", worked_example_kept},
        filter_case{"empty file, applied: chat host first", "", "192.0.2.10",
                    "192.0.2.10 " + chat + "\n192.0.2.10 " + server_list + "\n"},
        filter_case{"empty file, reset", "", "", ""},
        filter_case{"address written unchecked", "", "not an address",
                    "not an address " + chat + "\nnot an address " + server_list + "\n"},
        filter_case{"blanks around the line", "  198.51.100.4 " + chat + "  \n", "", ""},
        filter_case{"white space of every kind around the line",
                    "\t\v\f 198.51.100.4 " + chat + " \t\r\n", "", ""},
        filter_case{"comment right after the name", "198.51.100.4 " + chat + "#old\n", "", ""},
        filter_case{"a tab separates", "198.51.100.4\t" + chat + "\n", "1.2.3.4",
                    "1.2.3.4 " + chat + "\n1.2.3.4 " + server_list + "\n"},
        filter_case{"several blanks separate", "198.51.100.4  " + server_list + "\n", "", ""},
        filter_case{"blank then tab separates", "198.51.100.4 \t" + chat + "\n", "", ""},
        filter_case{"letter case does not count",
                    "198.51.100.4 " + upper_case(chat) + "\n198.51.100.4 IRC.westwood.COM\n", "",
                    ""},
        filter_case{"the name as an alias goes, the other name stays",
                    "10.0.0.1 gateway " + server_list + "\n", "", "10.0.0.1 gateway\n"},
        filter_case{"other names keep their order and the blanks before them",
                    "10.0.0.1\t" + chat + " nas.lan\t " + server_list + "  printer # here\n", "",
                    "10.0.0.1 nas.lan  printer # here\n"},
        filter_case{"a comment right after a removed alias stays",
                    "10.0.0.1 gateway " + chat + "#old\n", "", "10.0.0.1 gateway#old\n"},
        filter_case{"both names on one line",
                    "1.2.3.4 " + chat + " " + server_list + "\n" + "1.2.3.4\t" + server_list +
                        "\t" + chat + "\n",
                    "", ""},
        filter_case{"both names with another", "1.2.3.4 " + chat + " x " + server_list + "\n", "",
                    "1.2.3.4 x\n"},
        filter_case{"a further part makes another name", "198.51.100.4 " + chat + ".example\n", "",
                    "198.51.100.4 " + chat + ".example\n"},
        filter_case{"a name without an address maps nothing", chat + "\n  " + server_list + "\n",
                    "", chat + "\n  " + server_list + "\n"},
        filter_case{"service line only inside a comment", "# 198.51.100.4 " + chat + "\n", "",
                    "# 198.51.100.4 " + chat + "\n"},
        filter_case{"empty lines keep their places", "\n\na\n\n", "", "\n\na\n\n"},
        filter_case{"last line without LF gains one", "a\nb", "", "a\nb\n"},
        filter_case{"no empty line after a final LF", "a\n", "", "a\n"},
        filter_case{"last line without LF is filtered too", "a\n1.2.3.4 " + chat, "", "a\n"},
        filter_case{"last line without LF loses its alias", "a\n1.2.3.4 b " + chat, "",
                    "a\n1.2.3.4 b\n"},
        filter_case{"CR LF: kept lines keep their CR, a shortened line too",
                    "127.0.0.1 localhost\r\n1.2.3.4 " + chat + "\r\n1.2.3.4 nas " + chat + "\r\n",
                    "", "127.0.0.1 localhost\r\n1.2.3.4 nas\r\n"},
        filter_case{"lone CR kept", "a\rb\n\r\n", "", "a\rb\n\r\n"},
        filter_case{"Ctrl-Z is an ordinary byte", "\x1a\n1.2.3.4 x\x1ay\nz", "",
                    "\x1a\n1.2.3.4 x\x1ay\nz\n"},
        filter_case{"NUL is an ordinary byte",
                    std::string("1.2.3.4 ") + chat + std::string(1, '\0') + "\n", "",
                    std::string("1.2.3.4 ") + chat + std::string(1, '\0') + "\n"}),
    [](const testing::TestParamInfo<filter_case>& info) {
        std::string name;
        for (const char byte : std::string(info.param.behaviour)) {
            name.push_back(std::isalnum(static_cast<unsigned char>(byte)) ? byte : '_');
        }
        return name;
    });

TEST(hosts_text_filter, applying_again_replaces_the_earlier_pair) {
    const std::string first = rewritten_hosts_text("127.0.0.1 localhost\n", "192.0.2.10");
    EXPECT_EQ(rewritten_hosts_text(first, "192.0.2.77"),
              "127.0.0.1 localhost\n192.0.2.77 " + chat + "\n192.0.2.77 " + server_list + "\n");
}

// The same line rule told another way: the names as the matches of a pattern, each with the
// white space before it, compared after folding to lower case.
std::optional<std::string> without_service_names_by_pattern(const std::string& line) {
    static const std::regex field{"([ \t\n\v\f\r]*)([^ \t\n\v\f\r]+)"};
    const std::string fields = line.substr(0, line.find('#'));
    std::string kept;
    std::size_t end = 0;
    bool first = true;
    bool removed = false;
    bool name_left = false;
    for (auto match = std::sregex_iterator(fields.begin(), fields.end(), field);
         match != std::sregex_iterator(); ++match) {
        const std::string name = lower_case((*match)[2].str());
        if (!first && (name == chat || name == server_list)) {
            removed = true;
        } else {
            kept += match->str();
            name_left = name_left || !first;
        }
        first = false;
        end = static_cast<std::size_t>(match->position() + match->length());
    }
    if (!removed) {
        return line;
    }
    return name_left ? std::optional<std::string>(kept + line.substr(end)) : std::nullopt;
}

std::string rewritten_line_by_line(std::string old_text) {
    std::string text;
    while (!old_text.empty()) {
        const std::size_t end = old_text.find('\n');
        const std::string line = old_text.substr(0, end);
        old_text.erase(0, end == std::string::npos ? old_text.size() : end + 1);
        if (const std::optional<std::string> kept = without_service_names_by_pattern(line)) {
            text += *kept + "\n";
        }
    }
    return text;
}

// The whole filter against the plain line-by-line steps, on texts built from the bytes and names
// that decide where lines and fields begin and end.
TEST(hosts_text_filter, matches_the_line_by_line_steps) {
    const std::vector<std::string> pieces = {" ",
                                             "\n",
                                             "\n",
                                             "\t",
                                             "\r",
                                             "\v",
                                             "#",
                                             "a",
                                             "1.2",
                                             chat,
                                             chat,
                                             server_list,
                                             upper_case(server_list),
                                             "x" + chat,
                                             chat + "x"};
    std::mt19937 random{7};
    for (int round = 0; round < 5000; ++round) {
        std::string old_text;
        const int count = static_cast<int>(random() % 24);
        for (int piece = 0; piece < count; ++piece) {
            old_text += pieces[random() % pieces.size()];
        }
        ASSERT_EQ(rewritten_hosts_text(old_text, ""), rewritten_line_by_line(old_text))
            << "text: '" << old_text << "'";
    }
}

}  // namespace
