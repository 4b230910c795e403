#pragma once
#include <string>
#include <string_view>
#include <vector>

// The library folders that Steam's steamapps/libraryfolders.vdf lists: each library's "path"
// (Steam's current form) or the numbered entries that held the path itself (its older form).
// Text that is no such file gives what could be read of it before the first fault.
std::vector<std::string> steam_library_folders(std::string_view vdf_text);
