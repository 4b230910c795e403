#pragma once
#include <windows.h>

#include <string>

// The three calls that tell where the hosts file lies, reached through a table so that tests
// can give every answer.
struct hosts_path_calls {
    decltype(&GetVersionExA) get_version;
    decltype(&GetSystemDirectoryA) get_system_directory;
    decltype(&GetWindowsDirectoryA) get_windows_directory;
};

// The hosts file of the NT family under the system directory, of the older family in the
// Windows directory; a fixed path when the directory cannot be had.
std::string hosts_file_path_from(const hosts_path_calls& calls);
