#pragma once
#include "app/wine_prefix_discovery.h"

#include <string>

// The text of a prefix's entry in the prefix row: its folder and what it holds.
std::string prefix_entry_text(const wine_prefix& prefix);

// The row's note when no prefix found holds a game or the game-service API: that none does, and
// where the program looked; empty otherwise, and when it looked nowhere.
std::string prefix_search_note(const wine_prefix_search& search);
