#include "app/wine_prefix_texts.h"

#include <algorithm>

namespace {

std::string joined(const std::vector<std::string>& parts, const char* separator) {
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : separator) + part;
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
           joined(search.searched, "; ") + ".";
}
