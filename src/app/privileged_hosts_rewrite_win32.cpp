#include "app/privileged_hosts_rewrite.h"
#include "app/hosts_write_rights_win32.h"

#include "app/shell_calls_win32.h"
#include "hosts/file_calls_win32.h"
#include "hosts/hosts_file.h"
#include "hosts_helper/helper_command.h"

namespace {

constexpr char helper_file_name[] = "ketrin-hosts-helper.exe";
constexpr DWORD longest_path = 32768;

std::string directory_of(const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string{".\\"} : path.substr(0, separator + 1);
}

// Judged by the token itself: IsUserAnAdmin says yes for an administrator's limited token too.
bool process_is_elevated() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return false;
    }
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    const bool elevated =
        GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
        elevation.TokenIsElevated != 0;
    CloseHandle(token);
    return elevated;
}

// Whether an open failed for want of rights; an open that worked is closed again at once.
bool refused(HANDLE opened) {
    if (opened != INVALID_HANDLE_VALUE) {
        file_calls().close_handle(opened);
        return false;
    }
    return GetLastError() == ERROR_ACCESS_DENIED;
}

bool is_input(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

// Waits for the process while the program's windows go on painting; they take no input
// meanwhile, as under a modal box. Returns the process's exit code.
DWORD exit_code_when_done(HANDLE process, HWND owner) {
    const HWND focus = GetFocus();
    const bool disabled = owner != nullptr && !EnableWindow(owner, FALSE);
    bool quit = false;
    WPARAM quit_code = 0;
    while (MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                quit_code = message.wParam;
            } else if (!is_input(message.message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
    }
    if (disabled) {
        EnableWindow(owner, TRUE);
    }
    if (focus != nullptr && IsWindow(focus)) {
        SetFocus(focus);
    }
    if (quit) {
        PostQuitMessage(static_cast<int>(quit_code));
    }
    DWORD code = 0;
    return GetExitCodeProcess(process, &code) ? code : STILL_ACTIVE;
}

}  // namespace

std::string installed_hosts_helper_path() {
    std::string program(longest_path, '\0');
    const DWORD length = GetModuleFileNameA(nullptr, program.data(), longest_path);
    if (length == 0 || length >= longest_path) {
        return {};
    }
    program.resize(length);
    return directory_of(program) + helper_file_name;
}

bool rewrite_needs_rights(const std::string& path) {
    if (process_is_elevated()) {
        return false;
    }
    const DWORD attributes = file_calls().get_file_attributes(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        // A directory where the file should be: no rights make it a file.
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
               refused(file_calls().create_file(
                   path.c_str(), GENERIC_WRITE,
                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                   FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    if (GetLastError() != ERROR_FILE_NOT_FOUND) {
        return false;
    }
    // A missing file is made in its directory: asked of the directory, so that nothing is made.
    return refused(file_calls().create_file(directory_of(path).c_str(), FILE_ADD_FILE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                            nullptr));
}

bool may_rewrite_with_rights(const std::string& path) {
    return path == hosts_file_path() && rewrite_needs_rights(path);
}

int update_hosts_file_with_rights(const std::string& helper, const std::string& address,
                                  window_id owner) {
    if (helper.empty()) {
        return 1;
    }
    const HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(owner));
    const std::string parameters = helper_command_line(address);
    SHELLEXECUTEINFOA start{};
    start.cbSize = sizeof start;
    // No box of the shell's own (a missing helper): the program's one message says it all.
    start.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    // The consent prompt belongs to the window whose command asked for it.
    start.hwnd = window;
    start.lpVerb = "runas";
    start.lpFile = helper.c_str();
    start.lpParameters = parameters.c_str();
    start.nShow = SW_HIDE;
    if (!shell_calls().shell_execute_ex(&start) || start.hProcess == nullptr) {
        return 1;
    }
    const DWORD code = exit_code_when_done(start.hProcess, window);
    CloseHandle(start.hProcess);
    return code == 0 ? 0 : 1;
}
