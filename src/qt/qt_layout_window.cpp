#include "qt/qt_layout_window.h"

#include <QWidget>

#include <utility>

namespace {

layout_rect to_layout_rect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QWidget* widget_of(layout_control control) {
    return static_cast<QWidget*>(control);
}

}  // namespace

void Cqt_layout_window::add_control(std::int32_t id, QWidget* control, std::string class_name,
                                    std::uint32_t style) {
    controls_.push_back({id, control, std::move(class_name), style});
}

const Cqt_layout_window::control_info* Cqt_layout_window::find(layout_control control) const {
    for (const control_info& info : controls_) {
        if (info.widget == control) {
            return &info;
        }
    }
    return nullptr;
}

layout_control Cqt_layout_window::child(std::int32_t id) {
    for (const control_info& info : controls_) {
        if (info.id == id) {
            return info.widget;
        }
    }
    return nullptr;
}

std::vector<layout_control> Cqt_layout_window::children() {
    std::vector<layout_control> topmost_first;
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        topmost_first.push_back(it->widget);
    }
    return topmost_first;
}

layout_rect Cqt_layout_window::control_rect(layout_control control) {
    const QWidget* widget = widget_of(control);
    return to_layout_rect(QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()));
}

std::string Cqt_layout_window::control_class(layout_control control) {
    const control_info* info = find(control);
    return info != nullptr ? info->class_name : std::string();
}

std::uint32_t Cqt_layout_window::control_style(layout_control control) {
    const control_info* info = find(control);
    return info != nullptr ? info->style : 0;
}

bool Cqt_layout_window::control_visible(layout_control control) {
    return widget_of(control)->isVisibleTo(window_);
}

void Cqt_layout_window::move_control(layout_control control, const layout_rect& rect) {
    QWidget* widget = widget_of(control);
    widget->setGeometry(rect.left, rect.top, rect.width(), rect.height());
    widget->update();
}

// Qt has no up-down controls with buddies; nothing here needs realigning.
layout_control Cqt_layout_window::updown_buddy(layout_control) {
    return nullptr;
}

void Cqt_layout_window::set_updown_buddy(layout_control, layout_control) {}

layout_rect Cqt_layout_window::window_rect() {
    if (window_->isWindow()) {
        return to_layout_rect(window_->frameGeometry());
    }
    return to_layout_rect(QRect(window_->mapToGlobal(QPoint(0, 0)), window_->size()));
}

layout_rect Cqt_layout_window::client_rect() {
    return {0, 0, window_->width(), window_->height()};
}

bool Cqt_layout_window::is_top_level() {
    return window_->isWindow();
}

void Cqt_layout_window::move_window(const layout_rect& rect) {
    // The rectangle includes the frame; Qt sizes the client area.
    const layout_rect frame = window_rect();
    const QSize client(rect.width() - (frame.width() - window_->width()),
                       rect.height() - (frame.height() - window_->height()));
    if (client != window_->size()) {
        window_->resize(client);
    }
}

void Cqt_layout_window::invalidate() {
    window_->update();
}
