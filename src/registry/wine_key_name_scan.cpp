#include "registry/wine_key_name_scan.h"

#include "registry/case_fold.h"
#include "registry/wine_registry_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Bytes tested together: sixteen on any processor, thirty-two where it has the instructions.
using bytes16 = signed char __attribute__((vector_size(16)));
using bytes32 = signed char __attribute__((vector_size(32)));
// The most a skip passes over without a look: a pair of the wider blocks.
constexpr std::size_t widest_blocks = 2 * sizeof(bytes32);

// The characters of the name a block is tested for, with bit 5 set, which makes an ASCII
// letter's two cases one, and where they stand in it.
struct name_marks {
    char first, second, last;
    std::size_t second_at, last_at;
};

name_marks marks_of(std::string_view name) {
    const std::size_t second_at = std::min<std::size_t>(1, name.size() - 1);
    return {static_cast<char>(name.front() | 0x20), static_cast<char>(name[second_at] | 0x20),
            static_cast<char>(name.back() | 0x20), second_at, name.size() - 1};
}

// The rule for a byte that takes a closer look: beyond ASCII; a backslash that is not one of a
// pair (alone, or within a run of three or more), unless a line end follows, where it escapes
// nothing; or where the name starts, in any case.
bool worth_a_look(std::string_view text, std::size_t i, std::string_view name) {
    const char c = text[i];
    if (static_cast<unsigned char>(c) >= 0x80) {
        return true;
    }
    if (c == '\\') {
        const bool backslash_before = i > 0 && text[i - 1] == '\\';
        const char after = i + 1 < text.size() ? text[i + 1] : '\0';
        return backslash_before == (after == '\\') && after != '\n';
    }
    if (text.size() - i < name.size()) {
        return false;
    }
    for (std::size_t k = 0; k < name.size(); ++k) {
        if (fold_case(static_cast<unsigned char>(text[i + k])) !=
            static_cast<unsigned char>(name[k])) {
            return false;
        }
    }
    return true;
}

// The tests of a block, each character to compare with in every lane.
template <typename Bytes>
struct block_tests {
    explicit block_tests(const name_marks& marks)
        : first(Bytes{} + marks.first),
          second(Bytes{} + marks.second),
          last(Bytes{} + marks.last),
          second_at(marks.second_at),
          last_at(marks.last_at) {}

    // Adds to `marked` the rule, widened where that makes it cheaper, on the bytes from `block`
    // on: the top bit of every byte whose test holds. Reads the byte before the block and up to
    // last_at bytes after it.
    [[gnu::always_inline]] void mark(const char* block, Bytes& marked) const {
        Bytes here, before, after, at_second, at_last;
        std::memcpy(&here, block, sizeof here);
        std::memcpy(&before, block - 1, sizeof before);
        std::memcpy(&after, block + 1, sizeof after);
        std::memcpy(&at_second, block + second_at, sizeof at_second);
        std::memcpy(&at_last, block + last_at, sizeof at_last);
        const Bytes unpaired =
            (here == '\\') & ~((before == '\\') ^ (after == '\\')) & (after != '\n');
        const Bytes name_start =
            ((here | 0x20) == first) & ((at_second | 0x20) == second) & ((at_last | 0x20) == last);
        // A test that holds sets every bit of its byte; a byte beyond ASCII has its top bit set.
        marked |= unpaired | name_start | here;
    }

    Bytes first, second, last;
    std::size_t second_at, last_at;
};

// From `at` (past the text's first byte) on, the first pair of blocks that may hold a byte worth
// a look, or where the pairs no longer fit before `end`.
template <typename Bytes>
[[gnu::always_inline]] inline std::size_t skip_plain_blocks(const char* text, std::size_t at,
                                                            std::size_t end,
                                                            const name_marks& marks) {
    const block_tests<Bytes> tests(marks);
    for (; at + 2 * sizeof(Bytes) <= end; at += 2 * sizeof(Bytes)) {
        Bytes marked{};
        tests.mark(text + at, marked);
        tests.mark(text + at + sizeof(Bytes), marked);
        std::uint64_t lanes[sizeof(Bytes) / 8];
        std::memcpy(lanes, &marked, sizeof lanes);
        std::uint64_t any = 0;
        for (const std::uint64_t lane : lanes) {
            any |= lane;
        }
        if ((any & 0x8080808080808080) != 0) {
            break;
        }
    }
    return at;
}

using block_skipper = std::size_t (*)(const char*, std::size_t, std::size_t, const name_marks&);

std::size_t skip_16(const char* text, std::size_t at, std::size_t end, const name_marks& marks) {
    return skip_plain_blocks<bytes16>(text, at, end, marks);
}

#if defined(__x86_64__)
[[gnu::target("avx2")]] std::size_t skip_32(const char* text, std::size_t at, std::size_t end,
                                            const name_marks& marks) {
    return skip_plain_blocks<bytes32>(text, at, end, marks);
}
#endif

block_skipper fastest_skipper() {
#if defined(__x86_64__)
    if (__builtin_cpu_supports("avx2")) {
        return skip_32;
    }
#endif
    return skip_16;
}

// Whether the line that holds text[i] is a key line with a key called `name` on its path, read as
// the parser reads it.
bool line_names_key(std::string_view text, std::size_t i, std::string_view name,
                    std::vector<char16_t>& room) {
    const std::size_t newline = text.rfind('\n', i);
    const std::size_t start = newline == text.npos ? 0 : newline + 1;
    std::u16string_view path;
    if (!read_registry_key_path(text.substr(start, text.find('\n', i) - start), room, path)) {
        return false;
    }
    for (std::size_t from = 0; from <= path.size();) {
        const std::size_t cut = std::min(path.find(u'\\', from), path.size());
        if (cut - from == name.size() &&
            std::equal(name.begin(), name.end(), path.begin() + from,
                       [](char a, char16_t b) { return static_cast<unsigned char>(a) == b; })) {
            return true;
        }
        from = cut + 1;
    }
    return false;
}

}  // namespace

bool may_hold_key_named(std::string_view text, std::string_view name) {
    static const block_skipper skip = fastest_skipper();
    const name_marks marks = marks_of(name);
    // The blocks' tests read one byte past them, and the rest of a name starting at their end.
    const std::size_t reach = std::max<std::size_t>(1, marks.last_at);
    const std::size_t blocks_end = text.size() > reach ? text.size() - reach : 0;
    std::vector<char16_t> room;
    std::size_t at = 0;
    while (at < text.size()) {
        if (at > 0) {
            at = skip(text.data(), at, blocks_end, marks);
        }
        for (const std::size_t stop = std::min(text.size(), at + widest_blocks); at < stop; ++at) {
            if (!worth_a_look(text, at, name)) {
                continue;
            }
            if (line_names_key(text, at, name, room)) {
                return true;
            }
            // The rest of the line needs no look.
            at = std::min(text.find('\n', at), text.size());
        }
    }
    return false;
}
