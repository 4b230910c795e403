#include <algorithm>

#include "layout/flexible_shares.h"
#include "layout/vaq_layout_mgr.h"

using PaneBase = VaqLayoutMgr::PaneBase;

namespace {

// Every child counts at least this much in a pane's minimum along its direction.
constexpr std::int32_t least_child_size = 5;

std::int32_t minimum(const PaneBase& node, bool widthwise) {
    return widthwise ? node.minWidth() : node.minHeight();
}

std::int32_t maximum(const PaneBase& node, bool widthwise) {
    return widthwise ? node.maxWidth() : node.maxHeight();
}

}  // namespace

VaqLayoutMgr::Pane::Pane(VaqLayoutMgr* manager, std::int32_t orientation, std::uint32_t mode,
                         std::int32_t gap)
    : PaneBase(mode, manager), orientation(orientation), gap(gap) {}

void VaqLayoutMgr::Pane::appendItem(CPaneBase node) {
    if (node) {
        items.push_back(std::move(node));
    }
}

void VaqLayoutMgr::Pane::appendPane(CPaneBase pane, std::uint32_t m, std::int32_t f) {
    Pane* sub = pane.pane();
    if (sub == nullptr) {
        appendItem(std::move(pane));
        return;
    }
    if (sub->orientation == orientation) {
        // Same-orientation panes would merge into one row; the wrapper keeps P a unit.
        CPaneBase wrapper(new Pane(manager, horizontal() ? ORIENT_VERT : ORIENT_HORZ, m, 0));
        wrapper.pane()->appendItem(std::move(pane));
        appendPane(std::move(wrapper), m, f);
        return;
    }
    sub->mode = m;
    if (horizontal() && (m & FIXED_WIDTH) != 0 && f == 0) {
        sub->fixedSize = sub->minWidth();
    }
    if (!horizontal() && (m & FIXED_HEIGHT) != 0 && f == 0) {
        sub->fixedSize = sub->minHeight();
    }
    items.push_back(std::move(pane));
}

std::int32_t VaqLayoutMgr::Pane::fixedWidth(std::int32_t) const {
    return (mode & FIXED_WIDTH) != 0 ? fixedSize : 0;
}

std::int32_t VaqLayoutMgr::Pane::fixedHeight(std::int32_t) const {
    return (mode & FIXED_HEIGHT) != 0 ? fixedSize : 0;
}

std::int32_t VaqLayoutMgr::Pane::minWidth() const {
    return horizontal() ? minimumAlong() : minimumAcross(FIXED_WIDTH);
}

std::int32_t VaqLayoutMgr::Pane::maxWidth() const {
    return horizontal() ? maximumAlong() : maximumAcross(FIXED_WIDTH);
}

std::int32_t VaqLayoutMgr::Pane::minHeight() const {
    return horizontal() ? minimumAcross(FIXED_HEIGHT) : minimumAlong();
}

std::int32_t VaqLayoutMgr::Pane::maxHeight() const {
    return horizontal() ? maximumAcross(FIXED_HEIGHT) : maximumAlong();
}

std::int32_t VaqLayoutMgr::Pane::minimumAlong() const {
    std::int32_t sum = 0;
    for (const CPaneBase& child : items) {
        sum += std::max(minimum(*child, horizontal()), least_child_size);
    }
    // Gaps lie only between children: an empty pane needs nothing.
    const std::int32_t gaps =
        std::max<std::int32_t>(static_cast<std::int32_t>(items.size()) - 1, 0);
    return sum + gaps * gap;
}

std::int32_t VaqLayoutMgr::Pane::maximumAlong() const {
    if (items.empty()) {
        return -1;
    }
    std::int32_t sum = 0;
    for (const CPaneBase& child : items) {
        const std::int32_t m = maximum(*child, horizontal());
        if (m == -1) {
            return -1;
        }
        sum += m;
    }
    return sum + static_cast<std::int32_t>(items.size() - 1) * gap;
}

std::int32_t VaqLayoutMgr::Pane::minimumAcross(std::uint32_t fixedBit) const {
    if ((mode & fixedBit) != 0 && fixedSize != 0) {
        return fixedSize;
    }
    std::int32_t largest = 0;
    for (const CPaneBase& child : items) {
        largest = std::max(largest, minimum(*child, !horizontal()));
    }
    return largest;
}

std::int32_t VaqLayoutMgr::Pane::maximumAcross(std::uint32_t fixedBit) const {
    if ((mode & fixedBit) != 0 && fixedSize != 0) {
        return fixedSize;
    }
    if (items.empty()) {
        return -1;
    }
    std::int32_t largest = 0;
    for (const CPaneBase& child : items) {
        const std::int32_t m = maximum(*child, !horizontal());
        if (m == -1) {
            return -1;
        }
        largest = std::max(largest, m);
    }
    return largest;
}

bool VaqLayoutMgr::Pane::placeIn(const layout_rect& rect) {
    if (items.empty()) {
        return true;
    }
    const std::uint32_t fixedAlong = horizontal() ? FIXED_WIDTH : FIXED_HEIGHT;
    std::int32_t space = (horizontal() ? rect.width() : rect.height()) -
                         static_cast<std::int32_t>(items.size() - 1) * gap;
    std::vector<flexible_cell> cells(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const PaneBase& child = *items[i];
        flexible_cell& c = cells[i];
        c.flexible = (child.mode & fixedAlong) == 0;
        if (!c.flexible) {
            c.size = horizontal() ? child.fixedWidth(0) : child.fixedHeight(0);
            space -= c.size;
        }
        c.min = minimum(child, horizontal());
        c.max = maximum(child, horizontal());
    }
    share_flexible_space(std::max(space, 0), cells);

    std::int32_t pos = horizontal() ? rect.left : rect.top;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::int32_t size = cells[i].size;
        const layout_rect cell = horizontal() ? layout_rect{pos, rect.top, pos + size, rect.bottom}
                                              : layout_rect{rect.left, pos, rect.right, pos + size};
        items[i]->placeIn(cell);
        pos += size + gap;
    }
    return true;
}
