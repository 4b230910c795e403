#pragma once
#include <optional>

#include "layout/fake_layout_window.h"
#include "layout/layout_dialog_rules.h"
#include "layout/vaq_layout_mgr.h"

// The manager as the layout dialog uses it: the layout area leaves room for a status bar,
// and a size change of the window lays out again unless it is a minimise.
class fake_layout_dialog : public VaqLayoutMgr {
  public:
    explicit fake_layout_dialog(fake_layout_window& win) : VaqLayoutMgr(win) {
        win.onSize = [this](std::int32_t cx, std::int32_t cy) {
            if (size_change_lays_out(cx, cy)) {
                relayout();
            }
        };
    }

    std::optional<std::int32_t> statusBarHeight = 20;
    layout_rect lastRootRect;  // where the root was last laid out

    layout_rect layoutArea() override {
        return dialog_layout_area(window->client_rect(), statusBarHeight, rootBorder.height);
    }
    void layoutInto(const layout_rect& rect) override {
        lastRootRect = rect;
        VaqLayoutMgr::layoutInto(rect);
    }
};
