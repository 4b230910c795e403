#include <gtest/gtest.h>

#include "layout/fake_layout_window.h"
#include "layout/vaq_layout_mgr.h"

namespace {

using M = VaqLayoutMgr;

class layout_manager : public testing::Test {
  protected:
    fake_layout_window win;
    VaqLayoutMgr mgr{win};
    int relayouts = 0;

    void SetUp() override {
        win.onSize = [this](std::int32_t cx, std::int32_t cy) {
            if (cx != 0 || cy != 0) {
                ++relayouts;
                mgr.relayout();
            }
        };
    }

    // A root holding one flexible item that asks for at least `minW` by `minH`.
    void flexibleTree(std::int32_t minW, std::int32_t minH) {
        win.add(1, {0, 0, 10, 10});
        mgr.makeRoot().pane()->appendItem(mgr.newItem(1, M::FLEXIBLE, minW, minH));
    }
};

TEST_F(layout_manager, lays_out_the_root_in_the_client_area_less_its_border) {
    flexibleTree(5, 5);
    mgr.relayout();
    EXPECT_EQ(win.placed(1), (layout_rect{5, 5, 495, 395}));
    EXPECT_EQ(win.invalidations, 1);
    ASSERT_EQ(win.windowMoves.size(), 1u) << "a top-level window is always moved to its place";
    EXPECT_EQ(win.windowMoves[0], win.frameFor(500, 400));
    EXPECT_EQ(relayouts, 0);
}

TEST_F(layout_manager, does_nothing_without_a_tree) {
    win.add(1, {0, 0, 10, 10});
    mgr.relayout();
    mgr.layoutInto({0, 0, 100, 100});
    EXPECT_TRUE(win.moves.empty());
    EXPECT_TRUE(win.windowMoves.empty());
    EXPECT_EQ(win.invalidations, 0);
}

TEST_F(layout_manager, lays_out_nothing_into_a_rectangle_without_width_or_height) {
    flexibleTree(5, 5);
    mgr.layoutInto({10, 10, 10, 200});
    mgr.layoutInto({10, 10, 200, 10});
    EXPECT_TRUE(win.moves.empty());
    mgr.layoutInto({10, 10, 11, 11});
    EXPECT_EQ(win.moves.size(), 1u);
}

TEST_F(layout_manager, widens_and_heightens_a_window_below_its_minimum_at_once) {
    flexibleTree(200, 150);
    win.client = {100, 300};
    const layout_rect before = win.window_rect();
    mgr.relayout();

    // Client area 200 + 2 * 5 wide, 300 high as it was.
    EXPECT_EQ(win.window_rect(),
              (layout_rect{before.left, before.top, before.left + 8 + 210 + 8, before.bottom}));
    EXPECT_EQ(relayouts, 1) << "the size change laid out in a nested pass";
    EXPECT_EQ(win.placed(1), (layout_rect{5, 5, 205, 295}));
    EXPECT_EQ(win.invalidations, 2);

    win.client = {300, 20};
    mgr.relayout();
    EXPECT_EQ(win.window_rect(), win.frameFor(300, 160));
    EXPECT_EQ(win.window_rect().top, before.top) << "heightened keeping the top edge";
    EXPECT_EQ(win.placed(1), (layout_rect{5, 5, 295, 155}));
}

TEST_F(layout_manager, narrows_a_window_beyond_a_bounded_maximum) {
    win.add(1, {0, 0, 50, 30});
    mgr.makeRoot().pane()->appendItem(mgr.newItem(1, M::FIXED_SIZE));
    mgr.relayout();
    // Narrowed and lowered, keeping the top-left corner; the nested pass leaves it there.
    EXPECT_EQ(win.windowMoves,
              (std::vector<layout_rect>(2, {300, 200, 300 + 8 + 60 + 8, 200 + 31 + 40 + 8})));
    EXPECT_EQ(win.placed(1), (layout_rect{5, 5, 55, 35}));
}

TEST_F(layout_manager, maximum_below_the_minimum_holds_the_window_at_the_minimum) {
    // A fixed item without a control: no height at all, yet its pane asks for 5.
    const CPaneBase column = mgr.newPane(M::ORIENT_VERT, M::FLEXIBLE, 0);
    column.pane()->appendItem(mgr.newItem(42, M::FIXED_SIZE));
    EXPECT_EQ(column->minHeight(), 5);
    EXPECT_EQ(column->maxHeight(), 0);
    mgr.relayoutWith(column);
    EXPECT_EQ(mgr.root.get(), column.get());
    EXPECT_EQ(win.client.height, 15);
    EXPECT_EQ(win.client.width, 10);

    const CPaneBase row = mgr.newPane(M::ORIENT_HORZ, M::FLEXIBLE, 0);
    row.pane()->appendItem(mgr.newItem(42, M::FIXED_SIZE));
    win.client = {300, 300};
    mgr.relayoutWith(row);
    EXPECT_EQ(win.client.width, 15);
    EXPECT_EQ(win.client.height, 10);
}

TEST_F(layout_manager, leaves_a_child_window_at_its_size) {
    win.topLevel = false;
    flexibleTree(800, 800);
    mgr.relayout();
    EXPECT_TRUE(win.windowMoves.empty());
    EXPECT_EQ(win.placed(1), (layout_rect{5, 5, 495, 805})) << "minima run past the edge";
}

TEST_F(layout_manager, realigns_only_visible_aligned_up_downs_that_have_a_buddy) {
    flexibleTree(5, 5);
    const layout_control edit = win.add(2, {0, 0, 40, 20}, "Edit");
    struct updown {
        std::string className;
        std::uint32_t style;
        bool visible;
        bool hasBuddy;
        bool realigned;
    };
    const updown cases[] = {
        {"msctls_updown32", 0x50000004u, true, true, true},  // aligned right
        {"msctls_updown32", 0x08, true, true, true},         // aligned left
        {"msctls_updown32", 0x02, true, true, false},        // not aligned
        {"msctls_updown32", 0x04, false, true, false},
        {"msctls_updown32", 0x04, true, false, false},
        {"msctls_UpDown32", 0x04, true, true, false},
    };
    std::vector<layout_control> expected;
    std::int32_t id = 10;
    for (const updown& u : cases) {
        const layout_control c = win.add(id++, {0, 0, 10, 20}, u.className, u.style);
        win.at(c).visible = u.visible;
        win.at(c).buddy = u.hasBuddy ? edit : nullptr;
        if (u.realigned) {
            expected.push_back(c);
        }
    }
    mgr.relayout();
    ASSERT_EQ(win.buddiesSet.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(win.buddiesSet[i].first, expected[i]);
        EXPECT_EQ(win.buddiesSet[i].second, edit);
    }
}

TEST_F(layout_manager, frame_limits_add_the_border_and_the_frame_to_the_root) {
    win.add(1, {0, 0, 50, 30});
    win.add(2, {0, 0, 10, 10});
    const CPaneBase root = mgr.makeRoot();
    root.pane()->appendItem(mgr.newItem(1, M::FIXED_SIZE));
    root.pane()->appendItem(mgr.newItem(2, M::FLEXIBLE, 20, 8));
    const frame_limits lim = mgr.frameLimits({0, 0, 500, 380}, {7, 9, 523, 448});
    EXPECT_EQ(lim.min_width, 50 + 10 + 16);
    EXPECT_EQ(lim.min_height, 30 + 8 + 5 + 10 + 59);
    EXPECT_EQ(lim.max_width, -1);
    EXPECT_EQ(lim.max_height, -1);
}

}  // namespace
