#pragma once
#include "app/main_dialog_model.h"

// The two commands that have no control in the main dialog's template, as a menu of the window
// offers them (the window menu on Windows, a context menu on Linux), in the menu's order.
struct menu_command {
    int command_id;
    const char* text;  // '&' marks the mnemonic
};

inline constexpr menu_command menu_commands[] = {
    {command_apply, "&Point the games at this address"},
    {command_edit_hosts, "Open the hosts &file"},
};
