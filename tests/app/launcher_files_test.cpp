// Reading the launchers' own files: Lutris game files, Steam's list of libraries, and the
// program's command line.
#include "app/bounded_file.h"
#include "app/lutris_game_file.h"
#include "app/steam_library_folders.h"
#include "app/wine_prefix_discovery.h"
#include "fixtures/scratch_directory.h"
#include "fixtures/test_files.h"

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
