#pragma once
#include <cstdint>
#include <vector>

// One child of a pane along the pane's direction, while the pane shares out its space.
struct flexible_cell {
    bool flexible = true;
    std::int32_t size = 0;  // a fixed child's size; the result for a flexible one
    std::int32_t min = 0;
    std::int32_t max = -1;  // -1 for unbounded
};

// Shares `space` among the flexible cells: equal shares first, then rounds that move what
// the cells pinned at their minimum or maximum could not take onto the others, then any
// surplus to cells pinned at their minimum. Fixed cells keep their size. When even the
// minima do not fit, the flexible cells keep their minima.
void share_flexible_space(std::int32_t space, std::vector<flexible_cell>& cells);
