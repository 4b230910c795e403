#include "prefixes/wine_prefix_discovery.h"

#include "prefixes/launcher_prefix_places.h"
#include "app/wolapi_install_path.h"
#include "login/game_table.h"
#include "registry/wine_prefix_choice.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <iterator>
#include <system_error>
#include <thread>
#include <utility>

namespace {

struct identity {
    unsigned long long device, inode;
    bool operator==(const identity& other) const {
        return device == other.device && inode == other.inode;
    }
};

std::optional<identity> identity_of(const std::string& path) {
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return identity{info.st_dev, info.st_ino};
}

std::optional<long long> modified_ns(const std::string& file) {
    struct stat info {};
    if (stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
}

// When the registry last changed: the later of its two files' times; none without a system.reg.
std::optional<long long> registry_changed_ns(const std::string& directory) {
    const std::optional<long long> machine = modified_ns(directory + "/system.reg");
    if (!machine) {
        return std::nullopt;
    }
    return std::max(*machine, modified_ns(directory + "/user.reg").value_or(*machine));
}

// Keeps one entry per prefix, whatever path led to it.
class Cprefix_set {
  public:
    bool add(const std::string& directory) {
        const std::optional<identity> id = identity_of(directory);
        if (id && std::find(seen_.begin(), seen_.end(), *id) != seen_.end()) {
            return false;
        }
        if (id) {
            seen_.push_back(*id);
        }
        return true;
    }

  private:
    std::vector<identity> seen_;
};

struct candidate {
    wine_prefix prefix;
    long long changed_ns;
};

// Reading hundreds of registries is nearly all that a search costs, so the prefixes are examined
// on as many threads as the processor runs at once, up to this many: past it the reading itself
// is what limits, and each thread may hold a prefix's two registry files, each as large as
// wine_registry_file_limit.
constexpr unsigned most_examining_threads = 4;

// Examines the candidates; where no thread can be started, this one does it all.
void examine_all(std::vector<candidate>& found) {
    std::atomic<std::size_t> next{0};
    const auto examine_the_rest = [&found, &next] {
        for (std::size_t i = next++; i < found.size(); i = next++) {
            found[i].prefix = examine_wine_prefix(found[i].prefix.directory);
        }
    };
    const std::size_t threads = std::min<std::size_t>(
        found.size(), std::min(std::thread::hardware_concurrency(), most_examining_threads));
    std::vector<std::thread> helpers;
    try {
        while (helpers.size() + 1 < threads) {
            helpers.emplace_back(examine_the_rest);
        }
    } catch (const std::system_error&) {
        // Fewer helpers, then.
    }
    examine_the_rest();
    for (std::thread& helper : helpers) {
        helper.join();
    }
}

}  // namespace

wine_prefix examine_wine_prefix(const std::string& directory) {
    wine_prefix prefix{directory, {}, false};
    try {
        // The games' keys, then the game-service API's.
        std::vector<std::string> subkeys;
        for (const known_game& game : known_games) {
            subkeys.push_back(game.key_path);
        }
        subkeys.push_back(wolapi_key_path);
        const std::vector<bool> held = wine_prefix_keys_held(directory, subkeys);
        for (std::size_t i = 0; i < std::size(known_games); ++i) {
            if (held[i]) {
                prefix.games.push_back(
                    game_titles[static_cast<std::size_t>(known_games[i].game_number)]);
            }
        }
        prefix.holds_game_service_api = held.back();
    } catch (const std::exception&) {
        // A registry the program cannot read holds nothing it could use.
        prefix = {directory, {}, false};
    }
    return prefix;
}

wine_prefix_search find_wine_prefixes(const std::string& home, const std::string& named) {
    // Without a home folder there is nowhere to look: relative to the working folder would be
    // somewhere else.
    launcher_prefix_places places =
        home.empty() ? launcher_prefix_places{} : find_launcher_prefix_places(home);
    wine_prefix_search search;
    search.searched = std::move(places.searched);

    Cprefix_set listed;
    if (!named.empty()) {
        listed.add(named);
    }
    std::vector<candidate> found;
    for (const std::string& folder : places.folders) {
        const std::optional<long long> changed = registry_changed_ns(folder);
        if (changed && listed.add(folder)) {
            found.push_back({{folder, {}, false}, *changed});
        }
    }
    examine_all(found);
    std::stable_sort(found.begin(), found.end(), [](const candidate& a, const candidate& b) {
        if (a.prefix.holds_any() != b.prefix.holds_any()) {
            return a.prefix.holds_any();
        }
        return a.changed_ns > b.changed_ns;
    });

    if (!named.empty()) {
        search.chosen = named;
    } else if (!found.empty() && found.front().prefix.holds_any()) {
        search.chosen = found.front().prefix.directory;
    } else if (!home.empty()) {
        search.chosen = home + "/.wine";
    }
    const std::optional<identity> chosen = identity_of(search.chosen);
    const bool chosen_found = std::any_of(found.begin(), found.end(), [&](const candidate& c) {
        return c.prefix.directory == search.chosen ||
               (chosen && identity_of(c.prefix.directory) == chosen);
    });
    if (!chosen_found && !search.chosen.empty()) {
        search.prefixes.push_back(examine_wine_prefix(search.chosen));
    }
    for (candidate& c : found) {
        search.prefixes.push_back(std::move(c.prefix));
    }
    return search;
}

std::optional<std::string> prefix_option(int argc, const char* const* argv) {
    constexpr std::string_view option = "--prefix";
    std::optional<std::string> prefix;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == option && i + 1 < argc) {
            prefix = argv[++i];
        } else if (argument.size() > option.size() && argument.substr(0, option.size()) == option &&
                   argument[option.size()] == '=') {
            prefix = std::string(argument.substr(option.size() + 1));
        }
    }
    return prefix;
}
