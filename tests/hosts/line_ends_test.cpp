#include "hosts/line_ends.h"

#include <gtest/gtest.h>

namespace {

struct line_end_case {
    std::string crlf_text;
    std::string lf_text;
};

TEST(line_ends, cr_lf_pairs_read_as_lf_and_lone_cr_stays) {
    const line_end_case cases[] = {
        {"", ""},
        {"a\r\nb", "a\nb"},
        {"a\rb\r", "a\rb\r"},
        {"a\r\r\n", "a\r\n"},
        {"\n\r\n", "\n\n"},
        {"\x1a\r\nafter", "\x1a\nafter"},
    };
    for (const line_end_case& example : cases) {
        EXPECT_EQ(lf_line_ends(example.crlf_text), example.lf_text) << example.crlf_text;
    }
}

TEST(line_ends, every_lf_writes_as_cr_lf) {
    const line_end_case cases[] = {
        {"", ""},         {"a\r\nb\r\n", "a\nb\n"}, {"\r\n\r\n", "\n\n"},
        {"a\rb", "a\rb"}, {"\x1a\r\n", "\x1a\n"},
    };
    for (const line_end_case& example : cases) {
        EXPECT_EQ(crlf_line_ends(example.lf_text), example.crlf_text) << example.lf_text;
    }
}

}  // namespace
