#include "support/tcp_exchange.h"

#include "fixtures/loopback_socket.h"

#include <gtest/gtest.h>

#include <string>

namespace {

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
