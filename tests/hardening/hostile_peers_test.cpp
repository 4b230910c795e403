// The login test's OK path against servers that answer badly, through the real exchange on
// loopback: nothing crashes, and the transcript shows what the exchange reports.
#include "app/platform_services.h"
#include "fixtures/loopback_server.h"
#include "hardening/platform_reports.h"
#include "login/fake_login_services.h"
#include "login/fake_login_view.h"
#include "login/login_dialog_model.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

using namespace std::string_literals;

namespace {

const std::string list_request = "whereto 0 0 4608\nquit\n";
// "Reset Passwords" is checked for every press: the box tells whether the list exchange failed.
const std::string login_request =
    "cvers 0 4608\nnick player\nuser\nprivmsg c :reset passwords\nquit\n";
const std::string login_answer = ":login 376 player :names follow\r\n";

// The real system, but with the registry of a test.
class Cloopback_services : public Cplatform_services {
  public:
    std::unique_ptr<Cregistry_handle> make_registry_handle() override {
        return registry.make_handle();
    }
    fake_registry registry;
};

std::string server_line(const std::string& host, std::int64_t port, const std::string& address) {
    return "server: " + host + ":" + std::to_string(port) + " (" + address + ")\r\n";
}

Cloopback_server::script answers(std::string answer) {
    return [answer](Cloopback_connection& connection) {
        connection.read_until("quit\n");
        connection.send(answer);
    };
}

class hostile_peer : public testing::Test {
  protected:
    void SetUp() override {
        services.registry.add_key(registry_root::local_machine, "Software\\Westwood\\Tiberian Sun");
        services.registry.add_account(1, "player", "pa55word");
    }

    // Presses OK with the server list at `list_port` and "Reset Passwords" checked; returns
    // the transcript the dialog shows.
    std::string press_ok(std::uint16_t list_port) {
        Clogin_dialog_model model{view, services, "127.0.0.1", list_port};
        model.open();
        view.nicks.select_text("player");
        view.reset_checked = true;
        model.on_ok();
        EXPECT_EQ(view.cursor_depth, 0);
        return view.transcript_text;
    }

    fake_login_view view;
    Cloopback_services services;
};

struct list_answer_case {
    std::string label;
    // The server list's answer, given the login server's port.
    std::string (*answer)(std::uint16_t login_port);
    // The transcript after "nick: player\r\n", given the login server's port.
    std::string (*transcript)(std::uint16_t login_port);
    bool reaches_login_server;
};

void PrintTo(const list_answer_case& c, std::ostream* os) {
    *os << c.label;
}

// Pads a line to exactly 4,096 bytes, the most one answer can hold, with no line end.
std::string filling_the_answer(std::string line) {
    line.resize(4096, 'x');
    return line;
}

const list_answer_case list_answer_cases[] = {
    {"reply_605_without_parameters", [](std::uint16_t) { return ":s 605\r\n"s; },
     [](std::uint16_t) { return std::string(empty_login_server_report); }, false},
    {"reply_605_with_only_a_host",
     [](std::uint16_t) { return ":s 605 u :127.0.0.1\r\n:s 605 u :127.0.0.1 1\r\n"s; },
     [](std::uint16_t) {
         return server_line("127.0.0.1", 0, "127.0.0.1") +
                "unable to connect: " + connection_to_port_0_failure;
     },
     false},
    {"port_above_65535",
     [](std::uint16_t port) {
         return ":s 605 u :127.0.0.1 " + std::to_string(port + 65536) + "\n";
     },
     [](std::uint16_t port) {
         return server_line("127.0.0.1", port + 65536, "127.0.0.1") + login_answer;
     },
     true},
    {"port_below_0",
     [](std::uint16_t port) {
         return ":s 605 u :127.0.0.1 " + std::to_string(port - 65536) + "\n";
     },
     [](std::uint16_t port) {
         return server_line("127.0.0.1", port - 65536, "127.0.0.1") + login_answer;
     },
     true},
    {"port_beyond_32_bits_clamps_and_is_refused",
     [](std::uint16_t) { return ":s 605 u :127.0.0.1 99999999999\n"s; },
     [](std::uint16_t) {
         return server_line("127.0.0.1", 2147483647, "127.0.0.1") +
                "unable to connect: ECONNREFUSED";
     },
     false},
    {"host_of_odd_bytes",
     [](std::uint16_t port) {
         return ":s 605 u :\x01\x7f\xff%s%n\"\\ " + std::to_string(port) + "\n";
     },
     [](std::uint16_t port) {
         return server_line("\x01\x7f\xff%s%n\"\\", port, "255.255.255.255") +
                "unable to connect: " + unresolved_host_failure;
     },
     false},
    // The host text ends at its NUL for the resolver as for the transcript.
    {"host_with_a_nul_byte",
     [](std::uint16_t port) {
         return ":s 605 u :127.0.0.1\0.example "s + std::to_string(port) + "\n";
     },
     [](std::uint16_t) { return "server: 127.0.0.1"s; }, true},
    {"one_line_of_4096_bytes_without_lf",
     [](std::uint16_t port) {
         return filling_the_answer(":s 605 u :127.0.0.1 " + std::to_string(port) + " ");
     },
     [](std::uint16_t port) { return server_line("127.0.0.1", port, "127.0.0.1") + login_answer; },
     true},
    {"reply_605_only_after_the_first_4096_bytes",
     [](std::uint16_t port) {
         return filling_the_answer(":s 001 u :padding") + "\n:s 605 u :127.0.0.1 " +
                std::to_string(port) + "\n";
     },
     [](std::uint16_t) { return std::string(empty_login_server_report); }, false},
};

class hostile_server_list : public hostile_peer,
                            public testing::WithParamInterface<list_answer_case> {};

TEST_P(hostile_server_list, the_transcript_shows_what_the_login_exchange_reports) {
    const list_answer_case& c = GetParam();
    Cloopback_server login(answers(login_answer));
    Cloopback_server list(answers(c.answer(login.port())));

    const std::string transcript = press_ok(list.port());

    EXPECT_EQ(transcript, "nick: player\r\n" + c.transcript(login.port()));
    EXPECT_FALSE(view.reset_checked) << "a completed list exchange unchecks the box";
    EXPECT_EQ(list.finish(), std::vector<std::string>{list_request});
    if (c.reaches_login_server) {
        EXPECT_EQ(login.finish(), std::vector<std::string>{login_request});
    }
}

INSTANTIATE_TEST_SUITE_P(answers, hostile_server_list, testing::ValuesIn(list_answer_cases),
                         [](const testing::TestParamInfo<list_answer_case>& info) {
                             return info.param.label;
                         });

std::string list_naming(std::uint16_t login_port) {
    return ":s 605 u :127.0.0.1 " + std::to_string(login_port) + "\r\n";
}

TEST_F(hostile_peer, binary_garbage_from_the_login_server_shows_up_to_its_first_nul) {
    const std::string garbage = "\x01\xff\r\x1a\x7f :605\n\0after the nul\xfe"s;
    Cloopback_server login(answers(garbage));
    Cloopback_server list(answers(list_naming(login.port())));

    EXPECT_EQ(press_ok(list.port()), "nick: player\r\n" +
                                         server_line("127.0.0.1", login.port(), "127.0.0.1") +
                                         "\x01\xff\r\x1a\x7f :605\n");
    EXPECT_EQ(login.finish(), std::vector<std::string>{login_request});
}

// When the reset comes before the request has gone, the send fails; after, the receive. Wine
// reports a reset that came before its receive as an orderly end.
TEST_F(hostile_peer, a_login_server_that_resets_at_once_is_reported_as_a_reset) {
    Cloopback_server login([](Cloopback_connection& connection) { connection.reset(); });
    Cloopback_server list(answers(list_naming(login.port())));

    std::vector<std::string> transcripts;
    for (const std::string& report : immediate_reset_reports()) {
        transcripts.push_back("nick: player\r\n" +
                              server_line("127.0.0.1", login.port(), "127.0.0.1") + report);
    }
    EXPECT_THAT(press_ok(list.port()), testing::AnyOfArray(transcripts));
    EXPECT_FALSE(view.reset_checked);
    login.finish();
}

// Closing with the request unread resets the connection, or ends it in order when the close
// came first: the list exchange then fails, or completes with no answer and so names no login
// server.
TEST_F(hostile_peer, a_server_list_that_closes_without_reading_fails_or_names_no_login_server) {
    Cloopback_server list([](Cloopback_connection&) {});

    const std::string transcript = press_ok(list.port());

    const std::string head =
        "nick: player\r\n" + server_line("127.0.0.1", list.port(), "127.0.0.1");
    if (view.reset_checked) {
        EXPECT_THAT(transcript, testing::AnyOf(head + "unable to send: ECONNRESET",
                                               head + "unable to receive: ECONNRESET"));
    } else {
        EXPECT_EQ(transcript, "nick: player\r\n"s + empty_login_server_report);
    }
    list.finish();
}

}  // namespace
