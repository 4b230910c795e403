#pragma once
#include <cstdint>

// A rectangle in pixels; right and bottom are exclusive.
struct layout_rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    bool operator==(const layout_rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const layout_rect& o) const { return !(*this == o); }
};

struct layout_point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const layout_point& o) const { return x == o.x && y == o.y; }
};

struct layout_size {
    std::int32_t width = 0;
    std::int32_t height = 0;
};
