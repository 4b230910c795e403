// The templates' data against the dialogs as the program is to show them, written out here once
// more on purpose: a changed number in the data must show up as a difference from these rows.
#include "app/main_dialog_template.h"
#include "login/login_dialog_template.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

struct expected_control {
    std::int32_t id;
    std::string window_class;
    std::vector<int> rect;  // x, y, width, height
    std::string text;
    std::uint32_t window_style;  // as the control window has it
};

struct expected_dialog {
    const dialog_template* data;
    std::int32_t id;
    std::string caption;
    std::vector<int> rect;
    std::uint32_t window_style;
    std::uint32_t ex_style;
    std::vector<expected_control> controls;  // in tab order
};

constexpr std::uint32_t child = ws_child | ws_visible;
constexpr std::uint32_t main_path = child | ws_tabstop | ws_border | es_readonly | es_autohscroll;
constexpr std::uint32_t main_button = child | ws_tabstop | bs_pushbutton;
constexpr std::uint32_t login_list = child | ws_vscroll | ws_tabstop | cbs_dropdownlist;

const expected_dialog dialogs[] = {
    {&main_dialog_template,
     102,
     "Ketrin Client",
     {0, 0, 400, 78},
     ws_popup | ws_caption | ws_sysmenu | ws_minimizebox | ds_modalframe | ws_visible | ds_setfont,
     ws_ex_appwindow,
     {
         {1004, "SysIPAddress32", {7, 7, 100, 15}, "", child | ws_tabstop},
         {1005, "SysIPAddress32", {7, 24, 100, 15}, "", child | ws_tabstop},
         {1003, "Edit", {7, 41, 331, 14}, "", main_path},
         {1008, "Edit", {7, 57, 331, 14}, "", main_path},
         {1009, "Button", {343, 7, 50, 14}, "&Ladders", main_button},
         {1002, "Button", {343, 24, 50, 14}, "&Reset (WOL)", main_button},
         {1007, "Button", {343, 57, 50, 14}, "&Test", main_button},
     }},
    {&login_dialog_template,
     129,
     "Login",
     {0, 0, 330, 300},
     ws_popup | ws_caption | ws_sysmenu | ws_maximizebox | ds_modalframe | ds_setfont,
     0,
     {
         {1006, "ComboBox", {7, 7, 50, 443}, "", login_list},
         {1007, "ComboBox", {7, 24, 50, 427}, "", login_list | cbs_sort},
         {1011, "Button", {7, 77, 41, 10}, "Reset Passwords", child | ws_tabstop | bs_autocheckbox},
         {1, "Button", {273, 7, 50, 14}, "OK", child | ws_tabstop | bs_defpushbutton},
         {1008,
          "Edit",
          {7, 43, 50, 25},
          "",
          child | ws_border | ws_vscroll | ws_hscroll | ws_tabstop | es_multiline | es_autohscroll |
              es_readonly},
     }},
};

TEST(dialog_templates, hold_the_ids_places_texts_and_styles_the_dialogs_are_shown_with) {
    for (const expected_dialog& want : dialogs) {
        const dialog_template& got = *want.data;
        SCOPED_TRACE(want.caption);
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.caption, want.caption);
        EXPECT_EQ((std::vector<int>{got.x, got.y, got.cx, got.cy}), want.rect);
        EXPECT_EQ(dialog_window_style(got), want.window_style);
        EXPECT_EQ(got.ex_style, want.ex_style);
        EXPECT_EQ(got.font_points, 8);
        EXPECT_EQ(std::string(got.font_face), "MS Sans Serif");

        ASSERT_EQ(got.control_count, want.controls.size());
        for (std::size_t i = 0; i < got.control_count; ++i) {
            const dialog_control_template& control = got.controls[i];
            const expected_control& row = want.controls[i];
            SCOPED_TRACE(row.id);
            EXPECT_EQ(control.id, row.id);
            EXPECT_EQ(control.window_class, row.window_class);
            EXPECT_EQ((std::vector<int>{control.x, control.y, control.cx, control.cy}), row.rect);
            EXPECT_EQ(control.text, row.text);
            EXPECT_EQ(control_window_style(control), row.window_style);
            EXPECT_EQ(control.ex_style, 0u);
        }
    }
}

TEST(dialog_templates, leave_apply_and_open_hosts_file_without_a_control) {
    for (const std::int32_t command : {1001, 1006}) {
        EXPECT_EQ(find_control(main_dialog_template, command), nullptr) << command;
    }
    EXPECT_EQ(main_menu_commands::apply, 1001);
    EXPECT_EQ(main_menu_commands::open_hosts_file, 1006);
}

// A control of the templates by its identifier, or one made up to tell styles apart that the
// templates only use together.
dialog_control_template main_control(std::int32_t id) {
    return *find_control(main_dialog_template, id);
}
dialog_control_template login_control(std::int32_t id) {
    return *find_control(login_dialog_template, id);
}
dialog_control_template made_up(const char* window_class, std::uint32_t style) {
    return {0, window_class, style, 0, 0, 0, 0, 0, "", "made_up"};
}

// The predicates that hold for a control, by name.
std::string kinds_of(const dialog_control_template& c) {
    const std::pair<bool, const char*> kinds[] = {
        {is_push_button(c), "push"},
        {is_default_button(c), "default"},
        {is_check_box(c), "check"},
        {is_multiline(c), "multiline"},
        {wraps_lines(c), "wraps"},
        {is_read_only(c), "read-only"},
        {is_sorted(c), "sorted"},
        {has_vertical_scroll_bar(c), "vscroll"},
        {has_horizontal_scroll_bar(c), "hscroll"},
    };
    std::string names;
    for (const auto& [holds, name] : kinds) {
        if (holds) {
            names += names.empty() ? name : std::string(" ") + name;
        }
    }
    return names;
}

TEST(dialog_templates, name_the_kind_of_each_control_for_toolkits_that_make_their_own) {
    const std::pair<dialog_control_template, const char*> rows[] = {
        {main_control(1009), "push"},
        {main_control(1003), "read-only"},
        {main_control(1004), ""},
        {login_control(1), "push default"},
        {login_control(1011), "check"},
        {login_control(1008), "multiline read-only vscroll hscroll"},
        {login_control(1006), "vscroll"},
        {login_control(1007), "sorted vscroll"},
        {made_up("Edit", ws_border | es_autohscroll), ""},
        {made_up("Edit", es_readonly), "read-only"},
        {made_up("Edit", es_multiline), "multiline wraps"},
        {made_up("ComboBox", cbs_sort), "sorted"},
        {made_up("Button", ws_tabstop | bs_autocheckbox), "check"},
        {made_up("Static", es_readonly | cbs_sort | bs_defpushbutton), ""},
    };
    for (const auto& [control, kinds] : rows) {
        EXPECT_EQ(kinds_of(control), kinds) << control.name << " " << control.id;
    }
}

TEST(dialog_templates, name_what_each_dialog_frame_offers) {
    const auto frame = [](const dialog_template& d) {
        return std::vector<bool>{has_caption(d), has_window_menu(d), has_minimize_box(d),
                                 has_maximize_box(d)};
    };
    // caption, window menu, minimise box, maximise box
    EXPECT_EQ(frame(main_dialog_template), (std::vector<bool>{true, true, true, false}));
    EXPECT_EQ(frame(login_dialog_template), (std::vector<bool>{true, true, false, true}));
}

}  // namespace
