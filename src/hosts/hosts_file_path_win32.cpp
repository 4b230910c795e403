#include "hosts/hosts_file.h"
#include "hosts/wine_hosts_file.h"

#include <windows.h>

#include <cstring>

std::string windows_hosts_file_path() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    const bool nt_family = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    char directory[256]{};
    const UINT length = nt_family ? GetSystemDirectoryA(directory, sizeof(directory))
                                  : GetWindowsDirectoryA(directory, sizeof(directory));
    if (length == 0) {
        return "c:\\windows\\hosts";
    }
    // A directory too long for the buffer leaves it without its NUL: never read past its end.
    std::string path(directory, strnlen(directory, sizeof(directory)));
    path += nt_family ? "\\drivers\\etc\\hosts" : "\\hosts";
    return path;
}

std::string hosts_file_path() {
    if (std::optional<std::string> unix_hosts = wine_unix_hosts_path()) {
        return *unix_hosts;
    }
    return windows_hosts_file_path();
}
