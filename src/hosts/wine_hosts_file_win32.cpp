#include "hosts/wine_hosts_file.h"

#include <windows.h>

namespace {

constexpr char unix_hosts_file[] = "/etc/hosts";

// A function only Wine exports, looked up by name so that Windows itself never calls one.
template <typename Function>
Function* wine_export(const char* module, const char* name) {
    const HMODULE loaded = GetModuleHandleA(module);
    return loaded != nullptr
               ? reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(loaded, name)))
               : nullptr;
}

bool running_under_wine() {
    return wine_export<const char*()>("ntdll.dll", "wine_get_version") != nullptr;
}

// The text in the ANSI code page; none when a character has no place in it.
std::optional<std::string> ansi_text(const WCHAR* wide) {
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return std::nullopt;
    }
    std::string text(static_cast<std::size_t>(size), '\0');
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), size, nullptr, &lossy);
    text.resize(static_cast<std::size_t>(size - 1));
    return lossy ? std::nullopt : std::optional<std::string>(std::move(text));
}

bool is_drive_path(const std::string& path) {
    return path.size() >= 3 && IsCharAlphaA(path[0]) && path[1] == ':' && path[2] == '\\';
}

}  // namespace

std::optional<std::string> wine_unix_hosts_path() {
    if (!running_under_wine()) {
        return std::nullopt;
    }
    using dos_file_name = WCHAR*(const char*);
    dos_file_name* const to_dos =
        wine_export<dos_file_name>("kernel32.dll", "wine_get_dos_file_name");
    WCHAR* const mapped = to_dos != nullptr ? to_dos(unix_hosts_file) : nullptr;
    if (mapped == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> path = ansi_text(mapped);
    HeapFree(GetProcessHeap(), 0, mapped);
    // Without a drive for it Wine gives a \\?\unix\ path, which no Windows program expects.
    if (path && !is_drive_path(*path)) {
        path.reset();
    }
    return path;
}

bool is_wine_unix_hosts_file(const std::string& path) {
    const std::optional<std::string> unix_hosts = wine_unix_hosts_path();
    return unix_hosts && lstrcmpiA(unix_hosts->c_str(), path.c_str()) == 0;
}
