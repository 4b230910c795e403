#include "app/main_dialog_model.h"

#include "app/fake_system.h"
#include "support/fixed_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string look_up_server_list = std::string("look up ") + server_list_host;

class main_dialog : public testing::Test {
  protected:
    void open() {
        model.initialise();
        log.clear();
    }

    event_log log;
    fake_main_view view{log};
    fake_system system{log};
    Cmain_dialog_model model{view, system};
};

TEST_F(main_dialog, opening_shows_paths_and_where_both_hosts_resolve) {
    system.resolver[community_server_list_host] = address_of(10, 20, 30, 40);
    system.resolver[server_list_host] = address_of(192, 0, 2, 10);
    model.initialise();
    EXPECT_EQ(view.hosts_path, "/etc/hosts");
    EXPECT_EQ(view.api_path, "C:\\WOLAPI");
    EXPECT_EQ(model.hosts_path(), "/etc/hosts");
    EXPECT_EQ(view.community, 0x0A141E28u);
    EXPECT_EQ(view.current, 0xC000020Au);
    EXPECT_EQ(log, (event_log{std::string("look up ") + community_server_list_host,
                              look_up_server_list, "show current"}));
}

TEST_F(main_dialog, unresolved_hosts_show_all_bits_set_and_leave_current_empty) {
    model.initialise();
    EXPECT_EQ(view.community, 0xFFFFFFFFu);
    EXPECT_FALSE(view.current.has_value());
}

TEST_F(main_dialog, current_address_stays_when_the_host_stops_resolving) {
    system.resolver[server_list_host] = address_of(192, 0, 2, 10);
    open();
    system.resolver.clear();
    model.on_command(command_reset);
    EXPECT_EQ(view.current, 0xC000020Au);
}

struct apply_case {
    const char* what;
    std::uint32_t control_value;
    std::string written;
};

class main_dialog_apply : public main_dialog, public testing::WithParamInterface<apply_case> {};

TEST_P(main_dialog_apply, writes_the_fields_in_the_order_shown) {
    open();
    view.community = GetParam().control_value;
    EXPECT_TRUE(model.on_command(command_apply));
    EXPECT_EQ(log, (event_log{"rewrite /etc/hosts with \"" + GetParam().written + "\"", "sleep 25",
                              look_up_server_list, "show current"}));
    // The refresh shows the redirection as the resolver now answers it.
    EXPECT_EQ(view.current, GetParam().control_value);
}

INSTANTIATE_TEST_SUITE_P(
    addresses, main_dialog_apply,
    testing::Values(apply_case{"typed", 0x0A141E28, "10.20.30.40"},
                    apply_case{"blank fields", 0, "0.0.0.0"},
                    apply_case{"community host unresolved", 0xFFFFFFFF, "255.255.255.255"}),
    [](const testing::TestParamInfo<apply_case>& info) { return std::to_string(info.index); });

TEST_F(main_dialog, reset_removes_the_redirection_and_shows_the_real_address) {
    system.resolver[server_list_host] = address_of(192, 0, 2, 10);
    system.redirected_to = "10.20.30.40";
    open();
    EXPECT_EQ(view.current, 0x0A141E28u);
    EXPECT_TRUE(model.on_command(command_reset));
    EXPECT_EQ(log, (event_log{"rewrite /etc/hosts with \"\"", "sleep 25", look_up_server_list,
                              "show current"}));
    EXPECT_EQ(view.current, 0xC000020Au);
}

TEST_F(main_dialog, failed_rewrite_shows_one_message_then_waits_and_refreshes) {
    system.resolver[server_list_host] = address_of(192, 0, 2, 10);
    system.rewrite_result = 1;
    open();
    view.community = 0x0A141E28;
    model.on_command(command_apply);
    EXPECT_EQ(log, (event_log{"rewrite /etc/hosts with \"10.20.30.40\"",
                              "may rewrite /etc/hosts with rights",
                              std::string("message ") + hosts_update_failed_text, "sleep 25",
                              look_up_server_list, "show current"}));
    EXPECT_EQ(std::string(hosts_update_failed_text), "Your hosts file could not be updated.");
    EXPECT_EQ(view.current, 0xC000020Au);
}

struct rights_case {
    const char* what;
    int command;
    std::string address;
    int helper_result;
};

class main_dialog_without_rights : public main_dialog,
                                   public testing::WithParamInterface<rights_case> {};

// The helper runs only after the program's own rewrite failed for want of rights, under the
// wait cursor; its result is the rewrite's, and a failure gets the one message box.
TEST_P(main_dialog_without_rights, asks_the_helper_under_the_wait_cursor) {
    const rights_case& c = GetParam();
    system.resolver[server_list_host] = address_of(192, 0, 2, 10);
    system.rewrite_result = 1;
    system.lacks_rights = true;
    system.helper_result = c.helper_result;
    open();
    view.community = 0x0A141E28;
    model.on_command(c.command);

    event_log expected{"rewrite /etc/hosts with \"" + c.address + "\"",
                       "may rewrite /etc/hosts with rights", "wait cursor on",
                       "helper rewrites with \"" + c.address + "\"", "wait cursor off"};
    if (c.helper_result != 0) {
        expected.push_back(std::string("message ") + hosts_update_failed_text);
    }
    for (const char* step : {"sleep 25", look_up_server_list.c_str(), "show current"}) {
        expected.push_back(step);
    }
    EXPECT_EQ(log, expected);
    const bool redirected = c.helper_result == 0 && !c.address.empty();
    EXPECT_EQ(view.current, redirected ? 0x0A141E28u : 0xC000020Au);
}

INSTANTIATE_TEST_SUITE_P(
    helper_results, main_dialog_without_rights,
    testing::Values(rights_case{"apply granted", command_apply, "10.20.30.40", 0},
                    rights_case{"apply refused", command_apply, "10.20.30.40", 1},
                    rights_case{"reset granted", command_reset, "", 0},
                    rights_case{"reset refused", command_reset, "", 1}),
    [](const testing::TestParamInfo<rights_case>& info) { return std::to_string(info.index); });

TEST_F(main_dialog, a_rewrite_that_works_asks_for_no_rights) {
    system.lacks_rights = true;
    open();
    model.on_command(command_reset);
    EXPECT_EQ(log, (event_log{"rewrite /etc/hosts with \"\"", "sleep 25", look_up_server_list}));
}

TEST_F(main_dialog, test_opens_the_login_dialog_only_when_the_server_list_host_resolves) {
    open();
    EXPECT_TRUE(model.on_command(command_test));
    EXPECT_EQ(log, (event_log{look_up_server_list}));

    log.clear();
    // A hosts file may map the host to 255.255.255.255; that is an answer, not a failure.
    system.resolver[server_list_host] = address_of(255, 255, 255, 255);
    model.on_command(command_test);
    EXPECT_EQ(log, (event_log{look_up_server_list, "login dialog"}));
    EXPECT_FALSE(view.current.has_value());
}

TEST_F(main_dialog, shell_commands_open_the_hosts_file_and_the_ladders_page) {
    open();
    EXPECT_TRUE(model.on_command(command_edit_hosts));
    EXPECT_TRUE(model.on_command(command_ladders));
    EXPECT_EQ(log, (event_log{"edit /etc/hosts", std::string("web ") + ladders_page_address}));
}

TEST_F(main_dialog, other_commands_are_left_to_the_dialog) {
    open();
    for (int id : {1, 2, 1003, 1004, 1005, 1008, 0}) {
        EXPECT_FALSE(model.on_command(id)) << id;
    }
    EXPECT_TRUE(log.empty());
}

}  // namespace
