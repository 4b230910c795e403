#pragma once
#include <windows.h>

// The main dialog's window menu offers the commands that have no control of their own, above
// the standard entries and set off from them by a separator.
void add_menu_commands(HWND window);

// The command that a WM_SYSCOMMAND from one of those entries stands for, or 0 when the message
// comes from a standard entry.
int menu_command_chosen(WPARAM system_command);
