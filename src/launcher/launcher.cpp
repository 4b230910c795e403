// Starts the game.exe that lies beside this program, then ends at once without waiting for it.
#include <windows.h>

#include "game_path.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The game gets no desktop, title, placement, show flag or standard handles from us.
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;

    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (!make_game_path(path, sizeof path, length)) {
        return 0;
    }
    PROCESS_INFORMATION process;
    if (CreateProcessA(path, nullptr, nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                       nullptr, &startup, &process)) {
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    return 0;
}
