#include "limited_token.h"

#include <cstdlib>
#include <vector>

namespace {

constexpr char limited_mark[] = "KETRIN_LIMITED_TOKEN";
constexpr DWORD child_patience_ms = 240000;

// A handle that is closed when it goes.
struct Cowned_handle {
    HANDLE handle = nullptr;
    ~Cowned_handle() {
        if (handle != nullptr) {
            CloseHandle(handle);
        }
    }
};

template <class T>
std::optional<T> token_information(TOKEN_INFORMATION_CLASS kind) {
    Cowned_handle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token.handle)) {
        return std::nullopt;
    }
    T value{};
    DWORD size = 0;
    if (!GetTokenInformation(token.handle, kind, &value, sizeof value, &size)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

bool token_is_elevated() {
    const auto elevation = token_information<TOKEN_ELEVATION>(TokenElevation);
    return elevation && elevation->TokenIsElevated != 0;
}

TOKEN_ELEVATION_TYPE token_elevation_type() {
    const auto type = token_information<TOKEN_ELEVATION_TYPE>(TokenElevationType);
    return type ? *type : TOKEN_ELEVATION_TYPE{};
}

std::optional<DWORD> run_with_limited_token(const std::string& filter) {
    const auto linked = token_information<TOKEN_LINKED_TOKEN>(TokenLinkedToken);
    if (!linked) {
        return std::nullopt;
    }
    Cowned_handle limited{linked->LinkedToken};
    char program[MAX_PATH]{};
    if (GetModuleFileNameA(nullptr, program, MAX_PATH) == 0) {
        return std::nullopt;
    }
    std::string command = std::string("\"") + program + "\" --gtest_filter=" + filter;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started{};
    SetEnvironmentVariableA(limited_mark, "1");
    const BOOL created =
        CreateProcessAsUserA(limited.handle, program, line.data(), nullptr, nullptr, TRUE, 0,
                             nullptr, nullptr, &startup, &started);
    SetEnvironmentVariableA(limited_mark, nullptr);
    if (!created) {
        return std::nullopt;
    }
    CloseHandle(started.hThread);
    Cowned_handle child{started.hProcess};
    DWORD code = 0;
    if (WaitForSingleObject(child.handle, child_patience_ms) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(child.handle, &code)) {
        TerminateProcess(child.handle, 1);
        return std::nullopt;
    }
    return code;
}

bool running_with_limited_token() {
    const char* mark = std::getenv(limited_mark);
    return mark != nullptr && *mark == '1';
}
