#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "layout/fake_layout_window.h"
#include "layout/vaq_layout_mgr.h"

namespace {

using M = VaqLayoutMgr;

class panes : public testing::Test {
  protected:
    fake_layout_window win;
    VaqLayoutMgr mgr{win};

    // A control of the given size at a placeholder position, and a flexible item for it.
    CPaneBase flexItem(std::int32_t id, std::int32_t minWidth, std::int32_t minHeight) {
        win.add(id, {1, 1, 11, 11});
        return mgr.newItem(id, M::FLEXIBLE, minWidth, minHeight);
    }
    CPaneBase sizedItem(std::int32_t id, std::int32_t w, std::int32_t h, std::uint32_t mode) {
        win.add(id, {2, 3, 2 + w, 3 + h});
        return mgr.newItem(id, mode);
    }
};

TEST_F(panes, item_takes_its_size_and_minima_from_the_control_when_made) {
    win.add(7, {10, 20, 85, 41}, "Edit");
    const CPaneBase flexible = mgr.newItem(7, M::FLEXIBLE);
    const CPaneBase given = mgr.newItem(7, M::FLEXIBLE, 30, 2);
    const CPaneBase fixed = mgr.newItem(7, M::FIXED_SIZE, 30, 2);
    win.at(win.child(7)).rect = {0, 0, 300, 300};  // later sizes do not count

    EXPECT_EQ(flexible->minWidth(), 75);
    EXPECT_EQ(flexible->minHeight(), 21);
    EXPECT_EQ(flexible->maxWidth(), -1);
    EXPECT_EQ(flexible->maxHeight(), -1);
    EXPECT_EQ(flexible->fixedWidth(0), -1);
    EXPECT_EQ(given->minWidth(), 30);
    EXPECT_EQ(given->minHeight(), 5) << "a flexible item asks for at least 5";
    EXPECT_EQ(fixed->minWidth(), 75);
    EXPECT_EQ(fixed->maxWidth(), 75);
    EXPECT_EQ(fixed->minHeight(), 21);
    EXPECT_EQ(fixed->maxHeight(), 21);
    EXPECT_EQ(fixed->fixedWidth(0), 75);
    EXPECT_EQ(fixed->fixedHeight(0), 21);
}

TEST_F(panes, item_without_control_moves_nothing_and_counts_five_in_a_pane) {
    const CPaneBase missingFlexible = mgr.newItem(99, M::FLEXIBLE);
    const CPaneBase missingFixed = mgr.newItem(98, M::FIXED_SIZE);
    EXPECT_EQ(missingFlexible->minWidth(), 5);
    EXPECT_EQ(missingFixed->minWidth(), 0);
    EXPECT_EQ(missingFixed->fixedWidth(0), 0);

    const CPaneBase row = mgr.newPane(M::ORIENT_HORZ, M::FLEXIBLE, 3);
    row.pane()->appendItem(missingFixed);
    row.pane()->appendItem(sizedItem(1, 30, 40, M::FIXED_SIZE));
    row.pane()->appendItem(missingFlexible);
    EXPECT_EQ(row->minWidth(), 5 + 30 + 5 + 2 * 3);
    EXPECT_EQ(row->minHeight(), 40);

    row->placeIn({0, 0, 100, 50});
    ASSERT_EQ(win.moves.size(), 1u);
    EXPECT_EQ(win.moves[0].second, (layout_rect{3, 0, 33, 40}))
        << "the missing fixed item takes 0 pixels, then one gap";
}

struct combo_case {
    std::string className;
    std::uint32_t style;
    bool keepsHeight;
};

std::ostream& operator<<(std::ostream& os, const combo_case& c) {
    return os << c.className << " style " << c.style;
}

class combo_height : public panes, public testing::WithParamInterface<combo_case> {};

TEST_P(combo_height, follows_the_cell_unless_a_drop_down_combo_box) {
    const combo_case& c = GetParam();
    win.add(5, {0, 0, 75, 21}, c.className, c.style);
    const CPaneBase item = mgr.newItem(5, M::FLEXIBLE);
    item->placeIn({10, 20, 110, 120});
    EXPECT_EQ(win.placed(5), (layout_rect{10, 20, 110, c.keepsHeight ? 41 : 120}));
}

INSTANTIATE_TEST_SUITE_P(
    classes_and_styles, combo_height,
    testing::Values(combo_case{"ComboBox", 2, true}, combo_case{"ComboBox", 3, true},
                    combo_case{"ComboBoxEx32", 0x50010002u, true}, combo_case{"ComboBox", 1, false},
                    combo_case{"combobox", 3, false}, combo_case{"ComboBox32", 3, false},
                    combo_case{"Edit", 2, false}));

TEST_F(panes, fixed_item_keeps_its_size_at_the_left_and_top_of_its_cell) {
    sizedItem(1, 30, 20, M::FLEXIBLE);
    const CPaneBase both = mgr.newItem(1, M::FIXED_SIZE);
    const CPaneBase width = mgr.newItem(1, M::FIXED_WIDTH);
    const CPaneBase height = mgr.newItem(1, M::FIXED_HEIGHT);

    both->placeIn({50, 60, 250, 260});
    EXPECT_EQ(win.placed(1), (layout_rect{50, 60, 80, 80}));
    win.at(win.child(1)).rect = {0, 0, 44, 20};  // resized by someone else since
    both->placeIn({50, 60, 250, 260});
    EXPECT_EQ(win.placed(1), (layout_rect{50, 60, 94, 80})) << "keeps its present size";
    win.at(win.child(1)).rect = {0, 0, 30, 20};
    width->placeIn({50, 60, 250, 260});
    EXPECT_EQ(win.placed(1), (layout_rect{50, 60, 80, 260}));
    win.at(win.child(1)).rect = {0, 0, 30, 20};
    height->placeIn({50, 60, 250, 260});
    EXPECT_EQ(win.placed(1), (layout_rect{50, 60, 250, 80}));
}

TEST_F(panes, sizes_add_up_along_and_take_the_largest_across) {
    const CPaneBase row = mgr.newPane(M::ORIENT_HORZ, M::FLEXIBLE, 4);
    row.pane()->appendItem(sizedItem(1, 30, 40, M::FIXED_SIZE));
    row.pane()->appendItem(sizedItem(2, 20, 10, M::FIXED_SIZE));
    EXPECT_EQ(row->minWidth(), 54);
    EXPECT_EQ(row->maxWidth(), 54);
    EXPECT_EQ(row->minHeight(), 40);
    EXPECT_EQ(row->maxHeight(), 40);

    row.pane()->appendItem(flexItem(3, 12, 50));
    EXPECT_EQ(row->minWidth(), 70);
    EXPECT_EQ(row->maxWidth(), -1) << "one unbounded child unbounds the sum";
    EXPECT_EQ(row->minHeight(), 50);
    EXPECT_EQ(row->maxHeight(), -1);

    const CPaneBase column = mgr.newPane(M::ORIENT_VERT, M::FLEXIBLE, 4);
    column.pane()->appendItem(sizedItem(4, 30, 40, M::FIXED_SIZE));
    column.pane()->appendItem(sizedItem(5, 20, 10, M::FIXED_SIZE));
    EXPECT_EQ(column->minHeight(), 54);
    EXPECT_EQ(column->maxHeight(), 54);
    EXPECT_EQ(column->minWidth(), 30);
    EXPECT_EQ(column->maxWidth(), 30);

    const CPaneBase empty = mgr.newPane(M::ORIENT_VERT, M::FLEXIBLE, 4);
    EXPECT_EQ(empty->minHeight(), 0) << "an empty pane has no gaps to keep";
    EXPECT_EQ(empty->maxHeight(), -1);
    EXPECT_EQ(empty->minWidth(), 0);
    EXPECT_EQ(empty->maxWidth(), -1);
}

struct share_layout_case {
    std::string name;
    std::int32_t orientation;
    std::int32_t gap;
    std::int32_t extent;
    std::vector<std::int32_t> minima;
    std::vector<std::int32_t> starts;  // from the pane's edge
    std::vector<std::int32_t> sizes;
};

std::ostream& operator<<(std::ostream& os, const share_layout_case& c) {
    return os << c.name;
}

class pane_cells : public panes, public testing::WithParamInterface<share_layout_case> {};

TEST_P(pane_cells, follow_from_the_childrens_minima) {
    const share_layout_case& c = GetParam();
    const bool horz = c.orientation == M::ORIENT_HORZ;
    const CPaneBase pane = mgr.newPane(c.orientation, M::FLEXIBLE, c.gap);
    for (std::size_t i = 0; i < c.minima.size(); ++i) {
        const std::int32_t id = static_cast<std::int32_t>(i) + 1;
        pane.pane()->appendItem(horz ? flexItem(id, c.minima[i], -1)
                                     : flexItem(id, -1, c.minima[i]));
    }
    const layout_rect area =
        horz ? layout_rect{100, 50, 100 + c.extent, 90} : layout_rect{100, 50, 180, 50 + c.extent};
    pane->placeIn(area);
    for (std::size_t i = 0; i < c.minima.size(); ++i) {
        const layout_rect r = win.placed(static_cast<std::int32_t>(i) + 1);
        if (horz) {
            EXPECT_EQ(r, (layout_rect{100 + c.starts[i], 50, 100 + c.starts[i] + c.sizes[i], 90}))
                << "child " << i;
        } else {
            EXPECT_EQ(r, (layout_rect{100, 50 + c.starts[i], 180, 50 + c.starts[i] + c.sizes[i]}))
                << "child " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    cases, pane_cells,
    testing::Values(
        share_layout_case{"equal_shares", M::ORIENT_HORZ, 0, 20, {5, 5, 5}, {0, 6, 13}, {6, 7, 7}},
        share_layout_case{
            "gaps_come_off_the_space", M::ORIENT_HORZ, 5, 30, {5, 5}, {0, 17}, {12, 13}},
        share_layout_case{"small_imbalance_in_one_step",
                          M::ORIENT_VERT,
                          5,
                          68,
                          {21, 21, 16},
                          {0, 26, 52},
                          {21, 21, 16}},
        share_layout_case{"minima_run_past_the_bottom_edge",
                          M::ORIENT_VERT,
                          5,
                          40,
                          {21, 21, 16},
                          {0, 26, 52},
                          {21, 21, 16}}));

TEST_F(panes, child_pinned_at_its_maximum_leaves_the_rest_to_its_neighbour) {
    const CPaneBase row = mgr.newPane(M::ORIENT_HORZ, M::FLEXIBLE, 5);
    row.pane()->appendItem(flexItem(1, 75, -1));
    const CPaneBase column = mgr.newPane(M::ORIENT_VERT, M::FLEXIBLE, 5);
    column.pane()->appendItem(sizedItem(2, 75, 23, M::FIXED_SIZE));
    row.pane()->appendPane(column, M::FLEXIBLE, 0);

    row->placeIn({10, 10, 500, 78});
    EXPECT_EQ(win.placed(1), (layout_rect{10, 10, 420, 78}));
    EXPECT_EQ(win.placed(2), (layout_rect{425, 10, 500, 33}));
}

TEST_F(panes, fixed_child_takes_its_fixed_size_before_the_flexible_share) {
    const CPaneBase column = mgr.newPane(M::ORIENT_VERT, M::FLEXIBLE, 2);
    column.pane()->appendItem(flexItem(1, -1, 5));
    column.pane()->appendItem(sizedItem(2, 40, 30, M::FIXED_HEIGHT));
    column.pane()->appendItem(flexItem(3, -1, 5));
    column->placeIn({0, 0, 60, 104});
    EXPECT_EQ(win.placed(1), (layout_rect{0, 0, 60, 35}));
    EXPECT_EQ(win.placed(2), (layout_rect{0, 37, 60, 67}));
    EXPECT_EQ(win.placed(3), (layout_rect{0, 69, 60, 104}));
}

TEST_F(panes, fixed_height_sub_pane_keeps_the_minimum_it_had_when_added) {
    const CPaneBase column = mgr.newPane(M::ORIENT_VERT, M::FLEXIBLE, 5);
    const CPaneBase row = mgr.newPane(M::ORIENT_HORZ, M::FLEXIBLE, 5);
    row.pane()->appendItem(flexItem(1, -1, 30));
    column.pane()->appendPane(row, M::FIXED_HEIGHT, 0);
    row.pane()->appendItem(flexItem(2, -1, 80));
    column.pane()->appendItem(flexItem(3, -1, 5));

    EXPECT_EQ(row.pane()->fixedSize, 30);
    EXPECT_EQ(row->mode, M::FIXED_HEIGHT);
    EXPECT_EQ(row->minHeight(), 30);
    EXPECT_EQ(row->maxHeight(), 30);
    EXPECT_EQ(row->fixedHeight(0), 30);
    EXPECT_EQ(row->fixedWidth(0), 0);
    EXPECT_EQ(column->minHeight(), 30 + 5 + 5);
    column->placeIn({0, 0, 100, 200});
    EXPECT_EQ(win.placed(2), (layout_rect{52, 0, 100, 30}));
    EXPECT_EQ(win.placed(3), (layout_rect{0, 35, 100, 200}));
}

TEST_F(panes, sub_pane_fixed_size_is_set_only_for_the_direction_its_parent_stacks) {
    struct append_case {
        std::int32_t parent;
        std::uint32_t mode;
        std::int32_t given;
        std::int32_t preset;
        std::int32_t fixedSize;
    };
    const append_case cases[] = {
        {M::ORIENT_HORZ, M::FIXED_WIDTH, 0, 0, 50},    // captures the minimum width
        {M::ORIENT_HORZ, M::FIXED_HEIGHT, 0, 0, 0},    // height is across a row
        {M::ORIENT_VERT, M::FIXED_HEIGHT, 0, 0, 30},   // captures the minimum height
        {M::ORIENT_VERT, M::FIXED_WIDTH, 0, 0, 0},     // width is across a column
        {M::ORIENT_VERT, M::FIXED_SIZE, 0, 0, 30},     // only the stacking direction
        {M::ORIENT_HORZ, M::FIXED_WIDTH, 99, 17, 17},  // a given size keeps the pane's own
        {M::ORIENT_VERT, M::FLEXIBLE, 0, 17, 17},
    };
    std::int32_t id = 1;
    for (const append_case& c : cases) {
        const CPaneBase parent = mgr.newPane(c.parent, M::FLEXIBLE, 5);
        const CPaneBase sub = mgr.newPane(
            c.parent == M::ORIENT_HORZ ? M::ORIENT_VERT : M::ORIENT_HORZ, M::FLEXIBLE, 0);
        sub.pane()->appendItem(flexItem(id++, 50, 30));
        sub.pane()->fixedSize = c.preset;
        parent.pane()->appendPane(sub, c.mode, c.given);
        ASSERT_EQ(parent.pane()->items.size(), 1u);
        EXPECT_EQ(parent.pane()->items[0].get(), sub.get());
        EXPECT_EQ(sub->mode, c.mode);
        EXPECT_EQ(sub.pane()->fixedSize, c.fixedSize)
            << "parent " << c.parent << " mode " << c.mode;
    }
}

TEST_F(panes, sub_pane_of_the_same_orientation_is_wrapped_in_a_gapless_cross_pane) {
    const CPaneBase row = mgr.newPane(M::ORIENT_HORZ, M::FLEXIBLE, 5);
    const CPaneBase inner = mgr.newPane(M::ORIENT_HORZ, M::FLEXIBLE, 7);
    inner.pane()->appendItem(flexItem(1, 20, 5));
    inner.pane()->appendItem(flexItem(2, 20, 5));
    row.pane()->appendPane(inner, M::FIXED_WIDTH, 0);

    ASSERT_EQ(row.pane()->items.size(), 1u);
    M::Pane* wrapper = row.pane()->items[0].pane();
    ASSERT_NE(wrapper, nullptr);
    EXPECT_NE(wrapper, inner.pane());
    EXPECT_EQ(wrapper->orientation, M::ORIENT_VERT);
    EXPECT_EQ(wrapper->gap, 0);
    EXPECT_EQ(wrapper->mode, M::FIXED_WIDTH);
    EXPECT_EQ(wrapper->fixedSize, 47);
    ASSERT_EQ(wrapper->items.size(), 1u);
    EXPECT_EQ(wrapper->items[0].get(), inner.get());

    row->placeIn({0, 0, 300, 10});
    EXPECT_EQ(win.placed(1), (layout_rect{0, 0, 20, 10}));
    EXPECT_EQ(win.placed(2), (layout_rect{27, 0, 47, 10}));
}

// A node that counts how often it is destroyed.
class counted_node : public M::PaneBase {
  public:
    explicit counted_node(std::atomic<int>& destroyed)
        : PaneBase(M::FLEXIBLE, nullptr), destroyed_(destroyed) {}
    ~counted_node() override { ++destroyed_; }
    std::int32_t fixedWidth(std::int32_t) const override { return 0; }
    std::int32_t fixedHeight(std::int32_t) const override { return 0; }
    std::int32_t minWidth() const override { return 0; }
    std::int32_t maxWidth() const override { return -1; }
    std::int32_t minHeight() const override { return 0; }
    std::int32_t maxHeight() const override { return -1; }
    bool placeIn(const layout_rect&) override { return true; }

  private:
    std::atomic<int>& destroyed_;
};

TEST(pane_handle, last_handle_to_go_destroys_the_node_once) {
    std::atomic<int> destroyed{0};
    CPaneBase first(new counted_node(destroyed));
    CPaneBase copy = first;
    CPaneBase moved = std::move(copy);
    EXPECT_FALSE(copy);
    first.reset();
    EXPECT_EQ(destroyed, 0);
    ASSERT_TRUE(moved);
    CPaneBase other(new counted_node(destroyed));
    moved = other;  // the first node loses its last handle here
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(moved.get(), other.get());
    moved = moved;
    other.reset();
    EXPECT_EQ(destroyed, 1);
    moved.reset();
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(CPaneBase().get(), nullptr);
    EXPECT_EQ(CPaneBase().pane(), nullptr);
}

TEST(pane_handle, copies_made_and_dropped_on_two_threads_keep_the_count) {
    std::atomic<int> destroyed{0};
    CPaneBase shared(new counted_node(destroyed));
    auto churn = [&shared] {
        for (int i = 0; i < 100000; ++i) {
            CPaneBase copy = shared;
        }
    };
    std::thread a(churn);
    std::thread b(churn);
    a.join();
    b.join();
    EXPECT_EQ(destroyed, 0);
    shared.reset();
    EXPECT_EQ(destroyed, 1);
}

TEST(pane_handle, releasing_the_root_releases_the_whole_tree) {
    std::atomic<int> destroyed{0};
    fake_layout_window win;
    VaqLayoutMgr mgr{win};
    {
        const CPaneBase root = mgr.makeRoot();
        const CPaneBase row = mgr.newPane(M::ORIENT_HORZ, M::FLEXIBLE, 5);
        row.pane()->appendItem(CPaneBase(new counted_node(destroyed)));
        root.pane()->appendPane(row, M::FLEXIBLE, 0);
        root.pane()->appendItem(CPaneBase(new counted_node(destroyed)));
    }
    EXPECT_EQ(destroyed, 0);
    mgr.makeRoot();
    EXPECT_EQ(destroyed, 2);
}

}  // namespace
