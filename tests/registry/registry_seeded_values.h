#pragma once
// What the keys written by tests/fixtures/wine_registry_seed read as through Cregistry_key, the
// same on Windows and in the Wine prefix's files (code page 1252).
#include "registry/registry_key.h"

#include <string>
#include <vector>

struct seeded_value {
    registry_root root;
    const char* key;
    const char* name;
    registry_status open_status;
    registry_status query_status;
    std::string bytes;  // what query_value gives on success
};

inline const std::vector<seeded_value>& seeded_values() {
    using namespace std::string_literals;
    constexpr auto lm = registry_root::local_machine;
    constexpr auto cr = registry_root::classes_root;
    static const std::vector<seeded_value> values = {
        {lm, "Software\\Westwood\\Nox", "", 0, 0, "nox"},
        {lm, "Software\\Westwood\\Nox", "Text", 0, 0, "abc"},
        {lm, "Software\\Westwood\\Nox", "Jorg", 0, 0, "J\xF6rg"},
        {lm, "Software\\Westwood\\Nox", "Unheld", 0, 0, "??"},
        {lm, "Software\\Westwood\\Nox", "Empty", 0, 0, ""},
        {lm, "Software\\Westwood\\Nox", "Zero", 0, 0, ""},
        {lm, "Software\\Westwood\\Nox", "Number", 0, 0, "\x01\x02\x03"},
        {lm, "Software\\Westwood\\Nox", "Multi", 0, 0, "a\0b\0"s},
        {lm, "Software\\Westwood\\Nox", "Expand", 0, 0, "%PATH%"},
        {lm, "Software\\Westwood\\Nox", "Bytes", 0, 0, "ab"},
        {lm, "software\\WESTWOOD\\nOX", "mIXEDcASE", 0, 0, "mixed"},
        {lm, "Software\\Westwood\\Nox", "Missing", 0, 2, ""},
        {lm, "Software\\Westwood\\Renegade", "InstallPath", 0, 0, "C:\\Westwood\\Renegade"},
        {lm, "Software\\Westwood\\Red Alert 2", "", 0, 2, ""},
        {lm, "Software\\Westwood\\Tiberian Sun", "", 2, 0, ""},
        {lm, "Software\\Westwood\\Only64", "Text", 2, 0, ""},
        {lm, "Software\\Wow6432Node\\Westwood\\Nox", "Text", 0, 0, "abc"},
        {cr, "Wchat\\Nick1\\Nick", "", 0, 0, "alpha"},
        {cr, "Wchat\\Nick1\\Pass", "", 0, 0, "12345678"},
        {cr, "Wchat\\Nick2\\Nick", "", 2, 0, ""},
        {cr, "wchat\\nick3\\NICK", "", 0, 0, "J\xF6rg"},
    };
    return values;
}
