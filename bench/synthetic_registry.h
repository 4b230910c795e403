#pragma once
// Registry files in Wine's format for the benchmarks, of a realistic shape and size.
#include <string>

// A fresh prefix's system.reg holds about this many keys (1.75 MB).
inline constexpr int fresh_prefix_keys = 8600;

// The games' keys as the program asks for them.
extern const char* const game_keys[6];

// A system.reg of a 64-bit prefix, about 200 bytes per other key, every key written in the order
// Wine saves them; with the games' and the login dialog's keys among the others, or without.
std::string synthetic_system_reg(int other_keys, bool with_games = true);
