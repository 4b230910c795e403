#pragma once
#include <cstdint>
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
    // The lines after one key line, up to the next one; `next`: the key's next such body.
    struct body {
        std::size_t begin, end;
        std::uint32_t next;
    };
    // A key's bodies in file order; none for a key only implied by those below it.
    struct chain {
        std::uint32_t first = no_key, last = no_key;
    };

    std::uint32_t add_key(const std::u16string& path, const std::u16string& previous);
    void add_body(std::uint32_t key, std::size_t begin, std::size_t end);

    template <typename Visit>
    void for_each_value_line(std::uint32_t key, Visit visit) const;

    std::string bytes_;
    bool win64_ = false;
    std::unordered_map<std::u16string, std::uint32_t> keys_;  // path to key id
    std::vector<chain> chains_;                               // by key id
    std::vector<body> bodies_;
};
