#pragma once
#include <string>

// The case-folded form names are compared in (Windows compares key and value names without case).
char16_t fold_case(char16_t c);
void fold_case(std::u16string& text);
