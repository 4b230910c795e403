#include "login/game_table.h"

const std::array<const char*, 15> game_titles = {
    "Tiberian Dawn",
    "Red Alert",
    "Tiberian Sun",
    "Dune 2",
    "Dune 2000",
    "Red Alert 2",
    "Red Alert 2 Yuri's Revenge",
    "Renegade",
    "Generals",
    "Generals Zero Hour",
    "Emperor Battle for Dune",
    "Nox",
    "Battle for Middle Earth",
    "Battle for Middle Earth 2",
    "Tiberium Wars",
};

const std::array<known_game, 6> known_games = {{
    {"Software\\Westwood\\Renegade", 7, 12},
    {"Software\\Westwood\\Tiberian Sun", 2, 18},
    {"Software\\Westwood\\Emperor", 10, 31},
    {"Software\\Westwood\\Red Alert 2", 5, 33},
    {"Software\\Westwood\\Nox", 11, 37},
    {"Software\\Westwood\\Yuri's Revenge", 6, 41},
}};

std::int32_t service_number(std::int32_t service_code) {
    return service_code * 256;
}
