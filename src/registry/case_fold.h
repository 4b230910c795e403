#pragma once
#include <string>
#include <string_view>

// The case-folded form names are compared in (Windows compares key and value names without case).
char16_t fold_case(char16_t c);
void fold_case(std::u16string& text);

// A key path as lookups name it: folded, one backslash between components, empty ones dropped.
std::u16string folded_path(std::u16string_view path);
void fold_path(std::u16string_view path, std::u16string& folded);  // into a buffer kept for reuse
