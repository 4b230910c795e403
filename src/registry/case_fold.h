#pragma once
#include <string>
#include <string_view>

// The case-folded form names are compared in (Windows compares key and value names without case).
char16_t fold_non_ascii_case(char16_t c);
inline char16_t fold_case(char16_t c) {
    if (c >= 0x80) {
        return fold_non_ascii_case(c);
    }
    return c >= 'a' && c <= 'z' ? static_cast<char16_t>(c - 'a' + 'A') : c;
}
void fold_case(std::u16string& text);

// A key path as lookups name it: folded, one backslash between components, empty ones dropped.
std::u16string folded_path(std::u16string_view path);
// Writes the folded path to `folded`, which has room for path.size() units and may be where
// `path` is; gives its size.
std::size_t fold_path(std::u16string_view path, char16_t* folded);
