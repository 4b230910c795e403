#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "layout/layout_window.h"

// A child control of the fake window; its rectangle is in client coordinates.
struct fake_control {
    std::int32_t id = 0;
    layout_rect rect;
    std::string className = "Static";
    std::uint32_t style = 0;
    bool visible = true;
    layout_control buddy = nullptr;
};

// A window that reports the sizes a test gives it and records what the layout does to it.
// Its client area sits inside a frame (caption and borders), somewhere on the screen, so
// that screen and client coordinates differ.
class fake_layout_window : public layout_window {
  public:
    layout_point origin{300, 200};    // the window's top-left corner on the screen
    layout_rect insets{8, 31, 8, 8};  // frame widths: left, caption + top, right, bottom
    layout_size client{500, 400};
    bool topLevel = true;
    // The owner's size handler, called with the new client size when a move resizes.
    std::function<void(std::int32_t, std::int32_t)> onSize;

    std::vector<std::pair<layout_control, layout_rect>> moves;
    std::vector<layout_rect> windowMoves;
    std::vector<std::pair<layout_control, layout_control>> buddiesSet;
    int invalidations = 0;

    layout_control add(std::int32_t id, layout_rect rect, std::string className = "Static",
                       std::uint32_t style = 0);
    fake_control& at(layout_control control);
    // The control's present rectangle in client coordinates.
    layout_rect placed(std::int32_t id);
    // The window rectangle at the present origin for a client area of `width` by `height`.
    layout_rect frameFor(std::int32_t width, std::int32_t height) const;

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
    std::deque<fake_control> controls_;  // z order, topmost first; addresses stay put
};
