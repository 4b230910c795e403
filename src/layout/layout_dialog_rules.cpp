#include "layout/layout_dialog_rules.h"

#include <cstdlib>

namespace {

constexpr std::uint32_t button_kind_bits = 7;
constexpr std::uint32_t group_box_kind = 7;
// The panes reach this far below the status bar's top edge.
constexpr std::int32_t status_bar_overlap = 5;

bool is_group_box(const erase_child& c) {
    return c.className == "Button" && (c.style & button_kind_bits) == group_box_kind;
}

}  // namespace

layout_rect dialog_layout_area(const layout_rect& client,
                               std::optional<std::int32_t> statusBarHeight,
                               std::int32_t rootBorderHeight) {
    layout_rect area = client;
    if (statusBarHeight) {
        area.bottom = client.bottom - *statusBarHeight + rootBorderHeight + status_bar_overlap;
    }
    return area;
}

layout_rect status_bar_place(const layout_rect& client, std::int32_t statusBarHeight) {
    return {client.left, client.bottom - statusBarHeight, client.right, client.bottom};
}

bool size_change_lays_out(std::int32_t cx, std::int32_t cy) {
    return std::llabs(cx) + std::llabs(cy) > 0;
}

std::optional<frame_limits> tracking_limits(VaqLayoutMgr& manager) {
    if (!manager.root) {
        return std::nullopt;
    }
    const layout_rect area = manager.layoutArea();
    if (area.height() <= 0 && area.width() <= 0) {
        return std::nullopt;
    }
    return manager.frameLimits(area, manager.window->window_rect());
}

std::vector<erase_cut> background_cuts(
    const std::vector<erase_child>& children,
    const std::function<layout_rect(const erase_child&)>& tabDisplayArea) {
    std::vector<erase_cut> cuts;
    for (const erase_child& c : children) {
        if (!c.visible || is_group_box(c)) {
            continue;
        }
        erase_cut cut;
        cut.rect = c.rect;
        if (c.className == "SysTabControl32") {
            cut.shape = erase_cut::frame;
            cut.inner = tabDisplayArea(c);
        } else if (c.className == "msctls_statusbar32") {
            const layout_rect& r = c.rect;
            cut.shape = erase_cut::triangle;
            cut.corners = {layout_point{r.right, r.top}, layout_point{r.right, r.bottom},
                           layout_point{r.right - r.height(), r.bottom}};
        }
        cuts.push_back(cut);
    }
    return cuts;
}
