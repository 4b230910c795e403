// Stands in for game.exe in the launcher's tests, and for notepad.exe in the main dialog's. It
// writes how it was started (command line, current directory, the KETRIN_GAME_MARK variable it
// inherited and the flags of its start-up record) to <its own name>_record.txt beside itself
// (game_record.txt as game.exe), then ends; when KETRIN_GAME_HOLD names an event, it keeps running
// until that event is set, at most 20 seconds, so that a test can see it outlive the launcher.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

// The own path without its extension (C:\dir\game for C:\dir\game.exe).
std::wstring own_path_stem() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size())));
    return path.substr(0, path.rfind(L'.'));
}

std::string current_directory() {
    std::string directory(MAX_PATH, '\0');
    directory.resize(GetCurrentDirectoryA(static_cast<DWORD>(directory.size()), &directory[0]));
    return directory;
}

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The record appears under its final name only when complete, so a test never reads half of it.
void write_record(const std::string& record) {
    // The long form of the path lifts the 260-character limit: some tests put the game deep down.
    const std::wstring stem = L"\\\\?\\" + own_path_stem();
    const std::wstring scratch = stem + L"_record.tmp";
    HANDLE file = CreateFileW(scratch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    const bool complete =
        WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr) &&
        written == record.size();
    CloseHandle(file);
    if (complete) {
        MoveFileExW(scratch.c_str(), (stem + L"_record.txt").c_str(), MOVEFILE_REPLACE_EXISTING);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    STARTUPINFOA startup{};
    GetStartupInfoA(&startup);
    write_record("command_line=" + std::string(GetCommandLineA()) + "\ncurrent_directory=" +
                 current_directory() + "\nmark=" + variable("KETRIN_GAME_MARK") +
                 "\nstartup_flags=" + std::to_string(startup.dwFlags) + "\n");

    const std::string hold = variable("KETRIN_GAME_HOLD");
    if (!hold.empty()) {
        HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, hold.c_str());
        if (release != nullptr) {
            WaitForSingleObject(release, 20000);
            CloseHandle(release);
        }
    }
    return 0;
}
