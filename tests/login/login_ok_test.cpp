#include "login/fake_login_services.h"
#include "login/fake_login_view.h"
#include "login/login_dialog_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using namespace std::string_literals;

const std::string list_host = "servserv.example";
constexpr std::int32_t list_port = 4005;
const std::string list_answer =
    "server: servserv.example:4005 (127.0.0.1)\r\n:s 605 u :login.example 7000 x\r\n";
const std::string login_answer =
    "server: login.example:7000 (127.0.0.2)\r\n:login 376 player :done\r\n";

class login_ok : public testing::Test {
  protected:
    void SetUp() override {
        services.registry.add_key(registry_root::local_machine, "Software\\Westwood\\Tiberian Sun");
        services.registry.add_account(1, "player", "pa55word");
        services.registry.add_account(2, "other", "0th3rpw!");
    }
    void open_and_select(const std::string& nick = "player") {
        model.open();
        view.nicks.select_text(nick);
    }

    fake_login_view view;
    fake_login_services services{&view.cursor_depth};
    Clogin_dialog_model model{view, services, list_host, list_port};
};

TEST_F(login_ok, tests_the_selected_account_on_the_login_server_the_list_names) {
    open_and_select();
    services.then_answer(0, list_answer);
    services.then_answer(0, login_answer);
    model.on_ok();

    ASSERT_EQ(services.calls.size(), 2u);
    EXPECT_EQ(services.calls[0].host, list_host);
    EXPECT_EQ(services.calls[0].port, list_port);
    EXPECT_EQ(services.calls[0].request, "whereto 0 0 4608\nquit\n");
    EXPECT_EQ(services.calls[1].host, "login.example");
    EXPECT_EQ(services.calls[1].port, 7000);
    EXPECT_EQ(services.calls[1].request,
              "cvers 0 4608\nnick player\napgar pa55word 0\nuser\nprivmsg c /names\nquit\n");
    EXPECT_EQ(services.calls[1].request.size(), 69u);
    EXPECT_EQ(view.transcript_text, "nick: player\r\n" + login_answer);
    EXPECT_EQ(model.transcript(), view.transcript_text);
    EXPECT_FALSE(view.reset_checked);
}

TEST_F(login_ok, the_selected_nick_entry_picks_its_own_password) {
    // "other" sorts before "player", so its combo entry's position differs from its index.
    open_and_select("other");
    services.then_answer(0, list_answer);
    services.then_answer(0, login_answer);
    model.on_ok();
    ASSERT_EQ(services.calls.size(), 2u);
    EXPECT_EQ(services.calls[1].request,
              "cvers 0 4608\nnick other\napgar 0th3rpw! 0\nuser\nprivmsg c /names\nquit\n");
    EXPECT_EQ(view.transcript_text.rfind("nick: other\r\n", 0), 0u);
}

TEST_F(login_ok, reset_sends_no_password_and_unchecks_the_box) {
    open_and_select();
    view.reset_checked = true;
    services.then_answer(0, list_answer);
    services.then_answer(0, login_answer);
    model.on_ok();
    ASSERT_EQ(services.calls.size(), 2u);
    EXPECT_EQ(services.calls[1].request,
              "cvers 0 4608\nnick player\nuser\nprivmsg c :reset passwords\nquit\n");
    EXPECT_EQ(services.calls[1].request.size(), 62u);
    EXPECT_FALSE(view.reset_checked);
    EXPECT_EQ(model.reset_passwords(), 0);
}

TEST_F(login_ok, failed_server_list_exchange_shows_its_error_and_keeps_the_reset_asked_for) {
    open_and_select();
    view.reset_checked = true;
    const std::string error =
        "server: servserv.example:4005 (127.0.0.1)\r\nunable to connect: "
        "ECONNREFUSED";
    services.then_answer(1, error);
    model.on_ok();
    ASSERT_EQ(services.calls.size(), 1u);
    EXPECT_EQ(view.transcript_text, "nick: player\r\n" + error);
    EXPECT_TRUE(view.reset_checked);
    EXPECT_EQ(model.reset_passwords(), 1);
    EXPECT_EQ(view.cursor_depth, 0);
}

TEST_F(login_ok, failed_login_exchange_is_shown_and_still_unchecks_the_box) {
    open_and_select();
    view.reset_checked = true;
    services.then_answer(0, list_answer);
    services.then_answer(1,
                         "server: login.example:7000 (127.0.0.2)\r\nunable to receive: "
                         "ECONNRESET");
    model.on_ok();
    EXPECT_EQ(view.transcript_text,
              "nick: player\r\nserver: login.example:7000 (127.0.0.2)\r\nunable to receive: "
              "ECONNRESET");
    EXPECT_FALSE(view.reset_checked);
}

TEST_F(login_ok, without_a_605_reply_the_login_goes_to_an_empty_host_and_port_0) {
    open_and_select();
    services.then_answer(0, "server: servserv.example:4005 (127.0.0.1)\r\n:s 001 u :hi\r\n");
    services.then_answer(1, "server: :0 (255.255.255.255)\r\nunable to connect: ECONNREFUSED");
    model.on_ok();
    ASSERT_EQ(services.calls.size(), 2u);
    EXPECT_EQ(services.calls[1].host, "");
    EXPECT_EQ(services.calls[1].port, 0);
    EXPECT_EQ(view.transcript_text,
              "nick: player\r\nserver: :0 (255.255.255.255)\r\nunable to connect: ECONNREFUSED");
}

TEST_F(login_ok, an_answer_reaches_the_transcript_only_up_to_its_first_nul) {
    open_and_select();
    services.then_answer(0, list_answer);
    services.then_answer(0, "before\0after"s);
    model.on_ok();
    EXPECT_EQ(view.transcript_text, "nick: player\r\nbefore");

    services.then_answer(1, "refused\0hidden"s);
    model.on_ok();
    EXPECT_EQ(view.transcript_text, "nick: player\r\nrefused");
}

TEST_F(login_ok, a_second_ok_replaces_the_first_transcript) {
    open_and_select();
    services.then_answer(0, list_answer);
    services.then_answer(0, "first answer");
    model.on_ok();
    services.then_answer(0, list_answer);
    services.then_answer(0, "second answer");
    model.on_ok();
    EXPECT_EQ(view.transcript_text, "nick: player\r\nsecond answer");
    EXPECT_EQ(services.calls.size(), 4u);
}

TEST_F(login_ok, wait_cursor_covers_both_exchanges_and_ends_with_the_handler) {
    open_and_select();
    services.then_answer(0, list_answer);
    services.then_answer(0, login_answer);
    model.on_ok();
    ASSERT_EQ(services.calls.size(), 2u);
    EXPECT_EQ(services.calls[0].cursor_depth, 1);
    EXPECT_EQ(services.calls[1].cursor_depth, 1);
    EXPECT_EQ(view.cursor_depth, 0);
    EXPECT_EQ(view.cursor_begins, 1);
}

TEST_F(login_ok, fallback_account_sends_empty_nick_and_password) {
    services.registry.keys.clear();
    services.registry.add_key(registry_root::local_machine, "Software\\Westwood\\Renegade");
    model.open();
    services.then_answer(0, list_answer);
    services.then_answer(0, "");
    model.on_ok();
    ASSERT_EQ(services.calls.size(), 2u);
    EXPECT_EQ(services.calls[1].request,
              "cvers 0 3072\nnick \napgar  0\nuser\nprivmsg c /names\nquit\n");
    EXPECT_EQ(view.transcript_text, "nick: \r\n");
}

// Each case leaves the dialog so that OK must not start: nothing is sent, shown or changed.
struct idle_case {
    const char* what;
    void (*arrange)(fake_login_view&, fake_login_services&);
};

class login_ok_does_nothing : public login_ok, public testing::WithParamInterface<idle_case> {};

TEST_P(login_ok_does_nothing, when_it_cannot_start) {
    GetParam().arrange(view, services);
    model.open();
    GetParam().arrange(view, services);
    const int shows = view.shows;
    view.transcript_text = "earlier";
    services.then_answer(0, list_answer);
    model.on_ok();
    EXPECT_TRUE(services.calls.empty());
    EXPECT_EQ(view.cursor_begins, 0);
    EXPECT_EQ(view.shows, shows);
    EXPECT_EQ(view.transcript_text, "earlier");
}

INSTANTIATE_TEST_SUITE_P(
    cases, login_ok_does_nothing,
    testing::Values(
        idle_case{"no game installed",
                  [](fake_login_view&, fake_login_services& s) { s.registry.keys.clear(); }},
        idle_case{"no game selected",
                  [](fake_login_view& v, fake_login_services&) { v.games.set_selection(-1); }},
        idle_case{"no nick selected",
                  [](fake_login_view& v, fake_login_services&) { v.nicks.set_selection(-1); }},
        idle_case{"controls cannot be read",
                  [](fake_login_view& v, fake_login_services&) { v.controls_readable = false; }},
        idle_case{"item data names no game",
                  [](fake_login_view& v, fake_login_services&) {
                      if (!v.games.entries.empty()) {
                          v.games.set_item_data(0, 7);
                      }
                  }}),
    [](const testing::TestParamInfo<idle_case>& info) {
        std::string name = info.param.what;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

// The service number, never the bare code, heads both requests for every game.
struct service_case {
    const char* key;
    std::string number;
};

class login_ok_service_number : public testing::TestWithParam<service_case> {};

TEST_P(login_ok_service_number, heads_both_requests) {
    fake_login_view view;
    fake_login_services services;
    services.registry.add_key(registry_root::local_machine,
                              std::string("Software\\Westwood\\") + GetParam().key);
    Clogin_dialog_model model{view, services, list_host, list_port};
    model.open();
    services.then_answer(0, list_answer);
    services.then_answer(0, "");
    model.on_ok();
    ASSERT_EQ(services.calls.size(), 2u);
    EXPECT_EQ(services.calls[0].request, "whereto 0 0 " + GetParam().number + "\nquit\n");
    EXPECT_EQ(services.calls[1].request.rfind("cvers 0 " + GetParam().number + "\nnick", 0), 0u)
        << services.calls[1].request;
}

INSTANTIATE_TEST_SUITE_P(
    games, login_ok_service_number,
    testing::Values(service_case{"Renegade", "3072"}, service_case{"Tiberian Sun", "4608"},
                    service_case{"Emperor", "7936"}, service_case{"Red Alert 2", "8448"},
                    service_case{"Nox", "9472"}, service_case{"Yuri's Revenge", "10496"}));

}  // namespace
