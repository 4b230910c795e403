// The system's resolver as the judge of a rewrite: after an apply it answers both service names
// with the new address, after a reset it answers neither from the hosts file, and every other
// name of the file resolves as before. Each lookup runs in a child process that binds the
// rewritten file onto /etc/hosts in a mount namespace of its own.
#include "hosts/hosts_file.h"

#include "fixtures/child_process.h"
#include "fixtures/isolation.h"
#include "fixtures/scratch_directory.h"
#include "fixtures/test_files.h"
#include "support/fixed_texts.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using answers = std::map<std::string, std::string>;

const std::string chat{chat_host};
const std::string server_list{server_list_host};

std::string first_ipv4_address(const std::string& name) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (::getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0) {
        return "";
    }
    char text[INET_ADDRSTRLEN] = "";
    ::inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr, text,
                sizeof text);
    ::freeaddrinfo(found);
    return text;
}

// What the resolver answers for each name while `hosts` is /etc/hosts ("" for no address).
answers resolved_with(const std::string& hosts, const std::vector<std::string>& names) {
    const child_output told = output_of_child([&](std::string& report) {
        if (!bind_privately(hosts, "/etc/hosts")) {
            return 1;
        }
        for (const std::string& name : names) {
            report += name + " " + first_ipv4_address(name) + "\n";
        }
        return 0;
    });
    EXPECT_EQ(told.exit_code, 0) << "the lookups' child failed";
    answers result;
    std::istringstream lines{told.text};
    for (std::string line; std::getline(lines, line);) {
        const std::size_t blank = line.find(' ');
        result[line.substr(0, blank)] = line.substr(blank + 1);
    }
    return result;
}

bool is_service_name(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char byte) { return static_cast<char>(std::tolower(byte)); });
    return name == chat || name == server_list;
}

// Every name of the file that is no service name.
std::vector<std::string> other_names(const std::string& text) {
    std::vector<std::string> names;
    std::istringstream lines{text};
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields{line.substr(0, line.find('#'))};
        std::string field;
        fields >> field;  // the address
        while (fields >> field) {
            if (!is_service_name(field)) {
                names.push_back(field);
            }
        }
    }
    return names;
}

struct hosts_case {
    const char* what;
    std::string text;
};

void PrintTo(const hosts_case& example, std::ostream* out) {
    *out << example.what;
}

class resolver_after_rewrite : public testing::TestWithParam<hosts_case> {
  protected:
    void SetUp() override {
        if (::geteuid() != 0 || !hosts_file_is_private()) {
            GTEST_SKIP() << "needs root and the loopback-only namespace of tests/fixtures/isolated";
        }
    }

    // The file after a rewrite of the case's text with `address`.
    std::string rewritten(const std::string& address) {
        put_file_bytes(hosts_, GetParam().text);
        EXPECT_EQ(update_hosts_file(hosts_, address), 0);
        return hosts_;
    }

    Cscratch_directory scratch_{"ketrin-resolver"};
    const std::string hosts_ = scratch_ / "hosts";
};

// Apply: both names lead to the address. Reset (no address): neither resolves.
TEST_P(resolver_after_rewrite, both_names_lead_to_the_address_given_and_the_rest_as_before) {
    const std::vector<std::string> others = other_names(GetParam().text);
    put_file_bytes(hosts_, GetParam().text);
    const answers before = resolved_with(hosts_, others);
    std::vector<std::string> asked = others;
    asked.insert(asked.end(), {chat, server_list});

    for (const std::string address : {"192.0.2.10", ""}) {
        SCOPED_TRACE("address '" + address + "'");
        answers expected = before;
        expected[chat] = expected[server_list] = address;
        EXPECT_EQ(resolved_with(rewritten(address), asked), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    hosts_lines, resolver_after_rewrite,
    testing::Values(
        hosts_case{"tab", "127.0.0.1 localhost\n6.6.6.6\t" + server_list + "\n"},
        hosts_case{"several_blanks", "6.6.6.6   " + chat + "\n6.6.6.7  " + server_list + "\n"},
        hosts_case{"blank_then_tab", "6.6.6.6 \t" + server_list + "\t\n"},
        hosts_case{"capitals", "6.6.6.6 SERVSERV.westwood.com\n6.6.6.6 Irc.WestWood.com\n"},
        hosts_case{"alias", "10.0.0.1 gateway " + chat + " " + server_list + "\n"},
        hosts_case{"other_name_after", "10.0.0.1 " + server_list + " nas.lan\n"},
        hosts_case{"comment_right_after_the_name", "10.0.0.1 router " + chat + "#old\n"},
        hosts_case{"crlf", "127.0.0.1 localhost\r\n6.6.6.6 nas " + server_list + "\r\n"},
        hosts_case{"no_final_line_end", "6.6.6.6 printer\n6.6.6.6\t" + chat},
        hosts_case{"only_a_name", server_list + "\n6.6.6.6 " + chat + "\n"}),
    [](const testing::TestParamInfo<hosts_case>& info) { return std::string(info.param.what); });

}  // namespace
