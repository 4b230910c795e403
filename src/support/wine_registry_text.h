#pragma once
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
