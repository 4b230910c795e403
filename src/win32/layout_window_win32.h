#pragma once
#include <windows.h>

#include "layout/layout_window.h"

// The pane layout's view of one Win32 window and its child controls.
class Clayout_window_win32 : public layout_window {
  public:
    // The window is known only once it exists; until then nothing may be asked of it.
    void attach(HWND window) { window_ = window; }

    // A child's window rectangle in the window's client coordinates.
    layout_rect client_rect_of(layout_control control);

    layout_control child(std::int32_t id) override;
    std::vector<layout_control> children() override;
    layout_rect control_rect(layout_control control) override;
    std::string control_class(layout_control control) override;
    std::uint32_t control_style(layout_control control) override;
    bool control_visible(layout_control control) override;
    void move_control(layout_control control, const layout_rect& rect) override;
    layout_control updown_buddy(layout_control updown) override;
    void set_updown_buddy(layout_control updown, layout_control buddy) override;
    layout_rect window_rect() override;
    layout_rect client_rect() override;
    bool is_top_level() override;
    void move_window(const layout_rect& rect) override;
    void invalidate() override;

  private:
    HWND window_ = nullptr;
};
