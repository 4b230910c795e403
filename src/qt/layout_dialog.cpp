#include "qt/layout_dialog.h"

#include "layout/layout_dialog_rules.h"

#include <QResizeEvent>
#include <QStatusBar>

namespace {

int status_bar_height(const QStatusBar* bar) {
    return bar->sizeHint().height();
}

}  // namespace

Cqt_layout_dialog::Cqt_layout_dialog(QWidget* parent)
    : QDialog(parent),
      status_bar_(new QStatusBar(this)),
      window_(this),
      manager_(window_, status_bar_) {
    status_bar_->setObjectName(QStringLiteral("status_bar"));
    status_bar_->setSizeGripEnabled(true);
    manager_.place_status_bar();
}

layout_rect Cqt_layout_dialog::Cmanager::layoutArea() {
    return dialog_layout_area(window->client_rect(), status_bar_height(status_bar_),
                              rootBorder.height);
}

void Cqt_layout_dialog::Cmanager::relayout() {
    VaqLayoutMgr::relayout();
    place_status_bar();
}

void Cqt_layout_dialog::Cmanager::place_status_bar() {
    const layout_rect place =
        status_bar_place(window->client_rect(), status_bar_height(status_bar_));
    status_bar_->setGeometry(place.left, place.top, place.width(), place.height());
}

void Cqt_layout_dialog::add_control(std::int32_t id, QWidget* control, const char* class_name,
                                    std::uint32_t style) {
    window_.add_control(id, control, class_name, style);
}

void Cqt_layout_dialog::apply_size_limits() {
    const std::optional<frame_limits> limits = tracking_limits(manager_);
    if (!limits) {
        return;
    }
    // The limits are outer sizes; Qt holds the client area.
    const layout_rect frame = window_.window_rect();
    const int extra_width = frame.width() - width();
    const int extra_height = frame.height() - height();
    setMinimumSize(limits->min_width - extra_width, limits->min_height - extra_height);
    setMaximumSize(limits->max_width == -1 ? QWIDGETSIZE_MAX : limits->max_width - extra_width,
                   limits->max_height == -1 ? QWIDGETSIZE_MAX : limits->max_height - extra_height);
}

void Cqt_layout_dialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (size_change_lays_out(event->size().width(), event->size().height())) {
        manager_.relayout();
    } else {
        manager_.place_status_bar();
    }
}
