#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Texts of Wine's registry files: names and strings are UTF-16 inside Wine, written to the file
// as UTF-8 with C-style escapes.

// Decodes an escaped text as Wine writes it, from `text` up to the first unescaped `end` byte
// (or the end of `text`). Returns the number of bytes used, the `end` byte included, or npos
// when `end` never comes.
std::size_t decode_escaped(std::string_view text, char end, std::u16string& out);

// The case-folded form names are compared in (Windows compares key and value names without case).
char16_t fold_case(char16_t c);
void fold_case(std::u16string& text);

// Converts between the prefix's ANSI code page and UTF-16.
class Cansi_code_page {
  public:
    explicit Cansi_code_page(std::uint32_t code_page);
    ~Cansi_code_page();
    Cansi_code_page(const Cansi_code_page&) = delete;
    Cansi_code_page& operator=(const Cansi_code_page&) = delete;

    // UTF-16LE bytes (an odd last byte is ignored) to ANSI; '?' for what the code page lacks.
    std::string from_utf16(std::string_view utf16le) const;
    // ANSI bytes to UTF-16; '?' for bytes the code page does not define.
    std::u16string to_utf16(std::string_view ansi) const;

  private:
    void* to_ansi_;
    void* from_ansi_;
};

// Plain key names as Wine writes most of them: ASCII, non-empty components with "\\" between
// them, ended by ']'. Wine saves its tree in order, children sorted without case, each key
// before its subkeys; over plain names that order is a byte order in which ']' comes first,
// then the separator, then every other byte in lower case.

// Where the plain name that starts at `name` ends (its ']'), looking no further than `limit`
// bytes nor past the end of its line; npos when it is not plain. The first `known` bytes are taken
// to be part of a plain name.
std::size_t plain_name_end(const char* name, std::size_t limit, std::size_t known);

// A byte's place in that order.
inline unsigned plain_rank(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == ']' || byte == '\\') {
        return byte == '\\';
    }
    return (byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte) + 2;
}

// How two plain names of `a_size` and `b_size` bytes (']' excluded) compare, from the first
// `from` bytes, which are known to be alike.
struct plain_order {
    std::size_t same;  // the bytes alike before the first difference
    int sign;          // below, at or above zero as a sorts before, with or after b
};
plain_order compare_plain_names(const char* a, std::size_t a_size, const char* b,
                                std::size_t b_size, std::size_t from);

// The plain name a folded path would be written as, ']' included; false when no plain name
// can match it (an empty component, or a character a plain name cannot hold).
bool plain_name_of(std::u16string_view folded_path, std::string& name);
