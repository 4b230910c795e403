// The main dialog under Wine: what it shows at start and what its commands do to the hosts file
// that the resolver reads.
#include "app/main_dialog_template.h"
#include "app/platform_services.h"
#include "dialog_driver.h"
#include "gui_environment.h"
#include "gui_registry.h"
#include "hosts/hosts_file.h"
#include "login/login_dialog_template.h"
#include "support/resolve_host.h"
#include "win32/minimised_icon.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <tuple>
#include <string>

namespace {

constexpr std::uint32_t no_address = 0xFFFFFFFF;

class main_dialog : public main_dialog_test {};

std::string looked_up(const std::string& name) {
    const std::optional<std::uint32_t> found = look_up_host(name);
    return found ? address_text(*found) : "none";
}

void expect_address(HWND dialog, int id, std::uint32_t value) {
    const ip_address_state shown = ip_address(dialog, id);
    EXPECT_EQ(shown.filled_fields, 4) << "control " << id;
    EXPECT_EQ(shown.value, value) << "control " << id;
}

TEST(gui_environment, the_program_and_the_resolver_share_one_hosts_file) {
    const ULONGLONG scratch = file_index(gui_mounts_path("hosts"));
    ASSERT_NE(scratch, 0u);
    // Under Wine the hosts file that counts is the Unix one, on the drive that maps it.
    EXPECT_EQ(hosts_file_path(), "Z:\\etc\\hosts");
    EXPECT_EQ(file_index(hosts_file_path()), scratch);

    set_hosts_file("192.0.2.77 probe.ketrin.test\n");
    const std::optional<std::uint32_t> found = look_up_host("probe.ketrin.test");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(address_text(*found), "192.0.2.77");
}

TEST_F(main_dialog, shows_the_paths_and_no_address_for_hosts_that_do_not_resolve) {
    write_32bit_string(HKEY_LOCAL_MACHINE, "SOFTWARE\\Westwood\\WOLAPI", "InstallPath",
                       std::string("C:\\Westwood\\WOLAPI\\\0", 20));
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);

    EXPECT_EQ(item_text(dialog, main_controls::hosts_path), hosts_file_path());
    EXPECT_EQ(item_text(dialog, main_controls::api_path), "C:\\Westwood\\WOLAPI\\");
    expect_address(dialog, main_controls::community_address, no_address);
    EXPECT_EQ(ip_address(dialog, main_controls::current_address).filled_fields, 0);
}

TEST_F(main_dialog, shows_the_install_path_as_stored_up_to_its_first_nul) {
    struct install_case {
        const char* what;
        std::optional<std::string> stored;
        std::string shown;
    };
    const install_case cases[] = {
        {"no value", std::nullopt, ""},
        {"cut at the first NUL", std::string("C:\\API\0old\0", 11), "C:\\API"},
        {"259 characters and the NUL fill the buffer", std::string(259, 'a') + '\0',
         std::string(259, 'a')},
        {"260 characters and the NUL do not fit", std::string(260, 'b') + '\0', ""},
    };
    for (const install_case& test : cases) {
        SCOPED_TRACE(test.what);
        clear_game_registry();
        create_32bit_key(HKEY_LOCAL_MACHINE, "SOFTWARE\\Westwood\\WOLAPI");
        if (test.stored) {
            write_32bit_string(HKEY_LOCAL_MACHINE, "SOFTWARE\\Westwood\\WOLAPI", "InstallPath",
                               *test.stored);
        }
        const HWND dialog = open();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(item_text(dialog, main_controls::api_path), test.shown);
        driver_.reset();
    }
}

TEST_F(main_dialog, shows_where_the_hosts_file_sends_both_hosts_at_start) {
    set_hosts_file("10.20.30.40 servserv.ketrin.net\n10.1.2.3 servserv.westwood.com\n");
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);

    expect_address(dialog, main_controls::community_address, MAKEIPADDRESS(10, 20, 30, 40));
    expect_address(dialog, main_controls::current_address, MAKEIPADDRESS(10, 1, 2, 3));
}

TEST_F(main_dialog, apply_maps_both_hosts_to_the_typed_address_and_shows_the_redirection) {
    struct apply_case {
        const char* what;
        std::optional<std::uint32_t> typed;  // none: every field left blank
        std::string written;
        std::uint32_t shown;
    };
    const apply_case cases[] = {
        {"four different fields", MAKEIPADDRESS(10, 20, 30, 40), "10.20.30.40",
         MAKEIPADDRESS(10, 20, 30, 40)},
        {"all fields blank", std::nullopt, "0.0.0.0", 0},
    };
    for (const apply_case& test : cases) {
        SCOPED_TRACE(test.what);
        // Every byte that is no service line stays, line ends included: the Unix file has LF.
        set_hosts_file("# kept\x1a \r\n10.0.0.1 gateway irc.westwood.com\n");
        const HWND dialog = open();
        ASSERT_NE(dialog, nullptr);
        if (test.typed) {
            set_ip_address(dialog, main_controls::community_address, *test.typed);
        } else {
            clear_ip_address(dialog, main_controls::community_address);
        }

        ASSERT_TRUE(send_command(dialog, main_menu_commands::apply));

        EXPECT_EQ(file_bytes(hosts_file_path()),
                  "127.0.0.1\tlocalhost\n# kept\x1a \r\n10.0.0.1 gateway\n" + test.written +
                      " irc.westwood.com\n" + test.written + " servserv.westwood.com\n");
        expect_address(dialog, main_controls::current_address, test.shown);
        EXPECT_TRUE(message_boxes().empty());
        driver_.reset();
    }
}

// Lines the resolver reads however they are written: after Apply it answers with the new address,
// after Reset not from the hosts file at all, and the lines' other names still resolve.
TEST_F(main_dialog, apply_and_reset_take_effect_whatever_the_hosts_file_already_holds) {
    const char* const held[] = {
        "6.6.6.6\tservserv.westwood.com\n6.6.6.6\tirc.westwood.com\n",
        "6.6.6.6  SERVSERV.westwood.com\n6.6.6.6 \tIrc.Westwood.Com\n",
        "10.0.0.1 nas.lan servserv.westwood.com\n10.0.0.1 irc.westwood.com gateway\n",
    };
    for (const char* text : held) {
        SCOPED_TRACE(text);
        set_hosts_file(text);
        const HWND dialog = open();
        ASSERT_NE(dialog, nullptr);
        set_ip_address(dialog, main_controls::community_address, MAKEIPADDRESS(10, 20, 30, 40));

        ASSERT_TRUE(send_command(dialog, main_menu_commands::apply));
        expect_address(dialog, main_controls::current_address, MAKEIPADDRESS(10, 20, 30, 40));
        EXPECT_EQ(looked_up("irc.westwood.com"), "10.20.30.40");

        ASSERT_TRUE(send_command(dialog, main_controls::reset));
        EXPECT_EQ(looked_up("servserv.westwood.com"), "none");
        EXPECT_EQ(looked_up("irc.westwood.com"), "none");
        EXPECT_TRUE(message_boxes().empty());
        driver_.reset();
    }
    EXPECT_EQ(looked_up("nas.lan"), "10.0.0.1");
    EXPECT_EQ(looked_up("gateway"), "10.0.0.1");
}

TEST_F(main_dialog, reset_drops_the_service_lines_and_keeps_the_last_address_shown) {
    set_hosts_file("10.1.2.3 servserv.westwood.com\n# kept\n10.1.2.3 irc.westwood.com");
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);

    ASSERT_TRUE(send_command(dialog, main_controls::reset));

    EXPECT_EQ(file_bytes(hosts_file_path()), "127.0.0.1\tlocalhost\n# kept\n");
    expect_address(dialog, main_controls::current_address, MAKEIPADDRESS(10, 1, 2, 3));
}

TEST_F(main_dialog, a_failed_rewrite_shows_one_error_box_and_refreshes_once_it_is_closed) {
    set_hosts_file("10.0.0.1 servserv.westwood.com\n");
    Cread_only_hosts_services read_only;
    const std::string before = file_bytes(read_only.hosts_file_path());
    const HWND dialog = open(read_only);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(item_text(dialog, main_controls::hosts_path), read_only.hosts_file_path());

    post_command(dialog, main_menu_commands::apply);
    ASSERT_TRUE(wait_until([] { return !message_boxes().empty(); }));
    const std::vector<HWND> boxes = message_boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(message_box_text(boxes[0]), "Your hosts file could not be updated.");
    EXPECT_EQ(window_text(boxes[0]), "Error");
    EXPECT_EQ(message_box_icon(boxes[0]), LoadIconA(nullptr, IDI_ERROR));
    // The refresh comes after the box: what the resolver says meanwhile is what shows.
    expect_address(dialog, main_controls::current_address, MAKEIPADDRESS(10, 0, 0, 1));
    set_hosts_file("10.0.0.2 servserv.westwood.com\n");

    close_message_box(boxes[0]);
    ASSERT_TRUE(wait_until([] { return message_boxes().empty(); }));
    ASSERT_TRUE(settle(dialog));
    EXPECT_TRUE(message_boxes().empty());
    expect_address(dialog, main_controls::current_address, MAKEIPADDRESS(10, 0, 0, 2));
    EXPECT_EQ(file_bytes(read_only.hosts_file_path()), before);
}

TEST_F(main_dialog, test_does_nothing_while_the_server_list_host_does_not_resolve) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);

    // Returns only once the command is over: a login dialog would hold it.
    ASSERT_TRUE(send_command(dialog, main_controls::test));

    EXPECT_EQ(driver_->windows(), std::vector<HWND>{dialog});
    EXPECT_TRUE(IsWindowEnabled(dialog));
}

TEST_F(main_dialog, test_opens_the_login_dialog_owned_by_the_main_dialog_which_takes_no_clicks) {
    set_hosts_file("127.0.0.1 servserv.westwood.com\n");
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);

    click(GetDlgItem(dialog, main_controls::test));
    const HWND login = driver_->wait_for_window("Login");
    ASSERT_NE(login, nullptr);
    EXPECT_EQ(GetWindow(login, GW_OWNER), dialog);
    EXPECT_FALSE(IsWindowEnabled(dialog));

    // Out of the way of the Test button, which is clicked once more.
    SetWindowPos(login, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    click(GetDlgItem(dialog, main_controls::test));
    // Input is handled in order: once this later click has landed, so has the one before.
    click(GetDlgItem(login, login_controls::reset_passwords));
    ASSERT_TRUE(wait_until(
        [&] { return check_state(login, login_controls::reset_passwords) == BST_CHECKED; }));
    EXPECT_EQ(driver_->windows().size(), 2u);

    PostMessageA(login, WM_CLOSE, 0, 0);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(login) && IsWindowEnabled(dialog); }));
}

std::atomic<int> icon_erasures{0};
WNDPROC dialog_procedure = nullptr;

LRESULT CALLBACK count_icon_erasures(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_ICONERASEBKGND) {
        ++icon_erasures;
    }
    return CallWindowProcA(dialog_procedure, window, message, wparam, lparam);
}

TEST_F(main_dialog, minimised_paints_its_icon_and_offers_it_for_dragging) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(dialog, WM_QUERYDRAGICON, 0, 0)),
              program_icon());

    dialog_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&count_icon_erasures)));
    icon_erasures = 0;
    SendMessageA(dialog, WM_PAINT, 0, 0);
    EXPECT_EQ(icon_erasures, 0) << "a dialog on screen paints as any dialog does";

    // Wine's desktop now and then restores a window it has just minimised: minimise it again
    // until a paint finds it minimised.
    EXPECT_TRUE(wait_until([&] {
        if (!IsIconic(dialog)) {
            ShowWindow(dialog, SW_MINIMIZE);
        }
        SendMessageA(dialog, WM_PAINT, 0, 0);
        return icon_erasures > 0;
    }));
}

TEST(minimised_icon_origin, centres_the_icon_with_halves_rounded_toward_zero) {
    const struct {
        RECT client;
        int icon_width, icon_height;
        LONG x, y;
    } cases[] = {
        {{0, 0, 160, 120}, 32, 32, 64, 44},   {{0, 0, 33, 34}, 32, 32, 1, 1},
        {{0, 0, 31, 30}, 32, 32, 0, 0},    // -0.5 rounded toward zero, not down
        {{0, 0, 0, 0}, 32, 32, -15, -15},  // -15.5
        {{10, 20, 170, 140}, 16, 32, 72, 44},
    };
    for (const auto& example : cases) {
        const POINT origin =
            minimised_icon_origin(example.client, example.icon_width, example.icon_height);
        EXPECT_EQ(origin.x, example.x) << example.client.right;
        EXPECT_EQ(origin.y, example.y) << example.client.bottom;
    }
}

struct icon_setting {
    HWND window;
    WPARAM kind;
    HICON icon;
    bool operator==(const icon_setting& other) const {
        return std::tie(window, kind, icon) == std::tie(other.window, other.kind, other.icon);
    }
};
std::mutex icon_settings_lock;
std::vector<icon_setting> icon_settings;

// Sees every message sent to a window of the UI thread before the window does.
LRESULT CALLBACK record_icon_settings(int code, WPARAM wparam, LPARAM lparam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && sent->message == WM_SETICON) {
        const std::lock_guard<std::mutex> held(icon_settings_lock);
        icon_settings.push_back({sent->hwnd, sent->wParam, reinterpret_cast<HICON>(sent->lParam)});
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST_F(main_dialog, gives_its_window_the_program_icon_big_then_small) {
    icon_settings.clear();
    driver_ = run_main_dialog(services_, &record_icon_settings);
    const HWND dialog = driver_->wait_for_window("Ketrin Client");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(settle(dialog));

    const std::lock_guard<std::mutex> held(icon_settings_lock);
    std::vector<icon_setting> to_the_dialog;
    for (const icon_setting& setting : icon_settings) {
        if (setting.window == dialog) {
            to_the_dialog.push_back(setting);
        }
    }
    const std::vector<icon_setting> expected{{dialog, ICON_BIG, program_icon()},
                                             {dialog, ICON_SMALL, program_icon()}};
    EXPECT_TRUE(to_the_dialog == expected) << to_the_dialog.size() << " icons set";
}

}  // namespace
