// Reading the launchers' own files: Lutris game files, Steam's list of libraries, and the
// program's command line.
#include "prefixes/bounded_file.h"
#include "prefixes/launcher_prefix_places.h"
#include "prefixes/lutris_game_file.h"
#include "prefixes/steam_library_folders.h"
#include "prefixes/wine_prefix_discovery.h"
#include "fixtures/scratch_home.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using strings = std::vector<std::string>;

TEST(lutris_game_file, gives_the_prefix_of_the_game_section_or_none) {
    struct lutris_case {
        const char* what;
        std::string yaml;
        std::optional<std::string> prefix;
    };
    const lutris_case cases[] = {
        {"as Lutris writes it",
         "game:\n  arch: win64\n  exe: /home/p/Games/ra2/drive_c/Westwood/RA2/RA2.exe\n"
         "  prefix: /home/p/Games/ra2\ngame_slug: red-alert-2\nname: Red Alert 2\n"
         "runner: wine\nsystem: {}\nwine:\n  version: lutris-7.2-2-x86_64\n",
         "/home/p/Games/ra2"},
        {"quoted, below the home folder", "game:\n  prefix: '~/Games/Tiberian Sun'\n",
         "/home/p/Games/Tiberian Sun"},
        {"a prefix outside the game section", "prefix: /elsewhere\ngame:\n  exe: x.exe\n",
         std::nullopt},
        {"an empty prefix", "game:\n  prefix: ''\n", std::nullopt},
        {"a list where the prefix should be", "game:\n  prefix: [a, b]\n", std::nullopt},
        {"a game section that is a text", "game: prefix\n", std::nullopt},
        {"no YAML at all", "game:\n  prefix: [unclosed\n\t: :", std::nullopt},
        {"deeply nested", std::string(100000, '[') + std::string(100000, ']'), std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const lutris_case& test : cases) {
        SCOPED_TRACE(test.what);
        EXPECT_EQ(lutris_game_prefix(test.yaml, "/home/p"), test.prefix);
    }
}

TEST(steam_library_folders, lists_each_library_of_either_form) {
    struct vdf_case {
        const char* what;
        std::string vdf;
        strings folders;
    };
    const vdf_case cases[] = {
        {"the current form, two libraries",
         "\"libraryfolders\"\n{\n\t\"contentstatsid\"\t\t\"-4713\"\n\t\"0\"\n\t{\n"
         "\t\t\"path\"\t\t\"/home/p/.local/share/Steam\"\n\t\t\"label\"\t\t\"\"\n"
         "\t\t\"apps\"\n\t\t{\n\t\t\t\"228980\"\t\t\"1\"\n\t\t}\n\t}\n\t\"1\"\n\t{\n"
         "\t\t\"path\"\t\t\"/mnt/games/Steam Library\"\n\t\t\"apps\"\n\t\t{\n\t\t}\n\t}\n}\n",
         {"/home/p/.local/share/Steam", "/mnt/games/Steam Library"}},
        {"the older form",
         "\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1\"\n"
         "\t\"ContentStatsID\"\t\t\"2\"\n\t\"1\"\t\t\"/mnt/old\"\n}\n",
         {"/mnt/old"}},
        {"escapes and comments",
         "// written by hand\n\"libraryfolders\" { \"0\" { \"path\" "
         "\"/a \\\"b\\\"\\\\c\" } }",
         {"/a \"b\"\\c"}},
        {"a path that is no library's",
         "\"libraryfolders\" { \"0\" { \"apps\" { \"path\" "
         "\"/no\" } } \"label\" \"/no\" }",
         {}},
        {"another file", "\"config\" { \"0\" { \"path\" \"/no\" } }", {}},
        {"cut short",
         "\"libraryfolders\" { \"0\" { \"path\" \"/yes\" } \"1\" { \"path\" \"/unterm",
         {"/yes"}},
        {"stray braces", "} \"libraryfolders\" { \"0\" { \"path\" \"/no\" } }", {}},
        {"nesting with no end", std::string(200000, '{'), {}},
    };
    for (const vdf_case& test : cases) {
        SCOPED_TRACE(test.what);
        EXPECT_EQ(steam_library_folders(test.vdf), test.folders);
    }
}

bool starts_with(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
}

TEST(launcher_prefix_places, reads_the_newest_lutris_game_files_and_the_first_steam_libraries) {
    const Cscratch_home home;
    constexpr int written = 300, taken = 256;
    std::string vdf = "\"libraryfolders\"\n{\n";
    for (int i = 0; i < written; ++i) {
        const std::string file = home / (".config/lutris/games/" + std::to_string(i) + ".yml");
        home.put(".config/lutris/games/" + std::to_string(i) + ".yml",
                 "game:\n  prefix: /p/" + std::to_string(i) + "\n");
        // Named against their age, so that name order would pick others.
        const timespec changed{time(nullptr) - written + i, 0}, times[2] = {changed, changed};
        ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
        vdf += "\"" + std::to_string(i) + "\" { \"path\" \"/lib/" + std::to_string(i) + "\" }\n";
    }
    home.put(".local/share/Steam/steamapps/libraryfolders.vdf", vdf + "}\n");

    const launcher_prefix_places places = find_launcher_prefix_places(home.path());
    strings lutris, expected_lutris, libraries, expected_libraries;
    for (const std::string& folder : places.folders) {
        if (starts_with(folder, "/p/")) {
            lutris.push_back(folder);
        }
    }
    for (const std::string& place : places.searched) {
        if (starts_with(place, "Steam: /lib/")) {
            libraries.push_back(place);
        }
    }
    for (int i = 0; i < taken; ++i) {
        expected_lutris.push_back("/p/" + std::to_string(written - 1 - i));
        expected_libraries.push_back("Steam: /lib/" + std::to_string(i) + "/steamapps/compatdata");
    }
    EXPECT_EQ(lutris, expected_lutris);
    EXPECT_EQ(libraries, expected_libraries);
}

TEST(launcher_prefix_places, reads_lutris_game_files_of_up_to_64_kib_and_1_mib_in_all) {
    const Cscratch_home home;
    // Sixty KiB each: seventeen fit in the budget; one just over 64 KiB, the newest, never does.
    constexpr int written = 20;
    for (int i = 0; i <= written; ++i) {
        const std::string name = ".config/lutris/games/" + std::to_string(i) + ".yml";
        std::string text = "game:\n  prefix: /q/" + std::to_string(i) + "\n#";
        text.resize(i == written ? (64 << 10) + 1 : 60 << 10, 'x');
        home.put(name, text + "\n");
        const timespec changed{time(nullptr) - written + i, 0}, times[2] = {changed, changed};
        ASSERT_EQ(utimensat(AT_FDCWD, (home / name).c_str(), times, 0), 0);
    }
    strings expected;
    for (int i = written - 1; i >= written - 17; --i) {
        expected.push_back("/q/" + std::to_string(i));
    }
    strings lutris;
    for (const std::string& folder : find_launcher_prefix_places(home.path()).folders) {
        if (starts_with(folder, "/q/")) {
            lutris.push_back(folder);
        }
    }
    EXPECT_EQ(lutris, expected);
}

TEST(prefix_search_note, names_a_dozen_places_and_counts_the_rest) {
    struct note_case {
        int places;
        std::string end;
    };
    const note_case cases[] = {
        {1, "/0."},
        {12, "/11."},
        {13, "/11 ... and 1 more place."},
        {21007, "/11 ... and 20995 more places."},
    };
    for (const note_case& test : cases) {
        SCOPED_TRACE(test.places);
        wine_prefix_search search;
        search.prefixes.push_back({"/p", {}, false});
        for (int i = 0; i < test.places; ++i) {
            search.searched.push_back("Steam: /" + std::to_string(i));
        }
        const std::string note = prefix_search_note(search);
        EXPECT_TRUE(starts_with(note,
                                "No Wine prefix found holds one of the games. Looked in: "
                                "Steam: /0"))
            << note;
        EXPECT_EQ(note.substr(note.size() - std::min(note.size(), test.end.size())), test.end);
        EXPECT_LE(note.size(), 300u);
    }
}

TEST(prefix_option, takes_the_folder_after_the_option_or_after_its_equals_sign) {
    const char* separate[] = {"ketrin_client", "--prefix", "/games/ra2"};
    EXPECT_EQ(prefix_option(3, separate), "/games/ra2");
    const char* joined[] = {"ketrin_client", "--prefix=/games/ts", "--prefix", "/games/ra2"};
    EXPECT_EQ(prefix_option(4, joined), "/games/ra2");
    const char* last_alone[] = {"ketrin_client", "--prefix"};
    EXPECT_EQ(prefix_option(2, last_alone), std::nullopt);
    const char* other[] = {"ketrin_client", "--prefixes=/x", "/y"};
    EXPECT_EQ(prefix_option(3, other), std::nullopt);
}

TEST(bounded_file, reads_only_a_regular_file_within_the_limit) {
    const Cscratch_directory scratch("ketrin-bounded");
    const std::filesystem::path& folder = scratch.path();
    put_file_bytes(folder / "small", "12345");
    ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0600), 0);

    EXPECT_EQ(read_bounded_file(folder / "small", 5), "12345");
    EXPECT_EQ(read_bounded_file(folder / "small", 4), std::nullopt);
    EXPECT_EQ(read_bounded_file(folder / "pipe", 5), std::nullopt);
    EXPECT_EQ(read_bounded_file(folder, 5), std::nullopt);
    EXPECT_EQ(read_bounded_file(folder / "missing", 5), std::nullopt);
}

}  // namespace
