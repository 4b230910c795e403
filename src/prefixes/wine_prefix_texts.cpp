#include "prefixes/wine_prefix_discovery.h"

#include <algorithm>
#include <cstdint>

namespace {

// The note names this many places, enough for every launcher's own: a Steam list of many
// libraries would otherwise make it as long as the list.
constexpr std::size_t note_place_limit = 12;

std::string joined(const std::vector<std::string>& parts, const char* separator,
                   std::size_t limit = SIZE_MAX) {
    std::string text;
    for (std::size_t i = 0; i < parts.size() && i < limit; ++i) {
        text += (text.empty() ? "" : separator) + parts[i];
    }
    if (parts.size() > limit) {
        const std::size_t more = parts.size() - limit;
        text += " ... and " + std::to_string(more) + (more == 1 ? " more place" : " more places");
    }
    return text;
}

}  // namespace

std::string prefix_entry_text(const wine_prefix& prefix) {
    if (!prefix.games.empty()) {
        return prefix.directory + " (" + joined(prefix.games, ", ") + ")";
    }
    return prefix.directory +
           (prefix.holds_game_service_api ? " (no game, the game-service API)" : " (no game)");
}

std::string prefix_search_note(const wine_prefix_search& search) {
    if (search.searched.empty() ||
        std::any_of(search.prefixes.begin(), search.prefixes.end(),
                    [](const wine_prefix& prefix) { return prefix.holds_any(); })) {
        return {};
    }
    return "No Wine prefix found holds one of the games. Looked in: " +
           joined(search.searched, "; ", note_place_limit) + ".";
}
