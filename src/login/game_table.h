#pragma once
#include <array>
#include <cstdint>
#include <string>

// Titles by game number, as the game service numbers its games.
extern const std::array<const char*, 15> game_titles;

// A game the login dialog can offer: the key its installer leaves under HKEY_LOCAL_MACHINE.
struct known_game {
    const char* key_path;
    int game_number;
    std::int32_t service_code;
};

// The games the login dialog tries, in the order it offers them.
extern const std::array<known_game, 6> known_games;

// The number the service expects in requests: the code shifted into the high byte.
std::int32_t service_number(std::int32_t service_code);
