#pragma once
#include <cstdint>
#include <string>

// One offered game: its code on the game service.
struct game_entry {
    std::int32_t service_code = 0;
};

// One stored account. Only the fallback entry, offered when no stored account qualifies, has
// both texts empty.
struct account_entry {
    std::string nick;
    std::string password;
};
