#pragma once
#include <windows.h>

// Starts the game at `path` through `create_process` (CreateProcessA in the program): its own
// path and no command line, no inherited handles, the system's default error mode rather than
// ours, and a start-up record that is empty but for its size, so the game gets no desktop,
// title, placement, show flag or standard handles from us. Nothing waits for it.
inline bool start_game(char* path, decltype(&CreateProcessA) create_process) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!create_process(path, nullptr, nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                        nullptr, &startup, &process)) {
        return false;
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return true;
}
