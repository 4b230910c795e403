#include "win32/e2e_windows.h"

#include "fixtures/built_programs.h"

#include <algorithm>
#include <utility>

namespace {

// Long enough for a dialog that is merely redrawing, short enough to poll again soon.
constexpr UINT answer_limit_milliseconds = 500;

struct window_search {
    DWORD process_id;
    const std::wstring* title;
    HWND found;
};

BOOL CALLBACK match_window(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<window_search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.process_id || !IsWindowVisible(window)) {
        return TRUE;
    }
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    if (*search.title != text) {
        return TRUE;
    }
    search.found = window;
    return FALSE;
}

BOOL CALLBACK collect_field(HWND window, LPARAM context) {
    RECT place;
    GetWindowRect(window, &place);
    auto& fields = *reinterpret_cast<std::vector<std::pair<LONG, HWND>>*>(context);
    fields.emplace_back(place.left, window);
    return TRUE;
}

}  // namespace

Cstarted_program::Cstarted_program(const std::wstring& path) {
    std::wstring directory = path.substr(0, path.find_last_of(L'\\'));
    std::wstring command_line = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(path.c_str(), &command_line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &process_)) {
        process_ = PROCESS_INFORMATION{};
    }
}

Cstarted_program::~Cstarted_program() {
    if (!started()) {
        return;
    }
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 10000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

std::optional<DWORD> Cstarted_program::exit_code_within(std::chrono::milliseconds limit) {
    DWORD code = STILL_ACTIVE;
    if (!started() ||
        WaitForSingleObject(process_.hProcess, static_cast<DWORD>(limit.count())) !=
            WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_.hProcess, &code)) {
        return std::nullopt;
    }
    return code;
}

HWND find_window(DWORD process_id, const std::wstring& title, std::chrono::milliseconds limit) {
    window_search search{process_id, &title, nullptr};
    wait_until(
        [&] {
            EnumWindows(match_window, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        limit);
    return search.found;
}

std::optional<std::string> window_text(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG,
                             answer_limit_milliseconds, &length)) {
        return std::nullopt;
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                             SMTO_ABORTIFHUNG, answer_limit_milliseconds, &copied)) {
        return std::nullopt;
    }
    text.resize(copied);
    return narrow(text);
}

std::string shown_address(HWND control) {
    std::vector<std::pair<LONG, HWND>> fields;
    EnumChildWindows(control, collect_field, reinterpret_cast<LPARAM>(&fields));
    std::sort(fields.begin(), fields.end());
    std::string address;
    for (const auto& field : fields) {
        if (!address.empty()) {
            address += '.';
        }
        address += window_text(field.second).value_or("?");
    }
    return address;
}

std::vector<std::string> combo_entries(HWND combo) {
    std::vector<std::string> entries;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
        if (length == CB_ERR) {
            entries.push_back("(unreadable)");
            continue;
        }
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<std::size_t>(length));
        entries.push_back(narrow(text));
    }
    return entries;
}
