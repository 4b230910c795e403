#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "layout/layout_rect.h"

// A child control of the laid-out window, as the toolkit knows it; nullptr is "no control".
using layout_control = void*;

// What the pane layout needs from the window whose child controls it arranges. One
// implementation per toolkit; the layout itself never sees the toolkit.
class layout_window {
  public:
    virtual ~layout_window() = default;

    // The child control with this identifier, or nullptr when there is none.
    virtual layout_control child(std::int32_t id) = 0;
    // Every child control, in z order (topmost first).
    virtual std::vector<layout_control> children() = 0;
    // A control's rectangle in screen coordinates.
    virtual layout_rect control_rect(layout_control control) = 0;
    // A control's window class name ("ComboBox", "msctls_updown32", ...), compared exactly.
    virtual std::string control_class(layout_control control) = 0;
    // A control's style bits.
    virtual std::uint32_t control_style(layout_control control) = 0;
    // Whether a control is shown.
    virtual bool control_visible(layout_control control) = 0;
    // Moves and sizes a control (client coordinates) and repaints it at once.
    virtual void move_control(layout_control control, const layout_rect& rect) = 0;
    // The buddy of an up-down control, or nullptr.
    virtual layout_control updown_buddy(layout_control updown) = 0;
    // Gives an up-down control its buddy again, so that it realigns to the buddy's place.
    virtual void set_updown_buddy(layout_control updown, layout_control buddy) = 0;

    // The window's own rectangle in screen coordinates.
    virtual layout_rect window_rect() = 0;
    // The window's client rectangle; left and top are 0.
    virtual layout_rect client_rect() = 0;
    // True for a top-level window (not a child window): the layout holds it within its limits.
    virtual bool is_top_level() = 0;
    // Moves and sizes the window; a size change reaches the owner's size handler (which
    // may lay out again) before this returns.
    virtual void move_window(const layout_rect& rect) = 0;
    // Schedules a repaint of the whole window with its background erased.
    virtual void invalidate() = 0;
};
