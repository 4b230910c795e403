// Finding the games' Wine prefix in a scratch home laid out as the launchers lay out theirs. The
// registry files are real Wine's (tests/fixtures/wine_game_registries).
#include "prefixes/wine_prefix_discovery.h"

#include "fixtures/scratch_home.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

namespace {

namespace fs = std::filesystem;
using strings = std::vector<std::string>;

struct listed {
    std::string directory;
    strings games;
    bool api;
    bool operator==(const listed& other) const {
        return directory == other.directory && games == other.games && api == other.api;
    }
};

std::ostream& operator<<(std::ostream& out, const listed& entry) {
    out << entry.directory << " [";
    for (const std::string& game : entry.games) {
        out << game << ";";
    }
    return out << "]" << (entry.api ? " api" : "");
}

std::vector<listed> entries(const wine_prefix_search& search) {
    std::vector<listed> result;
    for (const wine_prefix& prefix : search.prefixes) {
        result.push_back({prefix.directory, prefix.games, prefix.holds_game_service_api});
    }
    return result;
}

const strings red_alert_2{"Red Alert 2"};
const strings tiberian_sun{"Tiberian Sun"};

TEST(wine_prefix_discovery, finds_the_prefix_where_each_launcher_keeps_it) {
    struct launcher_case {
        const char* what;
        std::function<std::string(const Cscratch_home&)> lay_out;  // gives the prefix folder
    };
    const launcher_case cases[] = {
        {"Lutris, a game file in its configuration folder",
         [](const Cscratch_home& home) {
             home.put(".config/lutris/games/red-alert-2-1700000000.yml",
                      "game:\n  exe: " + home / "lutris/ra2/drive_c/RA2.exe" +
                          "\n  prefix: " + home / "lutris/ra2" +
                          "\ngame_slug: red-alert-2\nname: Red Alert 2\nrunner: wine\n");
             return home.prefix("lutris/ra2", "red_alert_2");
         }},
        {"Lutris, a game file in its data folder, below the home folder",
         [](const Cscratch_home& home) {
             home.put(".local/share/lutris/games/ra2.yml",
                      "game:\n  prefix: ~/lutris data/ra2\nrunner: wine\n");
             return home.prefix("lutris data/ra2", "red_alert_2");
         }},
        {"Lutris, its default games folder",
         [](const Cscratch_home& home) { return home.prefix("Games/red-alert-2", "red_alert_2"); }},
        {"Bottles",
         [](const Cscratch_home& home) {
             return home.prefix(".local/share/bottles/bottles/Red-Alert-2", "red_alert_2");
         }},
        {"Bottles as a Flatpak",
         [](const Cscratch_home& home) {
             return home.prefix(".var/app/com.usebottles.bottles/data/bottles/bottles/RA2",
                                "red_alert_2");
         }},
        {"Steam, its own library",
         [](const Cscratch_home& home) {
             return home.prefix(".local/share/Steam/steamapps/compatdata/2229850/pfx",
                                "red_alert_2");
         }},
        {"Steam, the second of two libraries",
         [](const Cscratch_home& home) {
             home.put(".steam/steam/steamapps/libraryfolders.vdf",
                      "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" +
                          home / ".steam/steam" + "\"\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" +
                          home / "Second Library" + "\"\n\t}\n}\n");
             return home.prefix("Second Library/steamapps/compatdata/2229850/pfx", "red_alert_2");
         }},
        {"Steam as a Flatpak",
         [](const Cscratch_home& home) {
             return home.prefix(
                 ".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/7/pfx",
                 "red_alert_2");
         }},
        {"Heroic",
         [](const Cscratch_home& home) {
             return home.prefix("Games/Heroic/Prefixes/Red Alert 2", "red_alert_2");
         }},
        {"PlayOnLinux",
         [](const Cscratch_home& home) {
             return home.prefix(".PlayOnLinux/wineprefix/RA2", "red_alert_2");
         }},
        {"CrossOver",
         [](const Cscratch_home& home) { return home.prefix(".cxoffice/RA2", "red_alert_2"); }},
        {"Wine's own",
         [](const Cscratch_home& home) { return home.prefix(".wine", "red_alert_2"); }},
    };
    for (const launcher_case& test : cases) {
        SCOPED_TRACE(test.what);
        const Cscratch_home home;
        const std::string prefix = test.lay_out(home);
        const wine_prefix_search search = find_wine_prefixes(home.path(), "");
        EXPECT_EQ(search.chosen, prefix);
        EXPECT_EQ(entries(search), (std::vector<listed>{{prefix, red_alert_2, false}}));
    }
}

TEST(wine_prefix_discovery, lists_a_lutris_and_a_steam_prefix_and_picks_the_newer) {
    const Cscratch_home home;
    home.put(".config/lutris/games/red-alert-2.yml", "game:\n  prefix: ~/Games/red-alert-2\n");
    const std::string lutris = home.prefix("Games/red-alert-2", "red_alert_2", 3600);
    const std::string steam =
        home.prefix(".local/share/Steam/steamapps/compatdata/2229850/pfx", "tiberian_sun", 60);

    const wine_prefix_search search = find_wine_prefixes(home.path(), "");
    EXPECT_EQ(search.chosen, steam);
    EXPECT_EQ(entries(search),
              (std::vector<listed>{{steam, tiberian_sun, false}, {lutris, red_alert_2, false}}));
}

TEST(wine_prefix_discovery, puts_prefixes_with_games_or_the_api_first_then_the_newest) {
    const Cscratch_home home;
    const std::string newest_empty = home.prefix(".cxoffice/empty", "none", 0);
    const std::string api = home.prefix(".PlayOnLinux/wineprefix/api", "api", 100);
    const std::string older_empty = home.prefix(".wine", "none", 150);
    const std::string game = home.prefix("Games/Heroic/Prefixes/ts", "tiberian_sun", 200);

    const wine_prefix_search search = find_wine_prefixes(home.path(), "");
    EXPECT_EQ(search.chosen, api);
    EXPECT_EQ(entries(search), (std::vector<listed>{{api, {}, true},
                                                    {game, tiberian_sun, false},
                                                    {newest_empty, {}, false},
                                                    {older_empty, {}, false}}));
}

TEST(wine_prefix_discovery, without_a_prefix_holding_a_game_reads_home_wine) {
    {
        SCOPED_TRACE("~/.wine holds no game either");
        const Cscratch_home home;
        const std::string bottle = home.prefix(".local/share/bottles/bottles/empty", "none", 0);
        const std::string wine = home.prefix(".wine", "none", 100);
        const wine_prefix_search search = find_wine_prefixes(home.path(), "");
        EXPECT_EQ(search.chosen, wine);
        EXPECT_EQ(entries(search), (std::vector<listed>{{bottle, {}, false}, {wine, {}, false}}));
    }
    {
        SCOPED_TRACE("no prefix at all");
        const Cscratch_home home;
        const wine_prefix_search search = find_wine_prefixes(home.path(), "");
        EXPECT_EQ(search.chosen, home / ".wine");
        EXPECT_EQ(entries(search), (std::vector<listed>{{home / ".wine", {}, false}}));
        EXPECT_EQ(search.searched.size(), 12u);
        EXPECT_EQ(search.searched.front(), "Lutris: " + home / ".config/lutris/games");
        EXPECT_EQ(search.searched.back(), "Wine: " + home / ".wine");
    }
    {
        SCOPED_TRACE("no home folder: nowhere to look");
        const wine_prefix_search search = find_wine_prefixes("", "");
        EXPECT_EQ(search.chosen, "");
        EXPECT_EQ(entries(search), std::vector<listed>{});
        EXPECT_EQ(search.searched, strings{});
    }
}

TEST(wine_prefix_discovery, a_named_prefix_goes_before_all_and_each_prefix_is_listed_once) {
    const Cscratch_home home;
    const std::string named = home.prefix("elsewhere/empty", "none", 0);
    home.link(".cxoffice/same-as-named", named);
    home.prefix(".local/share/Steam/steamapps/compatdata/1/pfx", "red_alert_2", 100);
    // The usual link from the old Steam folder to the new: the same library twice.
    home.link(".steam/steam", home / ".local/share/Steam");

    const wine_prefix_search search = find_wine_prefixes(home.path(), named);
    EXPECT_EQ(search.chosen, named);
    EXPECT_EQ(entries(search),
              (std::vector<listed>{
                  {named, {}, false},
                  {home / ".steam/steam/steamapps/compatdata/1/pfx", red_alert_2, false}}));
}

TEST(wine_prefix_discovery, passes_over_what_it_cannot_read_and_ends_on_looping_folders) {
    const Cscratch_home home;
    const std::string game = home.prefix("Games/Heroic/Prefixes/ra2", "red_alert_2");
    // A prefix folder without a registry, and folders and files that lead nowhere.
    fs::create_directories(home / ".PlayOnLinux/wineprefix/no-registry/drive_c");
    home.link(".cxoffice/loop-a", home / ".cxoffice/loop-b");
    home.link(".cxoffice/loop-b", home / ".cxoffice/loop-a");
    home.link(".cxoffice/up", home / ".cxoffice");
    home.link(".cxoffice/nowhere", home / "missing");
    home.link("Games/itself", home / "Games");
    // A Steam library list naming the library itself and one that loops back to the home.
    home.put(".local/share/Steam/steamapps/libraryfolders.vdf",
             "\"libraryfolders\" { \"0\" { \"path\" \"" + home / ".local/share/Steam" +
                 "\" } \"1\" { \"path\" \"" + home.path() + "\" } \"2\" { \"path\" ");
    home.link(".local/share/Steam/steamapps/compatdata/loop", home / ".local/share/Steam");
    // Lutris game files that are no such file: a pipe, a folder, too large, no YAML, a prefix
    // that is not there, and one that cannot be read.
    const std::string games = home / ".config/lutris/games";
    fs::create_directories(games + "/folder.yml");
    ASSERT_EQ(mkfifo((games + "/pipe.yml").c_str(), 0600), 0);
    // Each of these names a prefix that holds a game: only reading the file would list it.
    home.put(".config/lutris/games/large.yml",
             "game:\n  prefix: " + home.prefix("behind-large", "tiberian_sun") + "\n#" +
                 std::string(2 << 20, 'x') + "\n");
    home.put(".config/lutris/games/broken.yml",
             "game: [\n  prefix: " + home.prefix("behind-broken", "tiberian_sun") + "\n");
    home.put(".config/lutris/games/gone.yml", "game:\n  prefix: " + home / "gone" + "\n");
    home.put(".config/lutris/games/locked.yml", "game:\n  prefix: " + home / "locked" + "\n");
    home.prefix("locked", "tiberian_sun", 10);
    fs::permissions(home / ".config/lutris/games/locked.yml", fs::perms::none);
    home.prefix(".local/share/bottles/bottles/hidden", "tiberian_sun", 20);
    fs::permissions(home / ".local/share/bottles", fs::perms::none);

    const wine_prefix_search search = find_wine_prefixes(home.path(), "");
    EXPECT_EQ(search.chosen, game);
    std::vector<listed> expected{{game, red_alert_2, false}};
    if (geteuid() == 0) {
        // Root reads what file modes forbid.
        expected.push_back({home / "locked", tiberian_sun, false});
        expected.push_back({home / ".local/share/bottles/bottles/hidden", tiberian_sun, false});
    }
    EXPECT_EQ(entries(search), expected);
}

TEST(wine_prefix_discovery, examines_a_prefix_as_the_program_reads_its_registry) {
    const Cscratch_home home;
    EXPECT_EQ(examine_wine_prefix(home.prefix("a", "red_alert_2")).games, red_alert_2);
    EXPECT_TRUE(examine_wine_prefix(home.prefix("b", "api")).holds_game_service_api);
    const wine_prefix none = examine_wine_prefix(home.prefix("c", "none"));
    EXPECT_FALSE(none.holds_any());
    EXPECT_FALSE(examine_wine_prefix(home / "missing").holds_any());
}

}  // namespace
