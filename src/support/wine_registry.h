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

inline constexpr std::uint32_t reg_sz = 1, reg_expand_sz = 2, reg_binary = 3, reg_dword = 4,
                               reg_link = 6, reg_multi_sz = 7;

// One registry file as Wine saves it ("WINE REGISTRY Version 2"), indexed for lookups.
//
// Built from the file's bytes alone, in one pass that only finds the key lines. A file whose key
// names are all plain and in the order Wine saves them (a fresh prefix's system.reg) is searched by
// bisecting its key lines; any other has the names hashed as written, a name decoded only when a
// lookup's hash points at it. A key's values are read when asked for. Lines that make no sense are
// skipped as Wine skips them, and nothing in the bytes can make a lookup read outside them. A file
// without the header holds no keys, as Wine loads none from it.
//
// Paths are case-folded UTF-16 (fold_case) with single backslashes between components, relative
// to the file's root; the empty path is the root itself. A key exists when it is written in the
// file or lies above one that is.
class Cwine_registry {
  public:
    static constexpr std::uint32_t no_key = UINT32_MAX;

    explicit Cwine_registry(std::string bytes);
    Cwine_registry(const Cwine_registry&) = delete;
    Cwine_registry& operator=(const Cwine_registry&) = delete;

    // True when the file comes from a 64-bit prefix ("#arch=win64").
    bool is_win64() const { return win64_; }

    // True when the key lines are bisected: every name plain and in Wine's order.
    bool bisects_key_lines() const { return sorted_; }

    std::uint32_t find_key(std::u16string_view folded_path) const;

    // The value named `folded_name` (empty: the default value); the last one written wins.
    bool find_value(std::uint32_t key, std::u16string_view folded_name,
                    wine_registry_value& value) const;

    // A symbolic link's target as Wine writes it ("\Registry\Machine\..."); empty when the key
    // is no link.
    std::u16string link_target(std::uint32_t key) const;

  private:
    // A key line that names a key. A plain name (ASCII, "\\" between components, nothing
    // else escaped) is hashed and compared as written; any other is decoded from the line.
    struct key_line {
        std::uint32_t name_begin, name_end;  // plain: the name; else the line from its '['
        std::uint32_t body_begin, body_end;  // the lines after the key line
        std::uint32_t next = no_key;         // the next line of the same key
        bool plain;
    };
    // A key, written or only implied: the first `depth` components of `line`'s path, which are
    // the first `size` bytes of a plain name.
    struct key_node {
        std::uint64_t hash;
        std::uint32_t line, depth, size;
        std::uint32_t first_line = no_key, last_line = no_key;
    };
    struct slot {
        std::uint32_t tag;   // the high half of the node's hash
        std::uint32_t node;  // no_key: empty
    };
    struct path_hashes;

    // The key id of a key that exists only because keys below it are written.
    static constexpr std::uint32_t implied_key = no_key - 1;

    bool index_sorted();
    std::uint32_t find_sorted_key(std::u16string_view folded_path) const;
    void index();
    std::size_t read_preamble(std::size_t pos);
    std::size_t line_after(std::size_t pos) const;
    std::size_t next_key_line(std::size_t floor) const;
    bool continues_into(std::size_t begin, std::size_t floor, bool floor_continued) const;
    void add_key_line(std::size_t bracket, std::size_t line_end, std::size_t body_begin,
                      path_hashes& previous, path_hashes& current);
    std::uint32_t insert(std::uint64_t hash, std::uint32_t line, std::uint32_t depth,
                         std::uint32_t size, bool& created);
    void grow(std::size_t nodes);
    bool node_is(const key_node& node, std::uint32_t line, std::uint32_t depth,
                 std::uint32_t size) const;
    bool node_is(const key_node& node, std::u16string_view folded_path) const;
    std::u16string path_of(std::uint32_t line) const;

    template <typename Visit>
    void for_each_value_line(std::uint32_t key, Visit visit) const;

    std::string bytes_;
    bool win64_ = false;
    bool sorted_ = false;  // key ids are indices into lines_, which are in order
    std::vector<key_line> lines_;
    std::vector<key_node> nodes_;  // nodes_[0] is the root
    std::vector<slot> slots_;      // open addressing over nodes_
};
