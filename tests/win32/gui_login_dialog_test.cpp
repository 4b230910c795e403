// The login dialog under Wine: its lists from the registry as the 32-bit games leave it, and its
// OK button against loopback servers reached through the program's fixed host and port.
#include "app/main_dialog_template.h"
#include "app/platform_services.h"
#include "dialog_driver.h"
#include "fixtures/loopback_server.h"
#include "gui_environment.h"
#include "gui_registry.h"
#include "login/login_dialog_template.h"
#include "support/fixed_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const char* const game_keys[] = {
    "Software\\Westwood\\Renegade", "Software\\Westwood\\Tiberian Sun",
    "Software\\Westwood\\Emperor",  "Software\\Westwood\\Red Alert 2",
    "Software\\Westwood\\Nox",      "Software\\Westwood\\Yuri's Revenge",
};

class login_dialog : public testing::Test {
  protected:
    void SetUp() override { clear_game_registry(); }

    HWND open() {
        driver_ = run_login_dialog(services_);
        return driver_->wait_for_window("Login");
    }

    Cplatform_services services_;
    std::unique_ptr<Cdialog_driver> driver_;
};

TEST_F(login_dialog, every_label_fits_inside_its_control) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    struct label {
        int id;
        LONG beside;  // what the control draws before its text
    };
    for (const label& l : {label{IDOK, 0}, label{login_controls::reset_passwords,
                                                 GetSystemMetrics(SM_CXMENUCHECK)}}) {
        const HWND control = GetDlgItem(dialog, l.id);
        RECT client;
        GetClientRect(control, &client);
        EXPECT_LE(l.beside + label_width(control), client.right) << window_text(control);
    }
}

TEST_F(login_dialog, offers_the_installed_games_in_a_fixed_order) {
    struct games_case {
        const char* what;
        std::vector<const char*> keys;
        std::vector<combo_entry> offered;
    };
    const games_case cases[] = {
        {"all six",
         {std::begin(game_keys), std::end(game_keys)},
         {{"Renegade", 0},
          {"Tiberian Sun", 1},
          {"Emperor Battle for Dune", 2},
          {"Red Alert 2", 3},
          {"Nox", 4},
          {"Red Alert 2 Yuri's Revenge", 5}}},
        {"two, written in the other order",
         {game_keys[4], game_keys[3]},
         {{"Red Alert 2", 0}, {"Nox", 1}}},
        {"none", {}, {}},
    };
    for (const games_case& test : cases) {
        SCOPED_TRACE(test.what);
        clear_game_registry();
        for (const char* key : test.keys) {
            create_32bit_key(HKEY_LOCAL_MACHINE, key);
        }
        const HWND dialog = open();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(combo_entries(dialog, login_controls::game), test.offered);
        EXPECT_EQ(combo_selection(dialog, login_controls::game), test.offered.empty() ? CB_ERR : 0);
        driver_.reset();
    }
}

TEST_F(login_dialog, lists_the_qualifying_accounts_sorted_each_with_its_own_item_data) {
    store_account(1, "seven", "1234567");
    store_account(2, "nine", "123456789");
    store_account(3, "zeta", "zpass123");
    store_account(4, "", "epass123");
    store_account(5, "alpha", "apass123");
    store_account(6, "zeta", "zpass456");
    store_account(26, "late", "lpass123");
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);

    std::vector<combo_entry> nicks = combo_entries(dialog, login_controls::nick);
    ASSERT_EQ(nicks.size(), 3u);
    EXPECT_EQ(nicks[0], (combo_entry{"alpha", 1}));
    EXPECT_EQ(combo_selection(dialog, login_controls::nick), 0);
    // Equal nicks may stand either way round; each keeps the number of its own account.
    std::sort(nicks.begin(), nicks.end(),
              [](const combo_entry& a, const combo_entry& b) { return a.item_data < b.item_data; });
    EXPECT_EQ(nicks[0], (combo_entry{"zeta", 0}));
    EXPECT_EQ(nicks[2], (combo_entry{"zeta", 2}));

    EXPECT_EQ(check_state(dialog, login_controls::reset_passwords), BST_UNCHECKED);
    EXPECT_EQ(item_text(dialog, login_controls::transcript), "");
}

TEST_F(login_dialog, offers_one_empty_account_when_none_qualifies) {
    store_account(1, "short", "1234567");
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);

    EXPECT_EQ(combo_entries(dialog, login_controls::nick), (std::vector<combo_entry>{{"", 0}}));
    EXPECT_EQ(combo_selection(dialog, login_controls::nick), 0);
}

// The server list on its fixed port names the login server, which answers the login request.
struct login_round {
    Cloopback_server login_server;
    Cloopback_server server_list;

    explicit login_round(const std::string& login_answer)
        : login_server([login_answer](Cloopback_connection& connection) {
              connection.read_until("quit\n");
              connection.send(login_answer);
          }),
          server_list(
              [port = login_server.port()](Cloopback_connection& connection) {
                  connection.read_until("quit\n");
                  connection.send(":irc.test 375 u :hello\r\n:irc.test 605 u :127.0.0.1 " +
                                  std::to_string(port) + " more\r\n");
              },
              server_list_port) {}
};

TEST_F(login_dialog, ok_logs_in_where_the_server_list_sends_it_and_shows_the_answer) {
    create_32bit_key(HKEY_LOCAL_MACHINE, game_keys[0]);
    create_32bit_key(HKEY_LOCAL_MACHINE, game_keys[1]);
    store_account(5, "alpha", "apass123");
    set_hosts_file("127.0.0.1 servserv.westwood.com\n");
    driver_ = run_main_dialog(services_);
    const HWND main = driver_->wait_for_window("Ketrin Client");
    ASSERT_NE(main, nullptr);
    post_command(main, main_controls::test);
    const HWND dialog = driver_->wait_for_window("Login");
    ASSERT_NE(dialog, nullptr);
    select_combo_entry(dialog, login_controls::game, 1);

    {
        const std::string answer = ":s 001 alpha :Welcome\r\n:s 353 alpha = #c :alpha\n";
        login_round round(answer);
        ASSERT_TRUE(round.server_list.listening());
        ASSERT_TRUE(send_command(dialog, IDOK));

        const std::string port = std::to_string(round.login_server.port());
        EXPECT_EQ(item_text(dialog, login_controls::transcript),
                  "nick: alpha\r\nserver: 127.0.0.1:" + port + " (127.0.0.1)\r\n" + answer);
        EXPECT_EQ(round.server_list.finish(),
                  (std::vector<std::string>{"whereto 0 0 4608\nquit\n"}));
        EXPECT_EQ(round.login_server.finish(),
                  (std::vector<std::string>{"cvers 0 4608\nnick alpha\napgar apass123 0\nuser\n"
                                            "privmsg c /names\nquit\n"}));
    }
    {
        login_round round(":s NOTICE alpha :reset\r\n");
        ASSERT_TRUE(round.server_list.listening());
        set_check_state(dialog, login_controls::reset_passwords, BST_CHECKED);
        ASSERT_TRUE(send_command(dialog, IDOK));

        const std::string port = std::to_string(round.login_server.port());
        EXPECT_EQ(item_text(dialog, login_controls::transcript),
                  "nick: alpha\r\nserver: 127.0.0.1:" + port +
                      " (127.0.0.1)\r\n:s NOTICE alpha :reset\r\n");
        EXPECT_EQ(round.login_server.finish(),
                  (std::vector<std::string>{
                      "cvers 0 4608\nnick alpha\nuser\nprivmsg c :reset passwords\nquit\n"}));
        EXPECT_EQ(check_state(dialog, login_controls::reset_passwords), BST_UNCHECKED);
    }
}

}  // namespace
