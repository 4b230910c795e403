#pragma once
#include <string_view>

// Whether the text of a registry file in Wine's format may hold a key called `name` (ASCII,
// upper case, not empty) at any depth: whether a key line (one whose first character past blanks
// is '[') names a path with that key on it, decoded and folded as the parser reads it; true also
// where the parser would not read the line as a key (in a file without Wine's header, or in hex
// data run on). Only a line that writes the name plainly in any case, an escape other than a
// doubled backslash, or a byte beyond ASCII can name it, and only those lines are read closely:
// the rest of the text is passed over at about the speed it is copied, so that a prefix holding
// none of the keys asked for costs little more than reading its files.
bool may_hold_key_named(std::string_view text, std::string_view name);
