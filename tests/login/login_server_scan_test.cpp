#include "login/login_server_scan.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

struct scan_case {
    const char* what;
    std::string answer;
    std::string host;
    std::int32_t port;
};

class login_server_scan : public testing::TestWithParam<scan_case> {};

TEST_P(login_server_scan, finds_host_and_port) {
    const scan_case& c = GetParam();
    const login_server found = find_login_server(c.answer);
    EXPECT_EQ(found.host, c.host) << c.what;
    EXPECT_EQ(found.port, c.port) << c.what;
}

const std::string server_line = "server: servserv.example:4005 (192.0.2.10)\r\n";

INSTANTIATE_TEST_SUITE_P(
    answers, login_server_scan,
    testing::Values(
        scan_case{"crlf lines", server_line + ":s 605 u :login.example 7000\r\n:s 999 x\r\n",
                  "login.example", 7000},
        scan_case{"more text after the port", server_line + ":s 605 u :h.example 4005 and more\n",
                  "h.example", 4005},
        scan_case{"first 605 wins",
                  server_line + ":s 605 u :first.example 1\n:s 605 u :second.example 2\n",
                  "first.example", 1},
        scan_case{"last line without lf", server_line + ":s 001 u :hi\n:s 605 u :h.example 9",
                  "h.example", 9},
        scan_case{"reply without prefix", "605 u :h.example 9\n", "h.example", 9},
        scan_case{"line padded with white space", "  :s 605 u :h.example 9 \t\n", "h.example", 9},
        scan_case{"605 later on a line is no code", ":s 606 605 :h.example 9\n", "", 0},
        scan_case{"server line has code 0", "server: 605 :h.example 9\r\n", "", 0},
        scan_case{"no 605 reply", server_line + ":s 001 u :welcome\n", "", 0},
        scan_case{"605 with two parameters", server_line + ":s 605 u\n", "", 0},
        scan_case{"host without port", server_line + ":s 605 u :h.example\n", "h.example", 0},
        scan_case{"port not a number", ":s 605 u :h.example port\n", "h.example", 0},
        scan_case{"empty answer", "", "", 0}, scan_case{"only line ends", "\n\r\n\n", "", 0},
        scan_case{"nul inside the answer is an ordinary byte",
                  ":s 001 \0 x\n:s 605 u :h.example 9\n"s, "h.example", 9}));

}  // namespace
