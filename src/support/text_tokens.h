#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// White space is always HT, LF, VT, FF, CR and SP, whatever locale the process runs in.
bool is_blank_byte(char byte);

// Takes the text before the first `separator` off the front of `source` (the separator goes
// with it; the whole text when there is none) and returns it trimmed of white space.
std::string next_token(std::string& source, char separator);

// Takes the next blank-separated token off `source` and returns its decimal value.
std::int32_t next_token_int(std::string& source);

// Reads a decimal number as strtol does in base 10 (leading white space, an optional sign,
// digits up to the first other byte; 0 without digits), clamped to the 32-bit range on every
// platform, whatever the width of long.
std::int32_t decimal_value(std::string_view text);
