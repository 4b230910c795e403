#pragma once
#include "layout/flexible_shares.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <vector>

// The equal shares that start the flexible pass: sizes in 64 bits, negative for a cell pinned
// at the magnitude, with the imbalance and flexible total they leave.
struct equal_share_start {
    std::vector<std::int64_t> size;
    std::int64_t imbalance = 0;
    std::int64_t total = 0;
};

inline equal_share_start equal_shares_of(std::int32_t space,
                                         const std::vector<flexible_cell>& cells) {
    equal_share_start start;
    std::int64_t left = space;
    std::int64_t sharers = std::count_if(cells.begin(), cells.end(),
                                         [](const flexible_cell& c) { return c.flexible; });
    for (const flexible_cell& c : cells) {
        start.size.push_back(c.size);
        if (!c.flexible) {
            continue;
        }
        const std::int64_t share = left / sharers;
        if (share < c.min) {
            start.size.back() = -c.min;
            start.imbalance += c.min - share;
        } else if (c.max != -1 && share > c.max) {
            start.size.back() = -c.max;
            start.imbalance += c.max - share;
        } else {
            start.size.back() = share;
            start.total += share;
        }
        left -= share;
        --sharers;
    }
    return start;
}

// The flexible pass as it was before its rounds were bounded, word for word, but with a cap on
// the rounds and in 64-bit sizes. It gives no answer where the rounds do not end within the cap
// or where a value leaves the range of a cell's size (the old pass wrapped around there).
// The bounded pass must give the same sizes wherever this one answers.
inline std::optional<std::vector<std::int32_t>> capped_flexible_shares(
    std::int32_t space, const std::vector<flexible_cell>& cells, int round_cap) {
    constexpr std::int64_t top = std::numeric_limits<std::int32_t>::max();
    equal_share_start start = equal_shares_of(space, cells);
    std::vector<std::int64_t>& size = start.size;
    std::int64_t& imbalance = start.imbalance;
    std::int64_t& total = start.total;
    bool balanced = false;
    for (int round = 0;; ++round) {
        if (imbalance == 0) {
            balanced = true;
            break;
        }
        if (total <= 0) {
            break;
        }
        if (round == round_cap || std::llabs(imbalance) > top) {
            return std::nullopt;
        }
        std::int64_t applied = 0;
        bool changed = false;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (!cells[i].flexible || size[i] <= 0) {
                continue;
            }
            if (total <= 0) {
                break;
            }
            std::int64_t cut = size[i] * imbalance / total;
            const bool takesAll = std::llabs(imbalance) <= 5 || cut == 0;
            if (takesAll) {
                cut = imbalance;
            }
            if (size[i] - cut < cells[i].min) {
                changed = changed || size[i] != cells[i].min;
                applied += size[i] - cells[i].min;
                size[i] = cells[i].min;
                total -= cells[i].min;
                continue;
            }
            applied += cut;
            size[i] -= cut;
            if (size[i] > top) {
                return std::nullopt;
            }
            changed = true;
            if (takesAll) {
                break;
            }
        }
        imbalance -= applied;
        if (!changed) {
            break;
        }
    }
    for (std::size_t i = 0; i < cells.size() && !balanced && imbalance < 0; ++i) {
        const flexible_cell& c = cells[i];
        if (!c.flexible || size[i] != -c.min) {
            continue;
        }
        if (c.max == -1) {
            size[i] += imbalance;
            imbalance = 0;
        } else {
            const std::int64_t take =
                std::min<std::int64_t>(-imbalance, std::int64_t{c.max} - c.min);
            size[i] -= take;
            imbalance += take;
        }
    }
    std::vector<std::int32_t> sizes;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const std::int64_t final_size = cells[i].flexible ? std::llabs(size[i]) : size[i];
        if (final_size > top) {
            return std::nullopt;
        }
        sizes.push_back(static_cast<std::int32_t>(final_size));
    }
    return sizes;
}
