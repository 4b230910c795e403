#pragma once
#include <cstdint>
#include <memory_resource>
#include <string>
#include <string_view>
#include <unordered_map>
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
// Built from the file's bytes in one pass that finds the key lines: each key's path, decoded and
// case-folded, leads to the lines of its values, which are read when asked for. Lines that make
// no sense are skipped as Wine skips them. A file without the header holds no keys, as Wine loads
// none from it.
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

    std::uint32_t find_key(std::u16string_view folded_path) const;

    // The value named `folded_name` (empty: the default value); the last one written wins.
    bool find_value(std::uint32_t key, std::u16string_view folded_name,
                    wine_registry_value& value) const;

    // A symbolic link's target as Wine writes it ("\Registry\Machine\..."); empty when the key
    // is no link.
    std::u16string link_target(std::uint32_t key) const;

  private:
    static constexpr std::uint32_t no_lines = UINT32_MAX;
    // The lines after one key line, up to the next one, and the same key's run written before.
    struct value_lines {
        std::size_t begin, end;
        std::uint32_t earlier;
    };

    // Adds the key a key line names (`written`: the line after its '['), and those above it; no_key
    // when the name cannot be read.
    std::uint32_t add_key(std::string_view written);

    template <typename Visit>
    bool scan_value_lines(std::uint32_t key, Visit visit) const;

    std::string bytes_;
    bool win64_ = false;
    // The paths' characters, kept together: a key costs no allocation of its own.
    std::pmr::monotonic_buffer_resource paths_;
    std::pmr::unordered_map<std::u16string_view, std::uint32_t> keys_{&paths_};  // path to key id
    std::u16string_view last_added_;           // the path of the key added last
    std::vector<std::uint32_t> newest_lines_;  // by key id; no_lines for a key only implied
    std::vector<value_lines> lines_;
};
