#pragma once
#include "support/dialog_template.h"

// The main dialog's template: the two address controls, the two path fields and the buttons.
// The resource script holds the same; a Windows test compares the built program's with this.

// Identifiers of its controls; a button's is also its command.
namespace main_controls {
inline constexpr std::int32_t hosts_path = 1003;
inline constexpr std::int32_t community_address = 1004;
inline constexpr std::int32_t current_address = 1005;
inline constexpr std::int32_t api_path = 1008;
inline constexpr std::int32_t reset = 1002;
inline constexpr std::int32_t test = 1007;
inline constexpr std::int32_t ladders = 1009;
}  // namespace main_controls

// Commands with no control in the template; a menu of the window offers them.
namespace main_menu_commands {
inline constexpr std::int32_t apply = 1001;
inline constexpr std::int32_t open_hosts_file = 1006;
}  // namespace main_menu_commands

namespace main_dialog_detail {
constexpr std::uint32_t address_style = ws_tabstop;
constexpr std::uint32_t path_style = ws_border | ws_tabstop | es_autohscroll | es_readonly;
constexpr std::uint32_t button_style = bs_pushbutton | ws_tabstop;

inline constexpr dialog_control_template controls[] = {
    {main_controls::community_address, "SysIPAddress32", address_style, 0, 7, 7, 100, 15, "",
     "community_address"},
    {main_controls::current_address, "SysIPAddress32", address_style, 0, 7, 24, 100, 15, "",
     "current_address"},
    {main_controls::hosts_path, "Edit", path_style, 0, 7, 41, 331, 14, "", "hosts_path"},
    {main_controls::api_path, "Edit", path_style, 0, 7, 57, 331, 14, "", "api_path"},
    {main_controls::ladders, "Button", button_style, 0, 343, 7, 50, 14, "&Ladders", "ladders"},
    {main_controls::reset, "Button", button_style, 0, 343, 24, 50, 14, "&Reset (WOL)", "reset"},
    {main_controls::test, "Button", button_style, 0, 343, 57, 50, 14, "&Test", "test"},
};
}  // namespace main_dialog_detail

inline constexpr dialog_template main_dialog_template = {
    102,
    false,
    "Ketrin Client",
    ds_modalframe | ws_popup | ws_visible | ws_caption | ws_sysmenu | ws_minimizebox,
    ws_ex_appwindow,
    0,
    0,
    400,
    78,
    8,
    "MS Sans Serif",
    main_dialog_detail::controls,
    std::size(main_dialog_detail::controls),
};
