// How the Windows helper reads its command line, and what the program writes there.
#include "hosts_helper/helper_command.h"
#include "hosts_helper/refused_helper_arguments.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

std::optional<std::string> address_in(const std::string& command_line) {
    return address_from_helper_arguments(helper_arguments_in_command_line(command_line));
}

TEST(helper_command_line, is_what_the_program_writes_and_the_helper_reads_back) {
    EXPECT_EQ(helper_command_line(""), "reset");
    EXPECT_EQ(helper_command_line("10.20.30.40"), "apply 10.20.30.40");
    for (const std::string address : {"", "0.0.0.0", "255.255.255.255", "192.0.2.10"}) {
        for (const std::string program : {"\"C:\\Program Files\\k\\h.exe\" ", "h.exe ", "h \t "}) {
            EXPECT_EQ(address_in(program + helper_command_line(address)), address) << program;
        }
    }
}

TEST(helper_command_line, splits_after_the_program_name_at_each_blank_and_undoes_no_quoting) {
    struct split_case {
        std::string command_line;
        std::vector<std::string_view> arguments;
    };
    const split_case cases[] = {
        {"", {}},
        {"h.exe", {}},
        {"\"C:\\a b\\h.exe\"", {}},
        {"\"C:\\a b\\h.exe", {}},
        {"h.exe   ", {}},
        {"\"C:\\a b\\h.exe\" reset", {"reset"}},
        {"\"C:\\a b\\h.exe\"reset", {"reset"}},
        {"h.exe\tapply 1.2.3.4", {"apply", "1.2.3.4"}},
        {"h.exe apply  1.2.3.4 ", {"apply", "", "1.2.3.4", ""}},
        {"h.exe \"apply\" \"1.2.3.4\"", {"\"apply\"", "\"1.2.3.4\""}},
        {"h.exe apply\t1.2.3.4", {"apply\t1.2.3.4"}},
    };
    for (const split_case& test : cases) {
        EXPECT_EQ(helper_arguments_in_command_line(test.command_line), test.arguments)
            << test.command_line;
    }
}

TEST(helper_command_line, refuses_every_form_the_program_does_not_write) {
    for (const std::string& tail : refused_command_line_tails()) {
        EXPECT_EQ(address_in("h.exe " + tail), std::nullopt) << tail;
    }
}

}  // namespace
