#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Names and strings are UTF-16 inside Wine, written to its registry files as UTF-8 with C-style
// escapes.

// Decodes an escaped text as Wine writes it, from `text` up to the first unescaped `end` byte
// (or the end of `text`). Returns the number of bytes used, the `end` byte included, or npos
// when `end` never comes.
std::size_t decode_escaped(std::string_view text, char end, std::u16string& out);

// The same, written to `out`, which has room for text.size() units: no character is written in
// fewer bytes than it has UTF-16 units. `written` gets the number of units written.
std::size_t decode_escaped(std::string_view text, char end, char16_t* out, std::size_t& written);

// A hexadecimal digit's value; -1 for any other byte.
int hex_digit_value(char c);
