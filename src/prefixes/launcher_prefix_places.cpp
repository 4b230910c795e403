#include "prefixes/launcher_prefix_places.h"

#include "prefixes/bounded_file.h"
#include "prefixes/lutris_game_file.h"
#include "prefixes/steam_library_folders.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <optional>

namespace {

namespace fs = std::filesystem;

// Launchers' own files are small; anything larger is not theirs.
constexpr std::size_t launcher_file_limit = 1 << 20;
// A Lutris game file takes a few KiB; YAML is slow to read (a MiB takes a fifth of a second), so
// a folder's game files are read up to a budget.
constexpr std::size_t lutris_file_limit = 64 << 10;
constexpr std::size_t lutris_folder_budget = 1 << 20;
// Enough for any player's games; a folder holding more is not read further.
constexpr std::size_t folder_entry_limit = 1024;
// Of a launcher's list of games or libraries, this many are taken (the newest game files): each
// costs a read or a folder to search, and no player has more.
constexpr std::size_t games_per_folder_limit = 256;
constexpr std::size_t libraries_per_list_limit = 256;

enum class place_kind {
    prefix,              // the folder itself
    folder_of_prefixes,  // each folder in it
    lutris_game_files,   // the prefixes its *.yml files name
    steam_folder,        // compatdata/*/pfx of each of its libraries
};

struct launcher_place {
    const char* launcher;
    const char* below_home;
    place_kind kind;
};

constexpr launcher_place launcher_places[] = {
    {"Lutris", ".config/lutris/games", place_kind::lutris_game_files},
    {"Lutris", ".local/share/lutris/games", place_kind::lutris_game_files},
    {"Lutris", "Games", place_kind::folder_of_prefixes},
    {"Bottles", ".local/share/bottles/bottles", place_kind::folder_of_prefixes},
    {"Bottles", ".var/app/com.usebottles.bottles/data/bottles/bottles",
     place_kind::folder_of_prefixes},
    {"Steam", ".steam/steam", place_kind::steam_folder},
    {"Steam", ".local/share/Steam", place_kind::steam_folder},
    {"Steam", ".var/app/com.valvesoftware.Steam/.local/share/Steam", place_kind::steam_folder},
    {"Heroic", "Games/Heroic/Prefixes", place_kind::folder_of_prefixes},
    {"PlayOnLinux", ".PlayOnLinux/wineprefix", place_kind::folder_of_prefixes},
    {"CrossOver", ".cxoffice", place_kind::folder_of_prefixes},
    {"Wine", ".wine", place_kind::prefix},
};

// The entries of a folder, by name; none when it cannot be read.
std::vector<fs::path> entries_of(const fs::path& folder) {
    std::vector<fs::path> entries;
    std::error_code error;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::directory_iterator() && entries.size() < folder_entry_limit;
         it.increment(error)) {
        entries.push_back(it->path());
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

// The *.yml files of a Lutris games folder, the newest first, as many as are read.
std::vector<fs::path> newest_game_files(const fs::path& games) {
    std::vector<std::pair<fs::file_time_type, fs::path>> files;
    for (fs::path& entry : entries_of(games)) {
        if (entry.extension() == ".yml") {
            std::error_code error;
            const fs::file_time_type changed = fs::last_write_time(entry, error);
            files.emplace_back(error ? fs::file_time_type::min() : changed, std::move(entry));
        }
    }
    // Newest first; by name where the times are the same, so that the choice is repeatable.
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    std::vector<fs::path> newest;
    for (std::size_t i = 0; i < files.size() && i < games_per_folder_limit; ++i) {
        newest.push_back(std::move(files[i].second));
    }
    return newest;
}

class Cplace_search {
  public:
    explicit Cplace_search(const std::string& home) : home_(home) {}

    void search(const launcher_place& place) {
        const fs::path where = fs::path(home_) / place.below_home;
        note(place.launcher, where);
        switch (place.kind) {
            case place_kind::prefix:
                found_.folders.push_back(where.string());
                break;
            case place_kind::folder_of_prefixes:
                add_each_folder_in(where);
                break;
            case place_kind::lutris_game_files:
                add_lutris_prefixes(where);
                break;
            case place_kind::steam_folder:
                add_steam_prefixes(where);
                break;
        }
    }

    launcher_prefix_places result() && { return std::move(found_); }

  private:
    void note(const char* launcher, const fs::path& where) {
        found_.searched.push_back(std::string(launcher) + ": " + where.string());
    }

    void add_each_folder_in(const fs::path& folder, const char* below = nullptr) {
        for (const fs::path& entry : entries_of(folder)) {
            std::error_code error;
            // Followed through links; a link that loops or leads nowhere is no folder.
            if (fs::is_directory(entry, error)) {
                found_.folders.push_back((below ? entry / below : entry).string());
            }
        }
    }

    void add_lutris_prefixes(const fs::path& games) {
        std::size_t budget = lutris_folder_budget;
        for (const fs::path& entry : newest_game_files(games)) {
            const std::optional<std::string> text =
                read_bounded_file(entry.string(), std::min(lutris_file_limit, budget));
            if (!text) {
                continue;
            }
            budget -= text->size();
            if (std::optional<std::string> prefix = lutris_game_prefix(*text, home_)) {
                found_.folders.push_back(std::move(*prefix));
            }
        }
    }

    void add_steam_prefixes(const fs::path& steam) {
        std::vector<std::string> libraries{steam.string()};
        if (const std::optional<std::string> text = read_bounded_file(
                (steam / "steamapps" / "libraryfolders.vdf").string(), launcher_file_limit)) {
            for (std::string& library : steam_library_folders(*text)) {
                if (libraries.size() > libraries_per_list_limit) {
                    break;
                }
                if (std::find(libraries.begin(), libraries.end(), library) == libraries.end()) {
                    libraries.push_back(std::move(library));
                }
            }
        }
        for (const std::string& library : libraries) {
            const fs::path compatdata = fs::path(library) / "steamapps" / "compatdata";
            if (library != steam.string()) {
                note("Steam", compatdata);
            }
            add_each_folder_in(compatdata, "pfx");
        }
    }

    std::string home_;
    launcher_prefix_places found_;
};

}  // namespace

launcher_prefix_places find_launcher_prefix_places(const std::string& home) {
    Cplace_search search(home);
    for (const launcher_place& place : launcher_places) {
        try {
            search.search(place);
        } catch (const std::exception&) {
            // A place the program cannot search (out of memory, say) is passed over.
        }
    }
    return std::move(search).result();
}
