#include "support/tcp_exchange.h"

#include "fixtures/loopback_socket.h"
#include "support/winsock_startup_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<WORD> versions_asked;
int start_result = 0;

int WSAAPI record_start(WORD version, LPWSADATA) {
    versions_asked.push_back(version);
    return start_result;
}

TEST(winsock_startup, asks_for_version_2_0_once_even_when_the_start_fails) {
    for (const int result : {0, WSASYSNOTREADY}) {
        versions_asked.clear();
        start_result = result;
        bool started = false;
        EXPECT_EQ(winsock_startup_with(started, record_start), result == 0 ? 0 : 1);
        EXPECT_EQ(winsock_startup_with(started, record_start), 0);
        EXPECT_EQ(versions_asked, std::vector<WORD>{MAKEWORD(2, 0)});
        EXPECT_TRUE(started);
    }
}

TEST(tcp_socket, an_empty_handle_fails_with_the_error_of_no_socket) {
    Ctcp_socket empty;
    EXPECT_EQ(empty.connect(loopback_address(), network_order(4005)), -1);
    EXPECT_EQ(socket_error_name(last_socket_error()), "ENOTSOCK");
}

// Windows looks the empty name up as this machine's own name, which the build put into the test's
// hosts file as 127.0.0.1; reconfigure if the machine's name has changed since.
TEST(exchange_with_server, the_empty_host_on_port_0_goes_to_this_machine_and_fails_to_connect) {
    std::string output = "earlier";

    EXPECT_EQ(exchange_with_server("", 0, "quit\n", output), 1);

    const std::string expected_start = "server: :0 (127.0.0.1)\r\nunable to connect: ";
    EXPECT_EQ(output.substr(0, expected_start.size()), expected_start);
    EXPECT_GT(output.size(), expected_start.size());
}

}  // namespace
