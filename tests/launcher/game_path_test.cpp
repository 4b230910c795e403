#include "launcher/game_path.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <ostream>
#include <string>

namespace {

constexpr std::size_t path_buffer_size = 260;

// "C:\ddd...\" with exactly `length` characters, the trailing backslash included.
std::string directory_of_length(std::size_t length) {
    return "C:\\" + std::string(length - 4, 'd') + "\\";
}

struct path_case {
    const char* what;
    std::string own_path;
    std::size_t length;  // what GetModuleFileNameA returned
    std::optional<std::string> game_path;
};

void PrintTo(const path_case& c, std::ostream* out) {
    *out << c.what;
}

class make_game_path_from : public testing::TestWithParam<path_case> {};

TEST_P(make_game_path_from, own_path_within_the_buffer_or_leaves_it_alone) {
    const path_case& c = GetParam();
    // Bytes past the buffer's end are watched for any write beyond it.
    char memory[path_buffer_size + 16];
    std::memset(memory, '#', sizeof memory);
    std::memcpy(memory, c.own_path.data(), std::min(c.own_path.size() + 1, path_buffer_size));
    const std::string before(memory, sizeof memory);

    const bool made = make_game_path(memory, path_buffer_size, c.length);

    EXPECT_EQ(std::string(memory + path_buffer_size, 16), std::string(16, '#'));
    if (c.game_path) {
        EXPECT_TRUE(made);
        EXPECT_EQ(std::string(memory), *c.game_path);
    } else {
        EXPECT_FALSE(made);
        EXPECT_EQ(std::string(memory, sizeof memory), before);
    }
}

const std::string deep = directory_of_length(251);  // leaves room for "game.exe" and no more
const std::string cut = directory_of_length(240) + std::string(19, 'n');

INSTANTIATE_TEST_SUITE_P(
    examples, make_game_path_from,
    testing::Values(
        path_case{"a long own name", "C:\\Games\\Emperor\\launcher.exe", 29,
                  "C:\\Games\\Emperor\\game.exe"},
        path_case{"a short own name", "C:\\Games\\Emperor\\l.exe", 22,
                  "C:\\Games\\Emperor\\game.exe"},
        path_case{"a share", "\\\\server\\share\\RA2\\Start It.exe", 31,
                  "\\\\server\\share\\RA2\\game.exe"},
        path_case{"a drive's root", "C:\\launcher.exe", 15, "C:\\game.exe"},
        path_case{"only backslashes part the name", "C:\\a/b\\c/launcher.exe", 21,
                  "C:\\a/b\\game.exe"},
        path_case{"the game's path just fitting", deep + "l.exe", 256, deep + "game.exe"},
        path_case{"the own path at the limit", deep + "abcd.exe", 259, deep + "game.exe"},
        path_case{"the game's path one too long", directory_of_length(252) + "l.exe", 257,
                  std::nullopt},
        path_case{"the game's path three too long", directory_of_length(254) + "l.exe", 259,
                  std::nullopt},
        path_case{"a cut own path ending in zero", cut, 260, std::nullopt},
        path_case{"a cut own path without zero", cut + "n", 260, std::nullopt},
        path_case{"no own path", "", 0, std::nullopt},
        path_case{"no backslash", "launcher.exe", 12, std::nullopt}));

}  // namespace
