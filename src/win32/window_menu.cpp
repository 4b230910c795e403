#include "win32/window_menu.h"

#include "app/menu_commands.h"

namespace {

// Window-menu identifiers lie below the system's own (0xF000) and keep their low four bits
// clear, which the system uses for its own purposes: the command shifted left by four is one.
UINT menu_id(int command_id) {
    return static_cast<UINT>(command_id) << 4;
}

}  // namespace

void add_menu_commands(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    UINT position = 0;
    for (const menu_command& entry : menu_commands) {
        InsertMenuA(menu, position++, MF_BYPOSITION | MF_STRING, menu_id(entry.command_id),
                    entry.text);
    }
    InsertMenuA(menu, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

int menu_command_chosen(WPARAM system_command) {
    const UINT id = static_cast<UINT>(system_command) & 0xFFF0;
    for (const menu_command& entry : menu_commands) {
        if (menu_id(entry.command_id) == id) {
            return entry.command_id;
        }
    }
    return 0;
}
