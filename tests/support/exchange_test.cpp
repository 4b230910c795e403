#include "support/tcp_exchange.h"

#include "fixtures/loopback_server.h"

#include <gtest/gtest.h>

#include <chrono>

#include <string>
#include <thread>
#include <vector>

using namespace std::string_literals;

namespace {

std::string server_line(const std::string& host, std::int64_t port, const std::string& address) {
    return "server: " + host + ":" + std::to_string(port) + " (" + address + ")\r\n";
}

// Distinct bytes at every position, so a piece lost, doubled or moved shows.
std::string patterned(std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        text += static_cast<char>('!' + (i * 7 + i / 94) % 94);
    }
    return text;
}

struct answer_case {
    std::string label;
    std::string request;
    std::string answer;
    std::size_t piece;
    std::string expected;
};

void PrintTo(const answer_case& c, std::ostream* os) {
    *os << c.label;
}

class exchange_with_a_server_that_answers : public testing::TestWithParam<answer_case> {};

TEST_P(exchange_with_a_server_that_answers, gives_the_server_line_and_the_answer_as_sent) {
    const answer_case& c = GetParam();
    Cloopback_server server([&c](Cloopback_connection& connection) {
        connection.read_exactly(c.request.size());
        connection.send(c.answer, c.piece);
    });
    std::string output = "earlier transcript\r\n";

    EXPECT_EQ(exchange_with_server("127.0.0.1", server.port(), c.request, output), 0);

    EXPECT_EQ(output, server_line("127.0.0.1", server.port(), "127.0.0.1") + c.expected);
    EXPECT_EQ(server.finish(), std::vector<std::string>{c.request});
}

const std::string request = "CVERS 11015 9472\nPASS supersecret\nNICK tester\nquit\n";
const std::string long_answer = patterned(5000);

INSTANTIATE_TEST_SUITE_P(
    examples, exchange_with_a_server_that_answers,
    testing::Values(
        answer_case{"nothing", request, "", 4096, ""},
        answer_case{"short", request, ": 605 u :host 4005\n", 4096, ": 605 u :host 4005\n"},
        answer_case{"nul_and_bare_cr_bytes", "a\0b\rc\n"s, "x\0y\rz\r\n\0"s, 4096,
                    "x\0y\rz\r\n\0"s},
        answer_case{"exactly_the_buffer", request, patterned(4096), 4096, patterned(4096)},
        answer_case{"longer_than_the_buffer", request, long_answer, 5000,
                    long_answer.substr(0, 4096)},
        answer_case{"in_small_pieces", request, patterned(3000), 7, patterned(3000)},
        answer_case{"in_pieces_past_the_buffer", request, long_answer, 100,
                    long_answer.substr(0, 4096)},
        answer_case{"to_an_empty_request", "", "hello\n", 4096, "hello\n"},
        answer_case{"to_a_long_request", patterned(300000), "ok\n", 4096, "ok\n"}),
    [](const testing::TestParamInfo<answer_case>& info) { return info.param.label; });

TEST(exchange_with_server, a_server_that_closes_without_answering_leaves_the_server_line_alone) {
    Cloopback_server server(
        [](Cloopback_connection& connection) { connection.read_until("quit\n"); });
    std::string output = "earlier";

    EXPECT_EQ(exchange_with_server("127.0.0.1", server.port(), request, output), 0);

    EXPECT_EQ(output, server_line("127.0.0.1", server.port(), "127.0.0.1"));
    EXPECT_EQ(server.finish(), std::vector<std::string>{request});
}

TEST(exchange_with_server, a_refused_connection_is_a_connect_failure) {
    const std::uint16_t port = unused_loopback_port();
    std::string output = "earlier";

    EXPECT_EQ(exchange_with_server("127.0.0.1", port, request, output), 1);

    EXPECT_EQ(output,
              server_line("127.0.0.1", port, "127.0.0.1") + "unable to connect: ECONNREFUSED");
}

TEST(exchange_with_server, a_reset_after_part_of_the_answer_keeps_none_of_it) {
    Cloopback_server server([](Cloopback_connection& connection) {
        connection.read_exactly(request.size());
        connection.send("part of the answer\n");
        // Lets the client wait in its receive when the reset comes: Wine reports a reset that
        // came before the receive as an orderly end.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        connection.reset();
    });
    std::string output = "earlier";

    EXPECT_EQ(exchange_with_server("127.0.0.1", server.port(), request, output), 1);

    EXPECT_EQ(output, server_line("127.0.0.1", server.port(), "127.0.0.1") +
                          "unable to receive: ECONNRESET");
    server.finish();
}

// Stays silent until the client gives up and closes, for longer than the client's time limit.
void stay_silent_until_closed(Cloopback_connection& connection) {
    const auto give_up =
        std::chrono::steady_clock::now() + std::chrono::seconds(receive_time_limit_seconds + 15);
    while (!connection.read_to_end() && std::chrono::steady_clock::now() < give_up) {
    }
}

struct silent_peer_case {
    std::string label;
    std::string sent_before_silence;
};

// Both silent peers are served at once, so the suite waits out the time limit only once.
TEST(exchange_with_server, a_peer_that_stays_silent_ends_in_a_receive_time_out_keeping_nothing) {
    const std::vector<silent_peer_case> cases{{"silent_after_accepting", ""},
                                              {"silent_after_part_of_the_answer", ": 605 u :ho"}};
    struct outcome {
        int result = -1;
        std::string output;
        std::uint16_t port = 0;
        double seconds = 0;
    };
    std::vector<outcome> outcomes(cases.size());
    std::vector<std::thread> exchanges;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        exchanges.emplace_back([&sent = cases[i].sent_before_silence, &made = outcomes[i]] {
            Cloopback_server server([&sent](Cloopback_connection& connection) {
                connection.read_exactly(request.size());
                connection.send(sent);
                stay_silent_until_closed(connection);
            });
            made.port = server.port();
            made.output = "earlier";
            const auto start = std::chrono::steady_clock::now();
            made.result = exchange_with_server("127.0.0.1", server.port(), request, made.output);
            made.seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            server.finish();
        });
    }
    for (std::thread& exchange : exchanges) {
        exchange.join();
    }
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].label);
        EXPECT_EQ(outcomes[i].result, 1);
        EXPECT_EQ(outcomes[i].output, server_line("127.0.0.1", outcomes[i].port, "127.0.0.1") +
                                          "unable to receive: ETIMEDOUT");
        // The limit, not less; a loaded machine's timers may fire seconds late, but not a hang.
        EXPECT_GE(outcomes[i].seconds, receive_time_limit_seconds - 0.5);
        EXPECT_LT(outcomes[i].seconds, receive_time_limit_seconds + 10);
    }
}

TEST(exchange_with_server, reaches_a_host_by_its_name) {
    Cloopback_server server([](Cloopback_connection& connection) {
        connection.read_exactly(request.size());
        connection.send("welcome\n");
    });
    std::string output;

    EXPECT_EQ(exchange_with_server("exchange.test", server.port(), request, output), 0);

    EXPECT_EQ(output, server_line("exchange.test", server.port(), "127.0.0.1") + "welcome\n");
    server.finish();
}

TEST(exchange_with_server, a_host_that_does_not_resolve_ends_in_a_connect_failure) {
    std::string output = "earlier";

    EXPECT_EQ(exchange_with_server("no-such-host.invalid", 4005, request, output), 1);

    const std::string expected_start =
        server_line("no-such-host.invalid", 4005, "255.255.255.255") + "unable to connect: ";
    EXPECT_EQ(output.substr(0, expected_start.size()), expected_start);
    EXPECT_GT(output.size(), expected_start.size());
}

class exchange_with_a_port_out_of_range : public testing::TestWithParam<std::int64_t> {};

TEST_P(exchange_with_a_port_out_of_range, prints_it_whole_and_connects_to_its_low_16_bits) {
    Cloopback_server server([](Cloopback_connection& connection) {
        connection.read_exactly(request.size());
        connection.send("reached\n");
    });
    const auto port = static_cast<std::int32_t>(server.port() + GetParam());
    std::string output;

    EXPECT_EQ(exchange_with_server("127.0.0.1", port, request, output), 0);

    EXPECT_EQ(output, server_line("127.0.0.1", port, "127.0.0.1") + "reached\n");
    EXPECT_EQ(server.finish(), std::vector<std::string>{request});
}

INSTANTIATE_TEST_SUITE_P(examples, exchange_with_a_port_out_of_range,
                         testing::Values(0x10000, 0x7FFF0000, -0x10000, -0x80000000LL));

}  // namespace
