// The main dialog's template and its window menu under Wine: the template's seven controls stay
// as they are, and the window menu reaches the two commands that have no control.
#include "app/main_dialog_template.h"
#include "dialog_driver.h"
#include "gui_environment.h"
#include "hosts/hosts_file.h"
#include "fixtures/built_programs.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string class_of(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// A rectangle as left, top, right, bottom, which tests compare and print.
using edges = std::vector<LONG>;

edges placed_in(HWND dialog, HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

struct menu_entry {
    UINT id = 0;
    bool separator = false;
    std::string text;
};

std::vector<menu_entry> window_menu(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    std::vector<menu_entry> entries;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        MENUITEMINFOA item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = sizeof text;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &item);
        entries.push_back({item.wID, (item.fType & MFT_SEPARATOR) != 0, text});
    }
    return entries;
}

// The identifier of the window-menu entry with this text, or 0.
UINT menu_id(HWND window, const std::string& text) {
    for (const menu_entry& entry : window_menu(window)) {
        if (entry.text == text) {
            return entry.id;
        }
    }
    return 0;
}

constexpr char apply_entry[] = "&Point the games at this address";
constexpr char open_entry[] = "Open the hosts &file";

// Puts the tests' stand-in for notepad.exe where the shell finds "notepad" (the system
// directory), and the prefix's own back when it goes. The stand-in records its command line in
// notepad_record.txt beside itself.
class Cstand_in_notepad {
  public:
    Cstand_in_notepad() {
        // Wine runs its own notepad in place of a program file in the system directory unless
        // its settings say to load the file.
        set_wine_load_order("native");
        char directory[MAX_PATH] = {};
        GetSystemDirectoryA(directory, MAX_PATH);
        notepad_ = std::string(directory) + "\\notepad.exe";
        record_ = std::string(directory) + "\\notepad_record.txt";
        DeleteFileA(record_.c_str());
        const std::wstring stand_in = built_program("KETRIN_STAND_IN_NOTEPAD_EXE");
        installed_ = !stand_in.empty() && CopyFileA(notepad_.c_str(), kept().c_str(), FALSE) &&
                     CopyFileA(narrow(stand_in).c_str(), notepad_.c_str(), FALSE);
    }
    ~Cstand_in_notepad() {
        set_wine_load_order(nullptr);
        CopyFileA(kept().c_str(), notepad_.c_str(), FALSE);
        DeleteFileA(kept().c_str());
        DeleteFileA(record_.c_str());
    }
    Cstand_in_notepad(const Cstand_in_notepad&) = delete;
    Cstand_in_notepad& operator=(const Cstand_in_notepad&) = delete;

    bool installed() const { return installed_; }
    bool started() const { return GetFileAttributesA(record_.c_str()) != INVALID_FILE_ATTRIBUTES; }
    // The command line it was started with.
    std::string command_line() const {
        const std::string record = file_bytes_if_readable(record_).value_or("");
        const std::string key = "command_line=";
        const std::size_t start = record.find(key);
        if (start == std::string::npos) {
            return {};
        }
        const std::size_t end = record.find('\n', start);
        return record.substr(start + key.size(), end - start - key.size());
    }

  private:
    // Sets notepad.exe's load order in Wine's settings, or with nullptr removes it.
    static void set_wine_load_order(const char* order) {
        HKEY overrides = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", 0, nullptr, 0,
                            KEY_SET_VALUE, nullptr, &overrides, nullptr) != ERROR_SUCCESS) {
            return;
        }
        if (order != nullptr) {
            RegSetValueExA(overrides, "notepad.exe", 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(order),
                           static_cast<DWORD>(std::strlen(order) + 1));
        } else {
            RegDeleteValueA(overrides, "notepad.exe");
        }
        RegCloseKey(overrides);
    }
    std::string kept() const { return notepad_ + ".kept"; }

    std::string notepad_;
    std::string record_;
    bool installed_ = false;
};

class main_dialog_window_menu : public main_dialog_test {};

TEST_F(main_dialog_window_menu, template_keeps_its_seven_controls_in_tab_order_and_their_places) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);

    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    ASSERT_EQ(children.size(), main_dialog_template.control_count);
    for (std::size_t i = 0; i < children.size(); ++i) {
        const dialog_control_template& want = main_dialog_template.controls[i];
        SCOPED_TRACE(want.name);
        EXPECT_EQ(GetDlgCtrlID(children[i]), want.id);
        EXPECT_EQ(class_of(children[i]), want.window_class);
        // What the other controls show depends on the run.
        if (is_push_button(want)) {
            EXPECT_EQ(window_text(children[i]), want.text);
        }
        EXPECT_NE(GetWindowLongA(children[i], GWL_STYLE) & WS_TABSTOP, 0);
        // Windows converts a control's position and its size, not its far edges.
        RECT pixels = {want.x, want.y, want.cx, want.cy};
        MapDialogRect(dialog, &pixels);
        EXPECT_EQ(placed_in(dialog, children[i]),
                  (edges{pixels.left, pixels.top, pixels.left + pixels.right,
                         pixels.top + pixels.bottom}));
    }
    EXPECT_EQ(GetDlgItem(dialog, main_menu_commands::apply), nullptr);
    EXPECT_EQ(GetDlgItem(dialog, main_menu_commands::open_hosts_file), nullptr);
}

TEST_F(main_dialog_window_menu, every_button_label_fits_inside_its_button) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    for (int id : {main_controls::ladders, main_controls::reset, main_controls::test}) {
        const HWND button = GetDlgItem(dialog, id);
        RECT client;
        GetClientRect(button, &client);
        EXPECT_LE(label_width(button), client.right) << window_text(button);
    }
}

// The run draws at the dpi its prefix sets (LogPixels), so that the other tests check the layout
// at that dpi.
TEST_F(main_dialog_window_menu, draws_at_the_dpi_the_prefix_sets) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    const char* expected = std::getenv("KETRIN_GUI_DPI");
    ASSERT_NE(expected, nullptr) << "run the test through CTest";
    HDC context = GetDC(dialog);
    EXPECT_EQ(GetDeviceCaps(context, LOGPIXELSY), std::atoi(expected));
    ReleaseDC(dialog, context);
}

TEST_F(main_dialog_window_menu, holds_the_two_commands_above_the_standard_entries) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);

    const std::vector<menu_entry> entries = window_menu(dialog);
    ASSERT_GE(entries.size(), 4u);
    EXPECT_EQ(entries[0].text, apply_entry);
    EXPECT_EQ(entries[1].text, open_entry);
    EXPECT_TRUE(entries[2].separator);
    for (const menu_entry& ours : {entries[0], entries[1]}) {
        EXPECT_LT(ours.id, 0xF000u) << ours.text;
        EXPECT_EQ(ours.id & 0xF, 0u) << ours.text;
    }
    EXPECT_NE(entries[0].id, entries[1].id);

    // Below them only the system's own entries, and among them the ones a dialog has.
    std::vector<UINT> standard;
    for (std::size_t i = 3; i < entries.size(); ++i) {
        if (!entries[i].separator) {
            EXPECT_GE(entries[i].id, 0xF000u) << entries[i].text;
            standard.push_back(entries[i].id);
        }
    }
    for (UINT id : {SC_MOVE, SC_MINIMIZE, SC_CLOSE}) {
        EXPECT_NE(std::find(standard.begin(), standard.end(), id), standard.end()) << id;
    }
}

TEST_F(main_dialog_window_menu, pointing_the_games_rewrites_the_hosts_file_as_the_apply_command) {
    Cstand_in_notepad notepad;
    // Every byte that is no service line stays, line ends included: the Unix file has LF.
    set_hosts_file("# kept\x1a \r\n10.0.0.1 gateway irc.westwood.com\n");
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    set_ip_address(dialog, main_controls::community_address, MAKEIPADDRESS(10, 20, 30, 40));

    ASSERT_TRUE(send_system_command(dialog, menu_id(dialog, apply_entry)));

    EXPECT_EQ(file_bytes(hosts_file_path()),
              "127.0.0.1\tlocalhost\n# kept\x1a \r\n10.0.0.1 gateway\n"
              "10.20.30.40 irc.westwood.com\n10.20.30.40 servserv.westwood.com\n");
    const ip_address_state current = ip_address(dialog, main_controls::current_address);
    EXPECT_EQ(current.filled_fields, 4);
    EXPECT_EQ(current.value, MAKEIPADDRESS(10, 20, 30, 40));
    EXPECT_TRUE(message_boxes().empty());
    EXPECT_FALSE(notepad.started());
}

TEST_F(main_dialog_window_menu, pointing_the_games_at_a_hosts_file_it_may_not_write_shows_one_box) {
    Cread_only_hosts_services read_only;
    const std::string before = file_bytes(read_only.hosts_file_path());
    const HWND dialog = open(read_only);
    ASSERT_NE(dialog, nullptr);

    post_system_command(dialog, menu_id(dialog, apply_entry));
    ASSERT_TRUE(wait_until([] { return !message_boxes().empty(); }));
    const std::vector<HWND> boxes = message_boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(message_box_text(boxes[0]), "Your hosts file could not be updated.");
    close_message_box(boxes[0]);
    ASSERT_TRUE(wait_until([] { return message_boxes().empty(); }));
    ASSERT_TRUE(settle(dialog));
    EXPECT_TRUE(message_boxes().empty());
    EXPECT_EQ(file_bytes(read_only.hosts_file_path()), before);
}

TEST_F(main_dialog_window_menu, opening_the_hosts_file_starts_notepad_with_its_path) {
    Cstand_in_notepad notepad;
    ASSERT_TRUE(notepad.installed());
    const std::string hosts_before = file_bytes(hosts_file_path());
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);

    ASSERT_TRUE(send_system_command(dialog, menu_id(dialog, open_entry)));

    ASSERT_TRUE(wait_until([&] { return notepad.started(); }));
    const std::string command_line = notepad.command_line();
    const std::string parameter = " " + hosts_file_path();
    ASSERT_GE(command_line.size(), parameter.size());
    EXPECT_EQ(command_line.substr(command_line.size() - parameter.size()), parameter)
        << command_line;
    EXPECT_NE(command_line.find("notepad"), std::string::npos) << command_line;
    EXPECT_EQ(file_bytes(hosts_file_path()), hosts_before);
}

TEST_F(main_dialog_window_menu, standard_entries_keep_working) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);

    // Wine's desktop now and then restores a window it has just minimised: ask again.
    EXPECT_TRUE(wait_until([&] {
        send_system_command(dialog, SC_MINIMIZE);
        return IsIconic(dialog) != FALSE;
    }));
    ASSERT_TRUE(send_system_command(dialog, SC_RESTORE));
    EXPECT_TRUE(wait_until([&] { return IsIconic(dialog) == FALSE; }));

    post_system_command(dialog, SC_CLOSE);
    EXPECT_TRUE(wait_until([&] { return driver_->finished(); }));
}

}  // namespace
