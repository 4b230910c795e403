#pragma once
#include <windows.h>
#include <shellapi.h>

// The shell call that starts the privileged hosts helper, reached through a table so that a test
// can see how the helper was started.
struct win32_shell_calls {
    decltype(&ShellExecuteExA) shell_execute_ex;
};

win32_shell_calls& shell_calls();
