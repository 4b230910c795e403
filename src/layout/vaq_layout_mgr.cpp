#include "layout/vaq_layout_mgr.h"

#include <algorithm>

namespace {

constexpr const char* updown_class = "msctls_updown32";
// An up-down control aligned to its buddy's right or left edge follows the buddy.
constexpr std::uint32_t updown_aligned = 0x04 | 0x08;

}  // namespace

VaqLayoutMgr::VaqLayoutMgr(layout_window& window) : window(&window) {}

VaqLayoutMgr::~VaqLayoutMgr() {
    root.reset();
}

layout_rect VaqLayoutMgr::layoutArea() {
    return window->client_rect();
}

void VaqLayoutMgr::relayoutWith(CPaneBase newRoot) {
    root = std::move(newRoot);
    relayout();
}

void VaqLayoutMgr::relayout() {
    if (!root) {
        return;
    }
    if (window->is_top_level()) {
        holdWithinLimits(layoutArea());
    }
    // The move above may have changed the size (and laid out already, re-entering here).
    const layout_rect area = layoutArea();
    layoutInto({area.left + rootBorder.width, area.top + rootBorder.height,
                area.right - rootBorder.width, area.bottom - rootBorder.height});
    realignUpDowns();
    window->invalidate();
}

void VaqLayoutMgr::layoutInto(const layout_rect& rect) {
    if (rect.width() == 0 || rect.height() == 0 || !root) {
        return;
    }
    // Held here so that a toolkit re-entering during the moves cannot free the tree under us.
    const CPaneBase tree = root;
    tree->placeIn(rect);
}

VaqLayoutMgr::CPaneBase VaqLayoutMgr::newItem(std::int32_t id, std::uint32_t mode,
                                              std::int32_t minWidth, std::int32_t minHeight) {
    return CPaneBase(new PaneItem(this, id, mode, minWidth, minHeight));
}

VaqLayoutMgr::CPaneBase VaqLayoutMgr::newPane(std::int32_t orientation, std::uint32_t mode,
                                              std::int32_t gap) {
    return CPaneBase(new Pane(this, orientation, mode, gap));
}

VaqLayoutMgr::CPaneBase VaqLayoutMgr::makeRoot() {
    root.reset();
    root = newPane(ORIENT_VERT, FLEXIBLE, 5);
    return root;
}

frame_limits VaqLayoutMgr::frameLimits(const layout_rect& area, const layout_rect& frame) const {
    const std::int32_t extraWidth = frame.width() - area.width() + 2 * rootBorder.width;
    const std::int32_t extraHeight = frame.height() - area.height() + 2 * rootBorder.height;
    frame_limits lim;
    lim.min_width = root->minWidth() + extraWidth;
    lim.min_height = root->minHeight() + extraHeight;
    const std::int32_t maxWidth = root->maxWidth();
    const std::int32_t maxHeight = root->maxHeight();
    lim.max_width = maxWidth == -1 ? -1 : maxWidth + extraWidth;
    lim.max_height = maxHeight == -1 ? -1 : maxHeight + extraHeight;
    return lim;
}

void VaqLayoutMgr::holdWithinLimits(const layout_rect& area) {
    layout_rect w = window->window_rect();
    frame_limits lim = frameLimits(area, w);
    if (lim.max_width != -1) {
        lim.max_width = std::max(lim.max_width, lim.min_width);
    }
    if (lim.max_height != -1) {
        lim.max_height = std::max(lim.max_height, lim.min_height);
    }
    if (w.width() < lim.min_width) {
        w.right = w.left + lim.min_width;
    }
    if (w.height() < lim.min_height) {
        w.bottom = w.top + lim.min_height;
    }
    if (lim.max_width != -1 && w.width() > lim.max_width) {
        w.right = w.left + lim.max_width;
    }
    if (lim.max_height != -1 && w.height() > lim.max_height) {
        w.bottom = w.top + lim.max_height;
    }
    window->move_window(w);
}

void VaqLayoutMgr::realignUpDowns() {
    for (layout_control c : window->children()) {
        if (window->control_class(c) != updown_class || !window->control_visible(c)) {
            continue;
        }
        const layout_control buddy = window->updown_buddy(c);
        if (buddy != nullptr && (window->control_style(c) & updown_aligned) != 0) {
            window->set_updown_buddy(c, buddy);
        }
    }
}
