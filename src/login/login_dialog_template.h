#pragma once
#include "support/dialog_template.h"

// The login dialog's template: the game and nick lists, the reset check box, OK and the
// transcript. The resource script holds the same; a Windows test compares the built program's
// with this.

// Identifiers of its controls.
namespace login_controls {
inline constexpr std::int32_t ok = 1;
inline constexpr std::int32_t game = 1006;
inline constexpr std::int32_t nick = 1007;
inline constexpr std::int32_t transcript = 1008;
inline constexpr std::int32_t reset_passwords = 1011;
}  // namespace login_controls

namespace login_dialog_detail {
constexpr std::uint32_t list_style = ws_vscroll | ws_tabstop | cbs_dropdownlist;

inline constexpr dialog_control_template controls[] = {
    {login_controls::game, "ComboBox", list_style, 0, 7, 7, 50, 443, "", "game_list"},
    {login_controls::nick, "ComboBox", list_style | cbs_sort, 0, 7, 24, 50, 427, "", "nick_list"},
    {login_controls::reset_passwords, "Button", ws_tabstop | bs_autocheckbox, 0, 7, 77, 41, 10,
     "Reset Passwords", "reset_passwords"},
    {login_controls::ok, "Button", ws_tabstop | bs_defpushbutton, 0, 273, 7, 50, 14, "OK", "ok"},
    {login_controls::transcript, "Edit",
     ws_border | ws_vscroll | ws_hscroll | ws_tabstop | es_multiline | es_autohscroll | es_readonly,
     0, 7, 43, 50, 25, "", "transcript"},
};
}  // namespace login_dialog_detail

inline constexpr dialog_template login_dialog_template = {
    129,
    true,
    "Login",
    ds_modalframe | ws_popup | ws_caption | ws_sysmenu | ws_maximizebox,
    0,
    0,
    0,
    330,
    300,
    8,
    "MS Sans Serif",
    login_dialog_detail::controls,
    std::size(login_dialog_detail::controls),
};
