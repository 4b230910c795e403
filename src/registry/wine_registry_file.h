#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One value as Wine stores it: its type and its bytes (strings as UTF-16LE, terminator included).
struct wine_registry_value {
    std::uint32_t type = 0;
    std::string data;
};

// Whether a line of a registry file (from its start on) writes a key: its first character past
// blanks is '['.
bool is_registry_key_line(std::string_view line);

// The path a key line names, decoded into `room`, which only grows, so that a key costs no
// allocation of its own; as folded_path gives it. False for a line that is no key line or whose
// name no ']' ends.
bool read_registry_key_path(std::string_view line, std::vector<char16_t>& room,
                            std::u16string_view& path);

inline constexpr std::uint32_t reg_sz = 1, reg_expand_sz = 2, reg_binary = 3, reg_dword = 4,
                               reg_link = 6, reg_multi_sz = 7;

// One registry file as Wine saves it ("WINE REGISTRY Version 2"), indexed for lookups.
//
// One pass over the bytes finds the key lines; the index holds one entry per key, written or
// lying above one that is, and a key line seen again adds its run to that key's entry, so the
// index grows with the file, however often a key is written. An entry points at key lines, so
// the file's text stays the one copy of every name and value. Lines that make no sense are skipped
// as Wine skips them, and a file without the header holds no keys, as Wine loads none from it.
//
// Paths are as folded_path gives them, relative to the file's root (the empty path). A key exists
// when it is written in the file or lies above one that is.
class Cwine_registry {
  public:
    explicit Cwine_registry(std::string bytes);

    // True when the file comes from a 64-bit prefix ("#arch=win64").
    bool is_win64() const { return win64_; }

    bool has_key(std::u16string_view path) const;

    // The value named `folded_name` (empty: the default value); the last one written wins, even
    // when its key is written more than once.
    bool find_value(std::u16string_view path, std::u16string_view folded_name,
                    wine_registry_value& value) const;

    // A symbolic link's target as Wine writes it ("\Registry\Machine\..."); empty when the key
    // is no link.
    std::u16string link_target(std::u16string_view path) const;

  private:
    // A key line, where the lines after it, its values, end, and the next run of the same key.
    struct key_run {
        std::size_t key_line, end, next;
    };
    // A key of the index: its path is the first `length` units of the path the key line of run
    // `witness` names; `first` and `last` are the runs whose key line names it exactly, if any.
    struct entry {
        std::size_t hash, length, witness, first, last;
    };
    static constexpr std::size_t no_run = SIZE_MAX;
    static constexpr entry empty_entry = {0, 0, no_run, no_run, no_run};

    // Whether the index entry is the key at `path`; `room` takes the decoded key line.
    bool names(const entry& slot, std::u16string_view path, std::vector<char16_t>& room) const;
    // The slot of the key at `path`, or the empty slot where it would go.
    std::size_t find(std::u16string_view path, std::vector<char16_t>& room) const;
    // The slot of the key at `path`, added with `run` as its witness when new.
    std::size_t find_or_add(std::u16string_view path, std::size_t run);

    // Calls visit(line, pos, end) on each line of the values of `path`, its runs in file order;
    // `pos` stands after the line and may be moved up to `end`. Gives whether `path` is a key.
    template <typename Visit>
    bool scan_values(std::u16string_view path, Visit visit) const;

    std::string bytes_;
    bool win64_ = false;
    std::vector<key_run> runs_;
    // Open addressing, a power of two long, one entry per key; no_run as witness where empty.
    std::vector<entry> slots_;
    std::size_t entries_ = 0;
    std::vector<char16_t> probe_room_;  // where the index decodes key lines while it is built
};
