#pragma once
#include "layout/layout_window.h"

#include <map>
#include <string>
#include <vector>

class QWidget;

// A Qt window as the pane layout sees it. Its controls are registered under their template
// identifiers with the window class and style the Windows template gives them, so that the
// layout's class and style rules (closed combo boxes keep their height) hold the same way.
class Cqt_layout_window : public layout_window {
  public:
    explicit Cqt_layout_window(QWidget* window) : window_(window) {}

    void add_control(std::int32_t id, QWidget* control, std::string class_name,
                     std::uint32_t style);

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
    struct control_info {
        std::int32_t id;
        QWidget* widget;
        std::string class_name;
        std::uint32_t style;
    };
    const control_info* find(layout_control control) const;

    QWidget* window_;
    std::vector<control_info> controls_;  // in the order they were made: bottom of z order first
};
