#include "layout/flexible_shares.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Negative sizes mark cells pinned at the magnitude while the rounds run.
struct share_state {
    std::int64_t imbalance = 0;  // space the pinned cells took beyond (or left below) a share
    std::int64_t flexibleTotal = 0;
};

share_state equal_shares(std::int32_t space, std::vector<flexible_cell>& cells) {
    share_state st;
    std::int64_t left = space;
    std::int64_t sharers = std::count_if(cells.begin(), cells.end(),
                                         [](const flexible_cell& c) { return c.flexible; });
    for (flexible_cell& c : cells) {
        if (!c.flexible) {
            continue;
        }
        const std::int64_t share = left / sharers;
        if (share < c.min) {
            c.size = -c.min;
            st.imbalance += c.min - share;
        } else if (c.max != -1 && share > c.max) {
            c.size = -c.max;
            st.imbalance += c.max - share;
        } else {
            c.size = static_cast<std::int32_t>(share);
            st.flexibleTotal += share;
        }
        left -= share;
        --sharers;
    }
    return st;
}

// One round over the unpinned cells; returns whether any size changed.
bool rebalance_round(share_state& st, std::vector<flexible_cell>& cells) {
    std::int64_t applied = 0;
    bool changed = false;
    for (flexible_cell& c : cells) {
        if (!c.flexible || c.size <= 0) {
            continue;
        }
        // A cell held at its minimum lowers the total each visit; once nothing is left to
        // divide by, the round is over.
        if (st.flexibleTotal <= 0) {
            break;
        }
        std::int64_t cut = c.size * st.imbalance / st.flexibleTotal;
        const bool takesAll = std::llabs(st.imbalance) <= 5 || cut == 0;
        if (takesAll) {
            cut = st.imbalance;
        }
        if (c.size - cut < c.min) {
            changed = changed || c.size != c.min;
            applied += c.size - c.min;
            c.size = c.min;
            st.flexibleTotal -= c.min;
            continue;
        }
        applied += cut;
        c.size = static_cast<std::int32_t>(c.size - cut);
        changed = true;
        if (takesAll) {
            break;
        }
    }
    st.imbalance -= applied;
    return changed;
}

void give_surplus(share_state& st, std::vector<flexible_cell>& cells) {
    for (flexible_cell& c : cells) {
        if (st.imbalance == 0) {
            break;
        }
        if (!c.flexible || c.size != -c.min) {
            continue;
        }
        if (c.max == -1) {
            c.size = static_cast<std::int32_t>(c.size + st.imbalance);
            st.imbalance = 0;
        } else {
            const std::int64_t take =
                std::min<std::int64_t>(-st.imbalance, std::int64_t{c.max} - c.min);
            c.size = static_cast<std::int32_t>(c.size - take);
            st.imbalance += take;
        }
    }
}

}  // namespace

void share_flexible_space(std::int32_t space, std::vector<flexible_cell>& cells) {
    share_state st = equal_shares(space, cells);
    bool balanced = false;
    for (;;) {
        if (st.imbalance == 0) {
            balanced = true;
            break;
        }
        if (st.flexibleTotal <= 0 || !rebalance_round(st, cells)) {
            break;
        }
    }
    if (!balanced && st.imbalance < 0) {
        give_surplus(st, cells);
    }
    for (flexible_cell& c : cells) {
        if (c.flexible && c.size < 0) {
            c.size = -c.size;
        }
    }
}
