#include <algorithm>

#include "layout/vaq_layout_mgr.h"

namespace {

// Drop-down and drop-down-list combo boxes: their window height excludes the list.
constexpr std::uint32_t combo_drops_down = 2;
// A flexible item never asks for less than this.
constexpr std::int32_t least_flexible_size = 5;

}  // namespace

VaqLayoutMgr::PaneItem::PaneItem(VaqLayoutMgr* manager, std::int32_t id, std::uint32_t mode,
                                 std::int32_t minWidth, std::int32_t minHeight)
    : PaneBase(mode, manager), givenMinWidth(minWidth), givenMinHeight(minHeight) {
    layout_window& win = *manager->window;
    control = win.child(id);
    if (control == nullptr) {
        return;
    }
    const layout_rect r = win.control_rect(control);
    width = r.width();
    height = r.height();
    if (givenMinWidth == -1) {
        givenMinWidth = width;
    }
    if (givenMinHeight == -1) {
        givenMinHeight = height;
    }
    const std::string cls = win.control_class(control);
    isCombo = cls == "ComboBox" || cls == "ComboBoxEx32";
}

std::int32_t VaqLayoutMgr::PaneItem::fixedWidth(std::int32_t) const {
    return (mode & FIXED_WIDTH) != 0 ? width : -1;
}

std::int32_t VaqLayoutMgr::PaneItem::fixedHeight(std::int32_t) const {
    return (mode & FIXED_HEIGHT) != 0 ? height : -1;
}

std::int32_t VaqLayoutMgr::PaneItem::minWidth() const {
    return (mode & FIXED_WIDTH) != 0 ? width : std::max(givenMinWidth, least_flexible_size);
}

std::int32_t VaqLayoutMgr::PaneItem::maxWidth() const {
    return (mode & FIXED_WIDTH) != 0 ? width : -1;
}

std::int32_t VaqLayoutMgr::PaneItem::minHeight() const {
    return (mode & FIXED_HEIGHT) != 0 ? height : std::max(givenMinHeight, least_flexible_size);
}

std::int32_t VaqLayoutMgr::PaneItem::maxHeight() const {
    return (mode & FIXED_HEIGHT) != 0 ? height : -1;
}

bool VaqLayoutMgr::PaneItem::placeIn(const layout_rect& cell) {
    if (control == nullptr) {
        return true;
    }
    layout_window& win = *manager->window;
    const layout_rect cur = win.control_rect(control);
    layout_rect c = cell;
    if ((mode & FIXED_WIDTH) != 0) {
        c.right = c.left + cur.width();
    }
    if ((mode & FIXED_HEIGHT) != 0) {
        c.bottom = c.top + cur.height();
    }
    if (isCombo && (win.control_style(control) & combo_drops_down) != 0) {
        c.bottom = c.top + cur.height();
    }
    win.move_control(control, c);
    return true;
}
