#pragma once
// The registry as the games and the game-service API leave it. They are 32-bit programs, so
// their keys are written through the 32-bit view, as the 32-bit registry tool writes them.
#include <windows.h>

#include <string>

// Removes every key the program reads: the games' and the API's keys and the stored accounts.
void clear_game_registry();

// Creates `key` below `root` (and the keys above it).
void create_32bit_key(HKEY root, const std::string& key);

// Stores `data` as a string value byte for byte: the caller gives the terminating NUL, or
// leaves it out, and may put NUL bytes inside.
void write_32bit_string(HKEY root, const std::string& key, const std::string& name,
                        const std::string& data);

// A stored account under the Wchat keys, nick and password as their keys' default values.
void store_account(int number, const std::string& nick, const std::string& password);
