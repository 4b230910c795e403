#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>

// A dialog template as plain data: what the Windows resource script says about a dialog and its
// controls, readable by code that knows no toolkit. Positions and sizes are in dialog units.

// Window style bits, with the values the Windows headers give them.
inline constexpr std::uint32_t ws_popup = 0x80000000;
inline constexpr std::uint32_t ws_child = 0x40000000;
inline constexpr std::uint32_t ws_visible = 0x10000000;
inline constexpr std::uint32_t ws_caption = 0x00C00000;
inline constexpr std::uint32_t ws_border = 0x00800000;
inline constexpr std::uint32_t ws_vscroll = 0x00200000;
inline constexpr std::uint32_t ws_hscroll = 0x00100000;
inline constexpr std::uint32_t ws_sysmenu = 0x00080000;
inline constexpr std::uint32_t ws_minimizebox = 0x00020000;
inline constexpr std::uint32_t ws_maximizebox = 0x00010000;
inline constexpr std::uint32_t ws_tabstop = 0x00010000;  // a control's; a frame's is the box
inline constexpr std::uint32_t ws_ex_appwindow = 0x00040000;
inline constexpr std::uint32_t ds_setfont = 0x0040;
inline constexpr std::uint32_t ds_modalframe = 0x0080;
inline constexpr std::uint32_t bs_pushbutton = 0x0000;
inline constexpr std::uint32_t bs_defpushbutton = 0x0001;
inline constexpr std::uint32_t bs_autocheckbox = 0x0003;
inline constexpr std::uint32_t bs_kind_mask = 0x000F;
inline constexpr std::uint32_t es_multiline = 0x0004;
inline constexpr std::uint32_t es_autohscroll = 0x0080;
inline constexpr std::uint32_t es_readonly = 0x0800;
inline constexpr std::uint32_t cbs_dropdownlist = 0x0003;
inline constexpr std::uint32_t cbs_sort = 0x0100;

struct dialog_control_template {
    std::int32_t id;
    const char* window_class;  // "Button", "Edit", "ComboBox", "SysIPAddress32"
    std::uint32_t style;       // as the script writes it (see control_window_style)
    std::uint32_t ex_style;
    std::int16_t x, y, cx, cy;
    const char* text;
    const char* name;  // what code and test messages call the control; not in the resource
};

struct dialog_template {
    std::int32_t id;
    bool extended;  // DIALOGEX rather than DIALOG
    const char* caption;
    std::uint32_t style;  // as the script writes it (see dialog_window_style)
    std::uint32_t ex_style;
    std::int16_t x, y, cx, cy;
    std::uint16_t font_points;
    const char* font_face;
    const dialog_control_template* controls;  // in template order, which is the tab order
    std::size_t control_count;

    const dialog_control_template* begin() const { return controls; }
    const dialog_control_template* end() const { return controls + control_count; }
};

// The styles the compiled resource holds, and so the windows made from it: the resource compiler
// makes every control a visible child, and a dialog with a font gets DS_SETFONT, which tells the
// platform that the template carries the font fields.
constexpr std::uint32_t control_window_style(const dialog_control_template& control) {
    return control.style | ws_child | ws_visible;
}
constexpr std::uint32_t dialog_window_style(const dialog_template& dialog) {
    return dialog.style | (dialog.font_face != nullptr ? ds_setfont : 0);
}

// What a control is, read from its class and style, for toolkits that make their own widgets.
inline bool is_class(const dialog_control_template& control, const char* window_class) {
    return std::strcmp(control.window_class, window_class) == 0;
}
inline bool is_check_box(const dialog_control_template& control) {
    return is_class(control, "Button") && (control.style & bs_kind_mask) == bs_autocheckbox;
}
inline bool is_default_button(const dialog_control_template& control) {
    return is_class(control, "Button") && (control.style & bs_kind_mask) == bs_defpushbutton;
}
inline bool is_push_button(const dialog_control_template& control) {
    return is_class(control, "Button") && !is_check_box(control);
}
inline bool is_multiline(const dialog_control_template& control) {
    return is_class(control, "Edit") && (control.style & es_multiline) != 0;
}
inline bool is_read_only(const dialog_control_template& control) {
    return is_class(control, "Edit") && (control.style & es_readonly) != 0;
}
inline bool is_sorted(const dialog_control_template& control) {
    return is_class(control, "ComboBox") && (control.style & cbs_sort) != 0;
}
// A multiline edit that scrolls sideways does not wrap its lines.
inline bool wraps_lines(const dialog_control_template& control) {
    return is_multiline(control) && (control.style & es_autohscroll) == 0;
}
inline bool has_vertical_scroll_bar(const dialog_control_template& control) {
    return (control.style & ws_vscroll) != 0;
}
inline bool has_horizontal_scroll_bar(const dialog_control_template& control) {
    return (control.style & ws_hscroll) != 0;
}

// What a dialog's frame offers.
inline bool has_caption(const dialog_template& dialog) {
    return (dialog.style & ws_caption) == ws_caption;
}
inline bool has_window_menu(const dialog_template& dialog) {
    return (dialog.style & ws_sysmenu) != 0;
}
inline bool has_minimize_box(const dialog_template& dialog) {
    return (dialog.style & ws_minimizebox) != 0;
}
inline bool has_maximize_box(const dialog_template& dialog) {
    return (dialog.style & ws_maximizebox) != 0;
}

// The control with this identifier, or nullptr.
inline const dialog_control_template* find_control(const dialog_template& dialog, std::int32_t id) {
    for (const dialog_control_template& control : dialog) {
        if (control.id == id) {
            return &control;
        }
    }
    return nullptr;
}
