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
