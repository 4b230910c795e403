#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Names and strings are UTF-16 inside Wine, written to its registry files as UTF-8 with C-style
// escapes.

// Decodes an escaped text as Wine writes it, from `text` up to the first unescaped `end` byte
// (or the end of `text`), and appends it to `out`. Returns the number of bytes used, the `end` byte
// included, or npos when `end` never comes.
std::size_t decode_escaped(std::string_view text, char end, std::u16string& out);

// A key line's name, from after its '[' up to the ']', decoded and written to `path` as
// folded_path writes it; `path` has room for written.size() units, as no character takes fewer
// bytes than it has UTF-16 units. Returns what decode_escaped returns; `size` gets the path's.
std::size_t decode_key_path(std::string_view written, char16_t* path, std::size_t& size);

// UTF-16LE bytes as units (an odd last byte is ignored), and units as UTF-16LE bytes.
std::u16string utf16_units(std::string_view utf16le);
std::string utf16le_bytes(std::u16string_view units);

// A hexadecimal digit's value; -1 for any other byte.
int hex_digit_value(char c);
