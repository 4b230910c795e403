#include "app/shell_calls_win32.h"

win32_shell_calls& shell_calls() {
    static win32_shell_calls calls{ShellExecuteExA};
    return calls;
}
