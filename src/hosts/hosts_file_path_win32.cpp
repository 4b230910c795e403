#include "hosts/hosts_file.h"
#include "hosts/wine_hosts_file.h"

#include "hosts/hosts_path_calls_win32.h"

#include <cstring>

namespace {

const hosts_path_calls system_hosts_path_calls{GetVersionExA, GetSystemDirectoryA,
                                               GetWindowsDirectoryA};

}  // namespace

std::string hosts_file_path_from(const hosts_path_calls& calls) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    const bool nt_family =
        calls.get_version(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    char directory[256]{};
    const UINT length = nt_family ? calls.get_system_directory(directory, sizeof(directory))
                                  : calls.get_windows_directory(directory, sizeof(directory));
    if (length == 0) {
        return "c:\\windows\\hosts";
    }
    // A directory too long for the buffer leaves it without its NUL: never read past its end.
    std::string path(directory, strnlen(directory, sizeof(directory)));
    path += nt_family ? "\\drivers\\etc\\hosts" : "\\hosts";
    return path;
}

std::string windows_hosts_file_path() {
    return hosts_file_path_from(system_hosts_path_calls);
}

std::string hosts_file_path() {
    if (std::optional<std::string> unix_hosts = wine_unix_hosts_path()) {
        return *unix_hosts;
    }
    return windows_hosts_file_path();
}
