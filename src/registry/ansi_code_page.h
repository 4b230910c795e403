#pragma once
#include <iconv.h>

#include <cstdint>
#include <string>
#include <string_view>

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
    iconv_t to_ansi_;
    iconv_t from_ansi_;
};
