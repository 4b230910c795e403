#pragma once
#include <string_view>

// Whether the text of a registry file in Wine's format may hold a key called `name` (ASCII,
// upper case) at any depth, in any letter case. False only when it cannot: no key line (one whose
// first character past blanks is '[') writes the name plainly, nor a byte beyond ASCII, nor an
// escape other than a doubled backslash, the only ways a key line can spell it. Reads the text at
// about the speed it is copied, so that a prefix holding none of the keys asked for is passed
// over without being parsed.
bool may_hold_key_named(std::string_view text, std::string_view name);
