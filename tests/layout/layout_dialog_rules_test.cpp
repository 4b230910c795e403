#include "layout/layout_dialog_rules.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "layout/fake_layout_window.h"

// Found by argument lookup, so beside erase_cut in the global namespace.
static bool operator==(const erase_cut& a, const erase_cut& b) {
    if (a.shape != b.shape || a.rect != b.rect) {
        return false;
    }
    if (a.shape == erase_cut::frame) {
        return a.inner == b.inner;
    }
    return a.shape != erase_cut::triangle || a.corners == b.corners;
}

static std::ostream& operator<<(std::ostream& os, const erase_cut& c) {
    return os << "shape " << c.shape << " (" << c.rect.left << "," << c.rect.top << ","
              << c.rect.right << "," << c.rect.bottom << ")";
}

namespace {

using M = VaqLayoutMgr;

TEST(dialog_layout_area, leaves_room_for_the_status_bar_less_the_border_and_overlap) {
    struct area_case {
        layout_rect client;
        std::optional<std::int32_t> bar;
        std::int32_t border;
        layout_rect area;
    };
    const area_case cases[] = {
        {{0, 0, 500, 400}, 20, 5, {0, 0, 500, 390}},
        {{0, 0, 500, 400}, std::nullopt, 5, {0, 0, 500, 400}},
        {{0, 0, 500, 400}, 22, 7, {0, 0, 500, 390}},
        {{0, 0, 300, 10}, 20, 5, {0, 0, 300, 0}},
    };
    for (const area_case& c : cases) {
        EXPECT_EQ(dialog_layout_area(c.client, c.bar, c.border), c.area)
            << "bar " << c.bar.value_or(-1) << " border " << c.border;
    }
}

TEST(status_bar_place, runs_along_the_bottom_of_the_client_area) {
    EXPECT_EQ(status_bar_place({0, 0, 500, 400}, 20), (layout_rect{0, 380, 500, 400}));
    EXPECT_EQ(status_bar_place({0, 0, 165, 134}, 23), (layout_rect{0, 111, 165, 134}));
}

TEST(size_change, lays_out_unless_the_window_is_minimised) {
    const std::int32_t least = std::numeric_limits<std::int32_t>::min();
    EXPECT_FALSE(size_change_lays_out(0, 0));
    EXPECT_TRUE(size_change_lays_out(1, 0));
    EXPECT_TRUE(size_change_lays_out(0, 1));
    EXPECT_TRUE(size_change_lays_out(-1, 1));
    EXPECT_TRUE(size_change_lays_out(least, 0));
    EXPECT_TRUE(size_change_lays_out(least, least));
}

// A manager whose layout area a test chooses.
class area_manager : public VaqLayoutMgr {
  public:
    using VaqLayoutMgr::VaqLayoutMgr;
    layout_rect area;
    layout_rect layoutArea() override { return area; }
};

TEST(tracking_limits, are_left_to_the_platform_without_a_tree_or_an_area) {
    fake_layout_window win;
    win.add(1, {0, 0, 40, 30});
    area_manager mgr{win};
    mgr.area = {0, 0, 500, 390};
    EXPECT_FALSE(tracking_limits(mgr)) << "no tree yet";

    mgr.makeRoot().pane()->appendItem(mgr.newItem(1, M::FIXED_SIZE));
    mgr.area = {0, 0, 0, 0};
    EXPECT_FALSE(tracking_limits(mgr));
    mgr.area = {0, 0, -4, 0};
    EXPECT_FALSE(tracking_limits(mgr));

    // Window 516 by 439 (frame 16 by 39 around a 500 by 400 client area).
    struct bounded_case {
        layout_rect area;
        frame_limits limits;
    };
    const bounded_case cases[] = {
        {{0, 0, 500, 390}, {40 + 10 + 16, 30 + 10 + 49, 40 + 10 + 16, 30 + 10 + 49}},
        {{0, 0, 0, 390}, {40 + 10 + 516, 30 + 10 + 49, 40 + 10 + 516, 30 + 10 + 49}},
        {{0, 0, 500, 0}, {40 + 10 + 16, 30 + 10 + 439, 40 + 10 + 16, 30 + 10 + 439}},
    };
    for (const bounded_case& c : cases) {
        mgr.area = c.area;
        const std::optional<frame_limits> lim = tracking_limits(mgr);
        ASSERT_TRUE(lim);
        EXPECT_EQ(lim->min_width, c.limits.min_width);
        EXPECT_EQ(lim->min_height, c.limits.min_height);
        EXPECT_EQ(lim->max_width, c.limits.max_width);
        EXPECT_EQ(lim->max_height, c.limits.max_height);
    }
}

TEST(background_cuts, spare_visible_controls_but_erase_group_boxes_and_tab_pages) {
    int tag[8];
    const std::vector<erase_child> children = {
        {&tag[0], {10, 10, 50, 30}, "Edit", 0x50810080u, true},
        {&tag[1], {60, 10, 90, 30}, "Static", 0x40000000u, false},
        {&tag[2], {5, 40, 200, 150}, "Button", 0x50000007u, true},  // group box
        {&tag[3], {5, 40, 200, 150}, "Button", 0x5000000Fu, true},  // lowest three bits set
        {&tag[4], {20, 60, 80, 76}, "Button", 0x50010003u, true},   // check box
        {&tag[5], {100, 100, 300, 250}, "SysTabControl32", 0x54000000u, true},
        {&tag[6], {0, 380, 500, 400}, "msctls_statusbar32", 0x50000100u, true},
        {&tag[7], {210, 40, 260, 60}, "button", 0x50000007u, true},  // another class
    };
    std::vector<layout_control> asked;
    const std::vector<erase_cut> cuts = background_cuts(children, [&asked](const erase_child& tab) {
        asked.push_back(tab.control);
        return layout_rect{tab.rect.left + 2, tab.rect.top + 24, tab.rect.right - 2,
                           tab.rect.bottom - 2};
    });

    erase_cut edit{erase_cut::rectangle, {10, 10, 50, 30}, {}, {}};
    erase_cut check{erase_cut::rectangle, {20, 60, 80, 76}, {}, {}};
    erase_cut tab{erase_cut::frame, {100, 100, 300, 250}, {102, 124, 298, 248}, {}};
    erase_cut grip{erase_cut::triangle,
                   {0, 380, 500, 400},
                   {},
                   {layout_point{500, 380}, layout_point{500, 400}, layout_point{480, 400}}};
    erase_cut other{erase_cut::rectangle, {210, 40, 260, 60}, {}, {}};
    EXPECT_EQ(cuts, (std::vector<erase_cut>{edit, check, tab, grip, other}));
    EXPECT_EQ(asked, (std::vector<layout_control>{&tag[5]}));
}

}  // namespace
