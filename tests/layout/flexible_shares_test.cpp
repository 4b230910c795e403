#include "layout/flexible_shares.h"

#include "layout/capped_flexible_shares.h"

#include <gtest/gtest.h>

#include <numeric>

#include <string>
#include <vector>

namespace {

flexible_cell flex(std::int32_t min, std::int32_t max = -1) {
    return {true, 0, min, max};
}
flexible_cell fixed(std::int32_t size) {
    return {false, size, 0, -1};
}

struct share_case {
    std::string name;
    std::int32_t space;
    std::vector<flexible_cell> cells;
    std::vector<std::int32_t> sizes;
};

std::ostream& operator<<(std::ostream& os, const share_case& c) {
    return os << c.name;
}

class flexible_space : public testing::TestWithParam<share_case> {};

TEST_P(flexible_space, is_shared_out_as_expected) {
    share_case c = GetParam();
    share_flexible_space(c.space, c.cells);
    std::vector<std::int32_t> sizes;
    for (const flexible_cell& cell : c.cells) {
        sizes.push_back(cell.size);
    }
    EXPECT_EQ(sizes, c.sizes);
}

INSTANTIATE_TEST_SUITE_P(
    cases, flexible_space,
    testing::Values(share_case{"later_children_get_the_larger_equal_shares",
                               20,
                               {flex(5), flex(5), flex(5)},
                               {6, 7, 7}},
                    share_case{"one_child_takes_all", 37, {flex(5)}, {37}},
                    share_case{"child_pinned_at_its_maximum_leaves_the_rest_to_the_other",
                               485,
                               {flex(75), flex(75, 75)},
                               {410, 75}},
                    share_case{"small_imbalance_is_cut_from_one_child_in_one_step",
                               58,
                               {flex(21), flex(21), flex(16)},
                               {21, 21, 16}},
                    share_case{"imbalance_of_exactly_five_is_cut_whole",
                               24,
                               {flex(13), flex(5), flex(5)},
                               {13, 6, 5}},
                    share_case{"children_keep_their_minima_when_those_do_not_fit",
                               30,
                               {flex(21), flex(21), flex(16)},
                               {21, 21, 16}},
                    share_case{"large_imbalance_is_shared_in_proportion",
                               300,
                               {flex(150), flex(5), flex(5)},
                               {150, 75, 75}},
                    share_case{"fixed_children_keep_their_size_and_take_no_share",
                               40,
                               {fixed(100), flex(5), fixed(0), flex(5)},
                               {100, 20, 0, 20}},
                    share_case{"surplus_goes_to_an_unbounded_child_pinned_at_its_minimum",
                               100,
                               {flex(60), flex(5, 10)},
                               {90, 10}},
                    share_case{"surplus_goes_no_further_than_a_pinned_childs_maximum",
                               100,
                               {flex(60, 70), flex(5, 10)},
                               {70, 10}},
                    share_case{"no_space_leaves_every_child_at_its_minimum",
                               0,
                               {flex(5), flex(8), flex(5)},
                               {5, 8, 5}},
                    share_case{"round_whose_flexible_total_reaches_zero_ends",
                               22,
                               {flex(21), flex(5), flex(5)},
                               {21, 5, 5}},
                    share_case{"round_whose_flexible_total_falls_below_zero_ends",
                               148,
                               {flex(75), flex(5), flex(16), flex(30), flex(21)},
                               {76, 5, 16, 30, 21}},
                    share_case{"sizes_near_the_top_of_the_range_do_not_overflow",
                               2100000000,
                               {flex(5), flex(5), flex(1500000000)},
                               {300000000, 300000000, 1500000000}}));

// Whatever the minima and maxima, the pass ends and gives no flexible child less than its
// minimum; fixed children are left alone.
TEST(flexible_space, ends_and_respects_minima_for_many_trees) {
    std::uint32_t seed = 12345;
    auto next = [&seed](std::uint32_t bound) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<std::int32_t>((seed >> 8) % bound);
    };
    const std::int32_t minima[] = {0, 5, 5, 10, 16, 21, 30, 75};
    for (int round = 0; round < 20000; ++round) {
        std::vector<flexible_cell> cells(1 + next(6));
        for (flexible_cell& c : cells) {
            c.min = minima[next(8)];
            const std::int32_t kind = next(5);
            c.max = kind == 0 ? c.min : kind == 1 ? c.min + next(60) : -1;
            c.flexible = kind != 4;
            c.size = c.flexible ? 0 : next(50);
        }
        const std::vector<flexible_cell> before = cells;
        const std::int32_t space = next(300);
        share_flexible_space(space, cells);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (cells[i].flexible) {
                ASSERT_GE(cells[i].size, cells[i].min) << "space " << space << " round " << round;
            } else {
                ASSERT_EQ(cells[i].size, before[i].size) << "round " << round;
            }
        }
    }
}

std::vector<std::int32_t> sizes_of(const std::vector<flexible_cell>& cells) {
    std::vector<std::int32_t> sizes;
    for (const flexible_cell& cell : cells) {
        sizes.push_back(cell.size);
    }
    return sizes;
}

// Seven flexible children and eleven held at 5: the rounds once overshot by turns (-6, +8,
// -6, ...) and never ended.
TEST(flexible_space, rounds_that_would_overshoot_for_ever_end_and_fill_the_space) {
    std::vector<flexible_cell> cells(7, flex(5));
    cells.insert(cells.end(), 11, flex(5, 5));
    ASSERT_FALSE(capped_flexible_shares(1831, cells, 1 << 16)) << "the rounds used to end";
    share_flexible_space(1831, cells);
    const std::vector<std::int32_t> sizes = sizes_of(cells);
    EXPECT_EQ(std::accumulate(sizes.begin(), sizes.end(), 0), 1831);
    for (std::size_t i = 7; i < sizes.size(); ++i) {
        EXPECT_EQ(sizes[i], 5) << "child " << i;
    }
}

// Trees with many flexible children, maxima among them: wherever the rounds used to end, the
// sizes are the same as before.
TEST(flexible_space, gives_the_old_sizes_wherever_the_old_rounds_ended) {
    std::uint32_t seed = 977;
    auto next = [&seed](std::uint32_t bound) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<std::int32_t>((seed >> 8) % bound);
    };
    const std::int32_t spaces[] = {300, 3000, 30000};
    int ended = 0;
    int endless = 0;
    for (int tree = 0; tree < 20000; ++tree) {
        std::vector<flexible_cell> cells(1 + next(30));
        for (flexible_cell& c : cells) {
            c.min = next(3) == 0 ? next(60) : 5;
            const std::int32_t kind = next(6);
            c.max = kind <= 1 ? c.min : kind == 2 ? c.min + next(30) : -1;
            c.flexible = kind != 5;
            c.size = c.flexible ? 0 : next(50);
        }
        const std::int32_t space = next(spaces[next(3)]);
        const auto before = capped_flexible_shares(space, cells, 8192);
        share_flexible_space(space, cells);
        if (before) {
            ++ended;
            ASSERT_EQ(sizes_of(cells), *before) << "tree " << tree << ", space " << space;
        } else {
            ++endless;
        }
    }
    EXPECT_GT(ended, 3000);
    EXPECT_GT(endless, 10) << "the table no longer holds rounds that never end";
}

}  // namespace
