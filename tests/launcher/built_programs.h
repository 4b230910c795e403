#pragma once
#include <windows.h>

#include <cstdlib>
#include <string>

inline std::string narrow(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string result(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &result[0], size,
                        nullptr, nullptr);
    return result;
}

// CTest hands over the built programs as Unix paths; Wine shows the Unix root as drive Z:.
inline std::wstring built_program(const char* variable) {
    const char* value = std::getenv(variable);
    if (value == nullptr || *value == '\0') {
        return {};
    }
    std::wstring path = L"Z:";
    for (const char* c = value; *c != '\0'; ++c) {
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    }
    return path;
}

inline const std::wstring& launcher_program() {
    static const std::wstring path = built_program("KETRIN_LAUNCHER_EXE");
    return path;
}

inline const std::wstring& stand_in_game_program() {
    static const std::wstring path = built_program("KETRIN_STAND_IN_GAME_EXE");
    return path;
}
