// A thousand exchanges in a row leave no socket behind, counted in the kernel's own table.
#include "fixtures/loopback_server.h"
#include "fixtures/loopback_socket.h"
#include "hardening/proc_net_tcp.h"
#include "support/tcp_exchange.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using std::chrono::steady_clock;

constexpr char time_wait[] = "06";

unsigned long port_of(const std::string& address) {
    const std::size_t colon = address.find(':');
    return colon == std::string::npos ? 0 : std::stoul(address.substr(colon + 1), nullptr, 16);
}

// Sockets at either end of `port` in any state but TIME_WAIT, the listener included; -1 when
// the table cannot be read.
int sockets_on_port(std::uint16_t port) {
    std::ifstream table(proc_net_tcp_path);
    std::string line;
    if (!std::getline(table, line)) {
        return -1;
    }
    int count = 0;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state;
        fields >> slot >> local >> remote >> state;
        if (state != time_wait && (port_of(local) == port || port_of(remote) == port)) {
            ++count;
        }
    }
    return count;
}

// Closing ends settle within moments; a socket that was never closed stays.
int settled_sockets_on_port(std::uint16_t port, int expected) {
    const auto give_up = steady_clock::now() + std::chrono::seconds(5);
    int count = sockets_on_port(port);
    while (count > expected && steady_clock::now() < give_up) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        count = sockets_on_port(port);
    }
    return count;
}

Cloopback_server::script answers_ok() {
    return [](Cloopback_connection& connection) {
        connection.read_until("quit\n");
        connection.send("ok\n");
    };
}

TEST(socket_count, sees_the_listener_and_both_ends_of_an_open_connection) {
    Cloopback_server server(answers_ok());
    const int listening = sockets_on_port(server.port());
    ASSERT_EQ(listening, 1) << "the table at " << proc_net_tcp_path << " must be readable";

    {
        Ctcp_socket client;
        client.open();
        ASSERT_EQ(client.connect(loopback_address(), network_order(server.port())), 0);
        EXPECT_EQ(sockets_on_port(server.port()), listening + 2);
        const std::string quit = "quit\n";
        client.send(quit.data(), quit.data() + quit.size());
        server.finish();
    }
    EXPECT_EQ(settled_sockets_on_port(server.port(), listening), listening);
}

TEST(exchange_under_load, a_thousand_exchanges_leave_no_socket_behind) {
    constexpr std::size_t exchanges = 1000;
    const auto deadline = steady_clock::now() + std::chrono::seconds(120);
    Cloopback_server server(std::vector<Cloopback_server::script>(exchanges, answers_ok()));
    const int listening = sockets_on_port(server.port());
    ASSERT_EQ(listening, 1);

    const std::string expected =
        "server: 127.0.0.1:" + std::to_string(server.port()) + " (127.0.0.1)\r\nok\n";
    for (std::size_t i = 0; i < exchanges; ++i) {
        std::string output;
        ASSERT_EQ(exchange_with_server("127.0.0.1", server.port(), "quit\n", output), 0) << i;
        ASSERT_EQ(output, expected) << i;
        ASSERT_LT(steady_clock::now(), deadline) << "only " << i << " exchanges in time";
    }

    EXPECT_EQ(server.finish().size(), exchanges);
    EXPECT_EQ(settled_sockets_on_port(server.port(), listening), listening);
}

}  // namespace
