#include "win32/layout_window_win32.h"

#include <commctrl.h>

namespace {

HWND handle(layout_control control) {
    return static_cast<HWND>(control);
}

layout_rect from_rect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// Class names are read into a buffer of this size, as the platform's longest names need.
constexpr int class_name_size = 260;

}  // namespace

layout_rect Clayout_window_win32::client_rect_of(layout_control control) {
    RECT r;
    GetWindowRect(handle(control), &r);
    MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&r), 2);
    return from_rect(r);
}

layout_control Clayout_window_win32::child(std::int32_t id) {
    return GetDlgItem(window_, id);
}

std::vector<layout_control> Clayout_window_win32::children() {
    std::vector<layout_control> all;
    for (HWND c = GetWindow(window_, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        all.push_back(c);
    }
    return all;
}

layout_rect Clayout_window_win32::control_rect(layout_control control) {
    RECT r;
    GetWindowRect(handle(control), &r);
    return from_rect(r);
}

std::string Clayout_window_win32::control_class(layout_control control) {
    char name[class_name_size];
    const int length = GetClassNameA(handle(control), name, class_name_size);
    return std::string(name, static_cast<std::size_t>(length > 0 ? length : 0));
}

std::uint32_t Clayout_window_win32::control_style(layout_control control) {
    return static_cast<std::uint32_t>(GetWindowLongA(handle(control), GWL_STYLE));
}

bool Clayout_window_win32::control_visible(layout_control control) {
    return IsWindowVisible(handle(control)) != FALSE;
}

void Clayout_window_win32::move_control(layout_control control, const layout_rect& rect) {
    MoveWindow(handle(control), rect.left, rect.top, rect.width(), rect.height(), TRUE);
    RedrawWindow(handle(control), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

layout_control Clayout_window_win32::updown_buddy(layout_control updown) {
    return reinterpret_cast<HWND>(SendMessageA(handle(updown), UDM_GETBUDDY, 0, 0));
}

void Clayout_window_win32::set_updown_buddy(layout_control updown, layout_control buddy) {
    SendMessageA(handle(updown), UDM_SETBUDDY, reinterpret_cast<WPARAM>(handle(buddy)), 0);
}

layout_rect Clayout_window_win32::window_rect() {
    RECT r;
    GetWindowRect(window_, &r);
    return from_rect(r);
}

layout_rect Clayout_window_win32::client_rect() {
    RECT r;
    GetClientRect(window_, &r);
    return from_rect(r);
}

bool Clayout_window_win32::is_top_level() {
    return (GetWindowLongA(window_, GWL_STYLE) & WS_CHILD) == 0;
}

void Clayout_window_win32::move_window(const layout_rect& rect) {
    // The rectangle is on the screen; MoveWindow wants the parent's coordinates, which for a
    // top-level window are the screen's.
    RECT r{rect.left, rect.top, rect.right, rect.bottom};
    MapWindowPoints(HWND_DESKTOP, GetAncestor(window_, GA_PARENT), reinterpret_cast<POINT*>(&r), 2);
    MoveWindow(window_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void Clayout_window_win32::invalidate() {
    InvalidateRect(window_, nullptr, TRUE);
}
