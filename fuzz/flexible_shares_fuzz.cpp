// The flexible pass of the pane layout, on any tree of cells: it ends, keeps every cell within
// its limits, and gives the sizes the unbounded rounds gave wherever those ended.
#include "fuzz_check.h"
#include "layout/capped_flexible_shares.h"
#include "layout/flexible_shares.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// Three bytes of space, then three bytes a cell: kind, minimum, and the maximum's excess over
// the minimum or a fixed cell's size. Kinds: fixed, bounded, held at its minimum, unbounded.
std::vector<flexible_cell> cells_of(const std::uint8_t* data, std::size_t size) {
    std::vector<flexible_cell> cells;
    for (std::size_t at = 3; at + 3 <= size && cells.size() < 64; at += 3) {
        flexible_cell c;
        const int kind = data[at] % 4;
        c.min = data[at + 1];
        c.flexible = kind != 0;
        c.size = c.flexible ? 0 : data[at + 2];
        c.max = kind == 1 ? c.min + data[at + 2] : kind == 2 ? c.min : -1;
        cells.push_back(c);
    }
    return cells;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    const std::int32_t space = data[0] << 16 | data[1] << 8 | data[2];
    const std::vector<flexible_cell> before = cells_of(data, size);
    std::vector<flexible_cell> cells = before;
    share_flexible_space(space, cells);

    const equal_share_start pins = equal_shares_of(space, before);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const flexible_cell& c = before[i];
        if (!c.flexible) {
            FUZZ_CHECK(cells[i].size == c.size);
            continue;
        }
        FUZZ_CHECK(cells[i].size >= c.min);
        // A cell pinned at its maximum stays there; one pinned at its minimum gets no more
        // than its maximum.
        if (pins.size[i] < 0 && c.max != -1) {
            FUZZ_CHECK(cells[i].size <= c.max);
        }
        if (pins.size[i] < 0 && -pins.size[i] == c.max && c.max != c.min) {
            FUZZ_CHECK(cells[i].size == c.max);
        }
    }

    std::vector<std::int32_t> sizes;
    for (const flexible_cell& c : cells) {
        sizes.push_back(c.size);
    }
    if (const auto old_sizes = capped_flexible_shares(space, before, 4096)) {
        FUZZ_CHECK(sizes == *old_sizes);
    }
    return 0;
}
