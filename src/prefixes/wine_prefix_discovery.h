#pragma once
#include <optional>
#include <string>
#include <vector>

// A Wine prefix and what its registry holds, read as the program reads it.
struct wine_prefix {
    std::string directory;
    std::vector<std::string> games;  // titles of the games whose keys it holds, in offer order
    bool holds_game_service_api = false;

    bool holds_any() const { return !games.empty() || holds_game_service_api; }
};

wine_prefix examine_wine_prefix(const std::string& directory);

// The prefixes the program can read, and the one it reads.
struct wine_prefix_search {
    // The prefix in use first when it was named; then every folder found that holds a
    // system.reg: those holding a game or the game-service API first, most recently changed
    // first within each group. Each prefix once.
    std::vector<wine_prefix> prefixes;
    std::string chosen;
    // Where the launchers' prefixes were looked for.
    std::vector<std::string> searched;
};

// `named` is the prefix the user named (--prefix, else $WINEPREFIX) or empty. Without one the
// choice is the first prefix found that holds a game or the API, else ~/.wine. With no home
// folder (empty) nothing is searched and only a named prefix is chosen. Nothing is stored.
wine_prefix_search find_wine_prefixes(const std::string& home, const std::string& named);

// The value of "--prefix DIR" or "--prefix=DIR" on a command line; the last one given counts.
std::optional<std::string> prefix_option(int argc, const char* const* argv);

// The text of a prefix's entry in the prefix row: its folder and what it holds.
std::string prefix_entry_text(const wine_prefix& prefix);

// The row's note when no prefix found holds a game or the game-service API: that none does, and
// where the program looked (a dozen places, then how many more); empty otherwise, and when it
// looked nowhere.
std::string prefix_search_note(const wine_prefix_search& search);
