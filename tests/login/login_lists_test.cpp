#include "login/fake_login_services.h"
#include "login/fake_login_view.h"
#include "login/login_dialog_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using entry = fake_combo::entry;

std::vector<std::int32_t> service_codes(const std::vector<game_entry>& games) {
    std::vector<std::int32_t> codes;
    for (const game_entry& game : games) {
        codes.push_back(game.service_code);
    }
    return codes;
}

class login_lists : public testing::Test {
  protected:
    void install_game(const std::string& name) {
        services.registry.add_key(registry_root::local_machine, "Software\\Westwood\\" + name);
    }
    void open() { model.open(); }

    fake_login_view view;
    fake_login_services services;
    Clogin_dialog_model model{view, services, "servserv.example", 4005};
};

TEST_F(login_lists, all_six_games_are_offered_in_table_order_with_their_index) {
    for (const char* name :
         {"Yuri's Revenge", "Nox", "Red Alert 2", "Emperor", "Tiberian Sun", "Renegade"}) {
        install_game(name);
    }
    open();
    EXPECT_EQ(view.games.entries, (std::vector<entry>{{"Renegade", 0},
                                                      {"Tiberian Sun", 1},
                                                      {"Emperor Battle for Dune", 2},
                                                      {"Red Alert 2", 3},
                                                      {"Nox", 4},
                                                      {"Red Alert 2 Yuri's Revenge", 5}}));
    EXPECT_EQ(service_codes(model.games()), (std::vector<std::int32_t>{12, 18, 31, 33, 37, 41}));
    EXPECT_EQ(view.games.selected_index(), 0);
}

TEST_F(login_lists, only_games_whose_key_opens_are_offered) {
    install_game("Red Alert 2");
    install_game("Nox");
    // A key that exists but may not be read counts as not installed.
    services.registry.add_key(registry_root::local_machine, "Software\\Westwood\\Emperor")
        .open_status = 5;
    // The same path under the other root is not the game's key.
    services.registry.add_key(registry_root::classes_root, "Software\\Westwood\\Renegade");
    open();
    EXPECT_EQ(view.games.entries, (std::vector<entry>{{"Red Alert 2", 0}, {"Nox", 1}}));
    EXPECT_EQ(service_codes(model.games()), (std::vector<std::int32_t>{33, 37}));
}

TEST_F(login_lists, without_games_the_game_combo_has_no_selection) {
    services.registry.add_account(1, "someone", "12345678");
    open();
    EXPECT_TRUE(view.games.entries.empty());
    EXPECT_LT(view.games.selected_index(), 0);
    EXPECT_EQ(view.nicks.selected_index(), 0);
}

TEST_F(login_lists, sorted_nick_combo_keeps_item_data_pointing_at_each_account) {
    services.registry.add_account(3, "zeta", "zzzzzzzz");
    services.registry.add_account(5, "alpha", "aaaaaaaa");
    open();
    ASSERT_EQ(model.accounts().size(), 2u);
    EXPECT_EQ(model.accounts()[0].nick, "zeta");
    EXPECT_EQ(model.accounts()[0].password, "zzzzzzzz");
    EXPECT_EQ(model.accounts()[1].nick, "alpha");
    EXPECT_EQ(view.nicks.entries, (std::vector<entry>{{"alpha", 1}, {"zeta", 0}}));
    EXPECT_EQ(view.nicks.selected_index(), 0);
}

TEST_F(login_lists, accounts_that_do_not_qualify_are_skipped) {
    fake_registry& registry = services.registry;
    registry.add_account(1, "seven", "1234567");
    registry.add_account(2, "nine", "123456789");
    registry.add_account(4, "", "12345678");
    registry.add_default_value(registry_root::classes_root, "Wchat\\Nick6\\Nick", "nopass");
    registry.add_default_value(registry_root::classes_root, "Wchat\\Nick7\\Nick", "novalue");
    registry.add_key(registry_root::classes_root, "Wchat\\Nick7\\Pass");
    registry.add_account(8, "unreadable", "12345678");
    registry.add_key(registry_root::classes_root, "Wchat\\Nick8\\Pass").values[""] = {5, "x"};
    registry.add_key(registry_root::classes_root, "Wchat\\Nick9\\Pass").values[""] = {0,
                                                                                      "12345678"};
    registry.add_account(25, "last", "12345678");
    registry.add_account(26, "beyond", "12345678");
    open();
    ASSERT_EQ(model.accounts().size(), 1u);
    EXPECT_EQ(model.accounts()[0].nick, "last");
    EXPECT_EQ(view.nicks.entries, (std::vector<entry>{{"last", 0}}));
    for (const std::string& line : registry.log) {
        EXPECT_EQ(line.find("Nick26"), std::string::npos) << line;
    }
}

TEST_F(login_lists, the_same_nick_twice_is_listed_twice) {
    services.registry.add_account(1, "twin", "11111111");
    services.registry.add_account(2, "twin", "22222222");
    open();
    ASSERT_EQ(view.nicks.entries.size(), 2u);
    std::set<std::int64_t> data;
    for (const entry& e : view.nicks.entries) {
        EXPECT_EQ(e.text, "twin");
        data.insert(e.data);
    }
    EXPECT_EQ(data, (std::set<std::int64_t>{0, 1}));
    EXPECT_EQ(model.accounts()[1].password, "22222222");
}

TEST_F(login_lists, without_a_stored_account_one_empty_entry_stands_in) {
    open();
    EXPECT_EQ(view.nicks.entries, (std::vector<entry>{{"", 0}}));
    ASSERT_EQ(model.accounts().size(), 1u);
    EXPECT_EQ(model.accounts()[0].nick, "");
    EXPECT_EQ(model.accounts()[0].password, "");
    EXPECT_EQ(view.nicks.selected_index(), 0);
}

TEST_F(login_lists, one_handle_reads_nick_then_pass_and_every_key_is_closed) {
    services.registry.add_account(3, "zeta", "zzzzzzzz");
    install_game("Nox");
    open();
    std::vector<std::string> account_three;
    for (const std::string& line : services.registry.log) {
        if (line.find("Nick3\\") != std::string::npos) {
            account_three.push_back(line);
        }
    }
    ASSERT_EQ(account_three.size(), 4u);
    const std::string handle = account_three[0].substr(0, account_three[0].find(' '));
    EXPECT_EQ(account_three,
              (std::vector<std::string>{
                  handle + " open Wchat\\Nick3\\Nick", handle + " close Wchat\\Nick3\\Nick",
                  handle + " open Wchat\\Nick3\\Pass", handle + " close Wchat\\Nick3\\Pass"}));
    EXPECT_EQ(services.registry.most_open_keys, 1);
    EXPECT_EQ(services.registry.open_keys, 0);
}

TEST_F(login_lists, dialog_opens_unchecked_with_an_empty_transcript) {
    view.reset_checked = true;
    view.transcript_text = "left over";
    open();
    EXPECT_FALSE(view.reset_checked);
    EXPECT_EQ(view.transcript_text, "");
    EXPECT_EQ(model.reset_passwords(), 0);
}

TEST_F(login_lists, add_game_with_a_number_outside_the_titles_offers_nothing) {
    install_game("Nox");
    model.add_game("Software\\Westwood\\Nox", 15, 37);
    model.add_game("Software\\Westwood\\Nox", -1, 37);
    EXPECT_TRUE(view.games.entries.empty());
    model.add_game("Software\\Westwood\\Nox", 14, 99);
    EXPECT_EQ(view.games.entries, (std::vector<entry>{{"Tiberium Wars", 0}}));
}

}  // namespace
