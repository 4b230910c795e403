#include "layout/flexible_shares.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

constexpr std::int64_t largest_size = std::numeric_limits<std::int32_t>::max();

// The rounds never run more often than this. Inputs whose rounds come to an end (the longest
// found in random trees took a few thousand rounds) end as they always did; the others repeat
// a state and are caught long before.
constexpr std::int64_t most_rounds = 1 << 16;

// Everything a round depends on, so that a state seen before means the rounds would go on
// forever. Negative sizes mark cells pinned at the magnitude.
struct share_state {
    std::vector<std::int64_t> size;
    std::int64_t imbalance = 0;  // space the pinned cells took beyond (or left below) a share
    std::int64_t flexibleTotal = 0;

    bool operator==(const share_state& other) const {
        return imbalance == other.imbalance && flexibleTotal == other.flexibleTotal &&
               size == other.size;
    }
};

share_state equal_shares(std::int32_t space, const std::vector<flexible_cell>& cells) {
    share_state st;
    std::int64_t left = space;
    std::int64_t sharers = std::count_if(cells.begin(), cells.end(),
                                         [](const flexible_cell& c) { return c.flexible; });
    for (const flexible_cell& c : cells) {
        st.size.push_back(c.size);
        if (!c.flexible) {
            continue;
        }
        const std::int64_t share = left / sharers;
        if (share < c.min) {
            st.size.back() = -c.min;
            st.imbalance += c.min - share;
        } else if (c.max != -1 && share > c.max) {
            st.size.back() = -c.max;
            st.imbalance += c.max - share;
        } else {
            st.size.back() = share;
            st.flexibleTotal += share;
        }
        left -= share;
        --sharers;
    }
    return st;
}

enum class round_end { changed, unchanged, out_of_range };

// One round over the unpinned cells. A settling round puts the whole imbalance on each cell in
// turn instead of a share of it.
round_end rebalance_round(share_state& st, const std::vector<flexible_cell>& cells, bool settling) {
    if (std::llabs(st.imbalance) > largest_size) {
        return round_end::out_of_range;
    }
    std::int64_t applied = 0;
    bool changed = false;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        std::int64_t& size = st.size[i];
        if (!cells[i].flexible || size <= 0) {
            continue;
        }
        // A cell held at its minimum lowers the total each visit; once nothing is left to
        // divide by, the round is over.
        if (!settling && st.flexibleTotal <= 0) {
            break;
        }
        std::int64_t cut = settling ? st.imbalance : size * st.imbalance / st.flexibleTotal;
        const bool takesAll = settling || std::llabs(st.imbalance) <= 5 || cut == 0;
        if (takesAll) {
            cut = st.imbalance;
        }
        if (size - cut < cells[i].min) {
            changed = changed || size != cells[i].min;
            applied += size - cells[i].min;
            size = cells[i].min;
            st.flexibleTotal -= cells[i].min;
            continue;
        }
        if (size - cut > largest_size) {
            return round_end::out_of_range;
        }
        applied += cut;
        size -= cut;
        changed = true;
        if (takesAll) {
            break;
        }
    }
    st.imbalance -= applied;
    return changed ? round_end::changed : round_end::unchanged;
}

// Runs the rounds while they change something. Where they would run for ever (or leave the
// range of a size), one settling round ends them. Returns whether the imbalance is gone.
bool rebalance(share_state& st, const std::vector<flexible_cell>& cells) {
    // Brent's method: the state is compared with one kept at each power of two of rounds, which
    // finds any repetition without keeping a history.
    share_state kept = st;
    std::int64_t kept_for = 0;
    std::int64_t next_keep = 1;
    for (std::int64_t round = 0;; ++round) {
        if (st.imbalance == 0) {
            return true;
        }
        if (st.flexibleTotal <= 0) {
            return false;
        }
        share_state next = st;
        const round_end end =
            round == most_rounds ? round_end::out_of_range : rebalance_round(next, cells, false);
        if (end == round_end::unchanged) {
            st = std::move(next);
            return false;
        }
        if (end == round_end::out_of_range || next == kept) {
            share_state settled = st;
            if (rebalance_round(settled, cells, true) != round_end::out_of_range) {
                st = std::move(settled);
            }
            return st.imbalance == 0;
        }
        st = std::move(next);
        if (++kept_for == next_keep) {
            kept = st;
            kept_for = 0;
            next_keep *= 2;
        }
    }
}

void give_surplus(share_state& st, const std::vector<flexible_cell>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (st.imbalance == 0) {
            break;
        }
        const flexible_cell& c = cells[i];
        if (!c.flexible || st.size[i] != -c.min) {
            continue;
        }
        const std::int64_t room = c.max == -1 ? largest_size : std::int64_t{c.max};
        const std::int64_t take = std::min(-st.imbalance, room - c.min);
        st.size[i] -= take;
        st.imbalance += take;
        if (c.max == -1) {
            st.imbalance = 0;
        }
    }
}

}  // namespace

void share_flexible_space(std::int32_t space, std::vector<flexible_cell>& cells) {
    share_state st = equal_shares(space, cells);
    if (!rebalance(st, cells) && st.imbalance < 0) {
        give_surplus(st, cells);
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (cells[i].flexible) {
            cells[i].size = static_cast<std::int32_t>(std::llabs(st.size[i]));
        }
    }
}
