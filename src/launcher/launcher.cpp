// Starts the game.exe that lies beside this program, then ends at once without waiting for it.
#include <windows.h>

#include "game_path.h"
#include "start_game.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (make_game_path(path, sizeof path, length)) {
        start_game(path, CreateProcessA);
    }
    return 0;
}
