// Runs the real launcher.exe under the real process API: each test copies it and a stand-in
// game into fresh directories, starts it inside a job object (so that every process it starts is
// counted and none outlives the test), and reads what the stand-in recorded about its own start.
#include <windows.h>

#include <gtest/gtest.h>

#include "fixtures/built_programs.h"
#include "fixtures/wait_until.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <thread>

namespace {

// How long the launcher and what it starts get to end or leave their record.
constexpr std::chrono::milliseconds settle_patience = std::chrono::seconds(10);

// File operations take the long form so that paths past 260 characters work too.
std::wstring long_form(const std::wstring& path) {
    return L"\\\\?\\" + path;
}

void remove_tree(const std::wstring& directory) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(long_form(directory + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring path = directory + L"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                remove_tree(path);
            } else {
                DeleteFileW(long_form(path).c_str());
            }
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(long_form(directory).c_str());
}

// A fresh directory under the temporary directory, removed with all it holds.
class scratch_directory {
  public:
    scratch_directory() {
        static int counter = 0;
        wchar_t temporary[MAX_PATH];
        GetTempPathW(MAX_PATH, temporary);
        path_ = std::wstring(temporary) + L"ketrin-launcher-" +
                std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        EXPECT_TRUE(CreateDirectoryW(long_form(path_).c_str(), nullptr)) << narrow(path_);
    }
    ~scratch_directory() { remove_tree(path_); }
    scratch_directory(const scratch_directory&) = delete;
    scratch_directory& operator=(const scratch_directory&) = delete;

    std::wstring make(const std::wstring& name) const {
        const std::wstring path = path_ + L"\\" + name;
        EXPECT_TRUE(CreateDirectoryW(long_form(path).c_str(), nullptr)) << narrow(path);
        return path;
    }

    // A directory, nested as deep as needed, in which `file_name` has a full path of exactly
    // `length` characters.
    std::wstring make_for_length(const std::wstring& file_name, size_t length) const {
        const size_t wanted = length - file_name.size() - 1;
        std::wstring path = path_;
        while (path.size() < wanted) {
            const size_t left = wanted - path.size();
            size_t take = std::min<size_t>(left - 1, 100);
            if (left - 1 - take == 1) {
                --take;  // a lone character left over could not hold a backslash and a name
            }
            path += L"\\" + std::wstring(take, L'd');
            EXPECT_TRUE(CreateDirectoryW(long_form(path).c_str(), nullptr)) << narrow(path);
        }
        EXPECT_EQ(path.size(), wanted);
        return path;
    }

  private:
    std::wstring path_;
};

std::wstring place_copy(const std::wstring& program, const std::wstring& directory,
                        const std::wstring& name) {
    const std::wstring path = directory + L"\\" + name;
    EXPECT_TRUE(CopyFileW(long_form(program).c_str(), long_form(path).c_str(), TRUE))
        << narrow(path) << ": error " << GetLastError();
    return path;
}

std::wstring place_launcher(const std::wstring& directory, const std::wstring& name) {
    return place_copy(launcher_program(), directory, name);
}

std::wstring place_game(const std::wstring& directory) {
    return place_copy(stand_in_game_program(), directory, L"game.exe");
}

std::wstring record_path(const std::wstring& game_directory) {
    return long_form(game_directory + L"\\game_record.txt");
}

bool record_exists(const std::wstring& game_directory) {
    return GetFileAttributesW(record_path(game_directory).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// What the stand-in game wrote about its start, as key=value lines.
std::map<std::string, std::string> read_record(const std::wstring& game_directory) {
    std::map<std::string, std::string> record;
    HANDLE file = CreateFileW(record_path(game_directory).c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return record;
    }
    std::string text(4096, '\0');
    DWORD size = 0;
    ReadFile(file, &text[0], static_cast<DWORD>(text.size()), &size, nullptr);
    CloseHandle(file);
    text.resize(size);
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = text.substr(start, end - start);
        const size_t equals = line.find('=');
        record[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return record;
}

// The platform makes the game's command line from the application name and may quote it; either
// way it must be that path and nothing more.
bool is_path_alone(const std::string& command_line, const std::wstring& path) {
    return command_line == narrow(path) || command_line == "\"" + narrow(path) + "\"";
}

struct launch_outcome {
    bool ended = false;
    DWORD exit_code = STILL_ACTIVE;
    bool showed_window = false;
};

// Without a display no program can open a window, and watching for one proves nothing.
bool windows_can_be_shown() {
    HWND probe =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (probe == nullptr) {
        return false;
    }
    DestroyWindow(probe);
    return true;
}

struct window_search {
    DWORD process_id;
    bool found;
};

BOOL CALLBACK note_window_of_process(HWND window, LPARAM argument) {
    auto* search = reinterpret_cast<window_search*>(argument);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->process_id) {
        search->found = true;
    }
    return TRUE;
}

// A job holds the launcher and, through it, every process it starts; closing the job ends
// whatever is still running.
class launcher_job {
  public:
    launcher_job() : job_(CreateJobObjectW(nullptr, nullptr)) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        EXPECT_TRUE(SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits,
                                            sizeof limits));
    }
    ~launcher_job() { CloseHandle(job_); }
    launcher_job(const launcher_job&) = delete;
    launcher_job& operator=(const launcher_job&) = delete;

    // Starts the launcher as a shortcut would, with `arguments` and in `directory`, and waits for
    // it to end, looking out for any window it opens meanwhile.
    launch_outcome run(const std::wstring& launcher, const std::wstring& arguments,
                       const std::wstring& directory) {
        launch_outcome outcome;
        std::wstring command_line = L"\"" + launcher + L"\"" + arguments;
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessW(launcher.c_str(), &command_line[0], nullptr, nullptr, FALSE,
                            CREATE_SUSPENDED, nullptr, directory.c_str(), &startup, &process)) {
            ADD_FAILURE() << "cannot start " << narrow(launcher) << ": error " << GetLastError();
            return outcome;
        }
        EXPECT_TRUE(AssignProcessToJobObject(job_, process.hProcess));
        ResumeThread(process.hThread);
        window_search search = {process.dwProcessId, false};
        outcome.ended = wait_until(
            [&] {
                EnumWindows(note_window_of_process, reinterpret_cast<LPARAM>(&search));
                return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
            },
            settle_patience);
        if (!outcome.ended) {
            TerminateProcess(process.hProcess, 1);
        }
        GetExitCodeProcess(process.hProcess, &outcome.exit_code);
        outcome.showed_window = search.found;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return outcome;
    }

    // Processes the launcher started, not counting itself.
    DWORD processes_started() const {
        const DWORD total = accounting().TotalProcesses;
        return total > 0 ? total - 1 : 0;
    }
    DWORD processes_running() const { return accounting().ActiveProcesses; }
    bool all_ended() const {
        return wait_until([&] { return processes_running() == 0; }, settle_patience);
    }

  private:
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting() const {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION information = {};
        EXPECT_TRUE(QueryInformationJobObject(job_, JobObjectBasicAccountingInformation,
                                              &information, sizeof information, nullptr));
        return information;
    }

    HANDLE job_;
};

void expect_quiet_end(const launch_outcome& outcome) {
    EXPECT_TRUE(outcome.ended) << "the launcher was still running after " << settle_patience.count()
                               << " ms";
    EXPECT_EQ(outcome.exit_code, 0u);
    EXPECT_FALSE(outcome.showed_window);
}

class launcher_test : public testing::Test {
  protected:
    void SetUp() override {
        mark_ = "mark-" + std::to_string(GetCurrentProcessId()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name();
        SetEnvironmentVariableA("KETRIN_GAME_MARK", mark_.c_str());
        ASSERT_FALSE(launcher_program().empty());
        ASSERT_FALSE(stand_in_game_program().empty());
    }
    void TearDown() override {
        SetEnvironmentVariableA("KETRIN_GAME_MARK", nullptr);
        SetEnvironmentVariableA("KETRIN_GAME_HOLD", nullptr);
    }

    scratch_directory scratch_;
    launcher_job job_;
    std::string mark_;
};

TEST_F(launcher_test, gives_the_game_its_own_path_alone_as_command_line_and_drops_its_arguments) {
    const std::wstring games = scratch_.make(L"games");
    const std::wstring launcher = place_launcher(games, L"play.exe");
    const std::wstring game = place_game(games);

    const launch_outcome outcome = job_.run(launcher, L" -window \"two words\" 3", games);

    expect_quiet_end(outcome);
    ASSERT_TRUE(job_.all_ended());
    EXPECT_EQ(job_.processes_started(), 1u);
    const std::string command_line = read_record(games)["command_line"];
    EXPECT_TRUE(is_path_alone(command_line, game)) << command_line;
}

TEST_F(launcher_test, leaves_the_game_the_callers_directory_and_environment) {
    const std::wstring games = scratch_.make(L"games");
    const std::wstring shortcut_directory = scratch_.make(L"elsewhere");
    const std::wstring launcher = place_launcher(games, L"launcher.exe");
    place_game(games);

    expect_quiet_end(job_.run(launcher, L"", shortcut_directory));

    ASSERT_TRUE(job_.all_ended());
    std::map<std::string, std::string> record = read_record(games);
    EXPECT_EQ(record["current_directory"], narrow(shortcut_directory));
    EXPECT_EQ(record["mark"], mark_);
}

// The game gets no show flag, placement, title or standard handles from the launcher. (Whether
// it gets the system's default error mode Wine does not show: a started process never inherits
// the error mode there.)
TEST_F(launcher_test, gives_the_game_a_start_up_record_that_asks_for_nothing) {
    const std::wstring games = scratch_.make(L"games");
    const std::wstring launcher = place_launcher(games, L"launcher.exe");
    place_game(games);

    expect_quiet_end(job_.run(launcher, L"", games));

    ASSERT_TRUE(job_.all_ended());
    EXPECT_EQ(read_record(games)["startup_flags"], "0");
}

TEST_F(launcher_test, ends_with_zero_and_shows_nothing_when_no_game_lies_beside_it) {
    const std::wstring games = scratch_.make(L"games");
    const std::wstring launcher = place_launcher(games, L"launcher.exe");

    expect_quiet_end(job_.run(launcher, L" -window", games));
    if (!windows_can_be_shown()) {
        std::cout << "note: no display, so no window of the launcher could have been seen\n";
    }

    EXPECT_EQ(job_.processes_started(), 0u);
}

TEST_F(launcher_test, ends_without_waiting_while_the_game_keeps_running) {
    const std::wstring games = scratch_.make(L"games");
    const std::wstring launcher = place_launcher(games, L"launcher.exe");
    place_game(games);
    const std::string hold_name = "ketrin-game-hold-" + std::to_string(GetCurrentProcessId());
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, hold_name.c_str());
    ASSERT_NE(release, nullptr);
    SetEnvironmentVariableA("KETRIN_GAME_HOLD", hold_name.c_str());

    expect_quiet_end(job_.run(launcher, L"", games));

    // The launcher is gone; the game, held until released, must still be running.
    EXPECT_TRUE(wait_until([&] { return record_exists(games); }, settle_patience));
    EXPECT_EQ(job_.processes_started(), 1u);
    EXPECT_EQ(job_.processes_running(), 1u);
    SetEvent(release);
    EXPECT_TRUE(job_.all_ended());
    CloseHandle(release);
}

struct path_case {
    const wchar_t* launcher_name;
    size_t launcher_path_length;
    bool starts_game;
};

void PrintTo(const path_case& c, std::ostream* out) {
    *out << narrow(c.launcher_name) << " at " << c.launcher_path_length << " characters";
}

class launcher_path_length : public launcher_test, public testing::WithParamInterface<path_case> {};

// The game's path is the launcher's directory plus "game.exe"; it must fit in 260 bytes with its
// terminating zero, and so must the launcher's own path, or nothing is started.
TEST_P(launcher_path_length, starts_the_game_only_when_both_paths_fit) {
    const path_case& c = GetParam();
    const std::wstring games = scratch_.make_for_length(c.launcher_name, c.launcher_path_length);
    const std::wstring launcher = place_launcher(games, c.launcher_name);
    const std::wstring game = place_game(games);
    const std::wstring work = scratch_.make(L"work");

    expect_quiet_end(job_.run(launcher, L"", work));

    ASSERT_TRUE(job_.all_ended());
    EXPECT_EQ(job_.processes_started(), c.starts_game ? 1u : 0u);
    EXPECT_EQ(record_exists(games), c.starts_game);
    if (c.starts_game) {
        const std::string command_line = read_record(games)["command_line"];
        EXPECT_TRUE(is_path_alone(command_line, game)) << command_line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    around_the_path_limit, launcher_path_length,
    testing::Values(
        // The game's path takes 259 characters, the most that fits.
        path_case{L"l.exe", 256, true},
        // The launcher's own path fits but the game's, three characters longer, does not.
        path_case{L"l.exe", 257, false}, path_case{L"l.exe", 258, false},
        path_case{L"l.exe", 259, false},
        // A long own name leaves room: the game's path is shorter than the launcher's.
        path_case{L"launcher.exe", 259, true}));

}  // namespace
