#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "layout/layout_rect.h"
#include "layout/layout_window.h"
#include "layout/vaq_layout_mgr.h"

// What a resizable layout dialog computes, whatever toolkit draws it.

// The area the panes may use: the client rectangle, whose bottom, when a status bar is shown,
// moves up by the bar's height less the root border and 5 more pixels, so that the panes'
// bottom edge lies 5 pixels below the bar's top edge.
layout_rect dialog_layout_area(const layout_rect& client,
                               std::optional<std::int32_t> statusBarHeight,
                               std::int32_t rootBorderHeight);

// Where the status bar goes: along the bottom of the client area, full width, own height.
layout_rect status_bar_place(const layout_rect& client, std::int32_t statusBarHeight);

// Whether a size change lays out again: a minimised window (0 by 0) is left alone.
bool size_change_lays_out(std::int32_t cx, std::int32_t cy);

// The minimum and maximum tracking sizes of the dialog, or nothing when the platform's
// values are to stay (no tree yet, or an empty layout area). A maximum of -1 leaves the
// platform's value for that direction.
std::optional<frame_limits> tracking_limits(VaqLayoutMgr& manager);

// A child window, as the background erase sees it.
struct erase_child {
    layout_control control = nullptr;
    layout_rect rect;  // client coordinates
    std::string className;
    std::uint32_t style = 0;
    bool visible = false;
};

// A part of the client area that the background erase leaves alone.
struct erase_cut {
    enum shape_kind { rectangle, frame, triangle };
    shape_kind shape = rectangle;
    layout_rect rect;                       // the rectangle, or the frame's outer edge
    layout_rect inner;                      // frame: the area inside it that is still erased
    std::array<layout_point, 3> corners{};  // triangle, filled by the winding rule
};

// The cuts to subtract from the client area before filling it with the background: every
// visible child but group boxes; of a tab control only its frame and tabs (its display area,
// which `tabDisplayArea` computes from the control, is still erased); of a status bar only
// its size-grip triangle.
std::vector<erase_cut> background_cuts(
    const std::vector<erase_child>& children,
    const std::function<layout_rect(const erase_child&)>& tabDisplayArea);
