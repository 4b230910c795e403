#include "layout/fake_layout_window.h"

#include <stdexcept>

layout_control fake_layout_window::add(std::int32_t id, layout_rect rect, std::string className,
                                       std::uint32_t style) {
    controls_.push_back(fake_control{id, rect, std::move(className), style, true, nullptr});
    return &controls_.back();
}

fake_control& fake_layout_window::at(layout_control control) {
    for (fake_control& c : controls_) {
        if (&c == control) {
            return c;
        }
    }
    throw std::logic_error("the layout used a control the window does not have");
}

layout_rect fake_layout_window::placed(std::int32_t id) {
    return at(child(id)).rect;
}

layout_rect fake_layout_window::frameFor(std::int32_t width, std::int32_t height) const {
    return {origin.x, origin.y, origin.x + insets.left + width + insets.right,
            origin.y + insets.top + height + insets.bottom};
}

layout_control fake_layout_window::child(std::int32_t id) {
    for (fake_control& c : controls_) {
        if (c.id == id) {
            return &c;
        }
    }
    return nullptr;
}

std::vector<layout_control> fake_layout_window::children() {
    std::vector<layout_control> all;
    for (fake_control& c : controls_) {
        all.push_back(&c);
    }
    return all;
}

layout_rect fake_layout_window::control_rect(layout_control control) {
    const layout_rect r = at(control).rect;
    const std::int32_t x = origin.x + insets.left;
    const std::int32_t y = origin.y + insets.top;
    return {r.left + x, r.top + y, r.right + x, r.bottom + y};
}

std::string fake_layout_window::control_class(layout_control control) {
    return at(control).className;
}

std::uint32_t fake_layout_window::control_style(layout_control control) {
    return at(control).style;
}

bool fake_layout_window::control_visible(layout_control control) {
    return at(control).visible;
}

void fake_layout_window::move_control(layout_control control, const layout_rect& rect) {
    at(control).rect = rect;
    moves.emplace_back(control, rect);
}

layout_control fake_layout_window::updown_buddy(layout_control updown) {
    return at(updown).buddy;
}

void fake_layout_window::set_updown_buddy(layout_control updown, layout_control buddy) {
    buddiesSet.emplace_back(updown, buddy);
}

layout_rect fake_layout_window::window_rect() {
    return frameFor(client.width, client.height);
}

layout_rect fake_layout_window::client_rect() {
    return {0, 0, client.width, client.height};
}

bool fake_layout_window::is_top_level() {
    return topLevel;
}

void fake_layout_window::move_window(const layout_rect& rect) {
    windowMoves.push_back(rect);
    origin = {rect.left, rect.top};
    const layout_size size{rect.width() - insets.left - insets.right,
                           rect.height() - insets.top - insets.bottom};
    const bool resized = size.width != client.width || size.height != client.height;
    client = size;
    if (resized && onSize) {
        onSize(size.width, size.height);
    }
}

void fake_layout_window::invalidate() {
    ++invalidations;
}
