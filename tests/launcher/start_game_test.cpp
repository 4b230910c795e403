#include "launcher/start_game.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// What the launcher handed to the process start, recorded by the stand-in below.
struct process_start {
    const char* application = nullptr;
    const char* command_line = "unset";
    bool no_security = false;
    BOOL inherit_handles = TRUE;
    DWORD flags = 0;
    bool no_environment_or_directory = false;
    STARTUPINFOA startup{};
};
process_start recorded;

BOOL WINAPI record_start(LPCSTR application, LPSTR command_line, LPSECURITY_ATTRIBUTES process,
                         LPSECURITY_ATTRIBUTES thread, BOOL inherit_handles, DWORD flags,
                         LPVOID environment, LPCSTR directory, LPSTARTUPINFOA startup,
                         LPPROCESS_INFORMATION) {
    recorded.application = application;
    recorded.command_line = command_line;
    recorded.no_security = process == nullptr && thread == nullptr;
    recorded.inherit_handles = inherit_handles;
    recorded.flags = flags;
    recorded.no_environment_or_directory = environment == nullptr && directory == nullptr;
    recorded.startup = *startup;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
}

// Where the game cannot show what it was given (Wine keeps no record of the inherit flag or of
// the error mode the caller asked for), the arguments are read at the call.
TEST(start_game, passes_the_path_alone_no_handles_the_default_error_mode_and_an_empty_record) {
    char path[] = "C:\\games\\game.exe";
    EXPECT_FALSE(start_game(path, record_start));

    EXPECT_EQ(recorded.application, path);
    EXPECT_EQ(recorded.command_line, nullptr);
    EXPECT_TRUE(recorded.no_security);
    EXPECT_EQ(recorded.inherit_handles, FALSE);
    EXPECT_EQ(recorded.flags, DWORD{CREATE_DEFAULT_ERROR_MODE});
    EXPECT_TRUE(recorded.no_environment_or_directory);
    STARTUPINFOA empty{};
    empty.cb = sizeof empty;
    EXPECT_EQ(std::memcmp(&recorded.startup, &empty, sizeof empty), 0);
    EXPECT_EQ(recorded.startup.cb, 104u);
}

}  // namespace
