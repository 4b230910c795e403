#include "synthetic_registry.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <sstream>
#include <utility>

const char* const game_keys[6] = {
    "Software\\Westwood\\Renegade", "Software\\Westwood\\Tiberian Sun",
    "Software\\Westwood\\Emperor",  "Software\\Westwood\\Red Alert 2",
    "Software\\Westwood\\Nox",      "Software\\Westwood\\Yuri's Revenge"};

namespace {

// Where Wine puts a key: children sorted without case, each key before its subkeys.
std::string sort_key(const std::string& path) {
    std::string key;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path.compare(i, 2, "\\\\") == 0) {
            key += '\1';
            ++i;
        } else {
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(path[i])));
        }
    }
    return key;
}

}  // namespace

std::string synthetic_system_reg(int other_keys, bool with_games) {
    std::map<std::string, std::pair<std::string, std::string>> keys;  // by sort_key: path, body
    const auto add = [&keys](const std::string& path, const std::string& body) {
        keys[sort_key(path)] = {path, body};
    };
    char guid[64];
    for (int i = 0; i < other_keys; ++i) {
        std::snprintf(guid, sizeof guid, "{%08x-1234-5678-9abc-%012x}", i * 2654435761u, i);
        const char* area = i % 3 == 0   ? "Classes\\\\CLSID"
                           : i % 3 == 1 ? "Classes\\\\Wow6432Node\\\\CLSID"
                                        : "Microsoft\\\\Things";
        std::string body = "#time=1dd87a0e8b2d596\n@=\"Component number " + std::to_string(i) +
                           " with a description\"\n\"ThreadingModel\"=\"Both\"\n";
        if (i % 4 == 0) {
            body +=
                "\"Data\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,"
                "15,16,17,18,\\\n  19,1a,1b,1c,1d,1e,1f\n";
        }
        add(std::string("Software\\\\") + area + "\\\\" + guid, body);
    }
    for (std::size_t g = 0; with_games && g < std::size(game_keys); ++g) {
        const std::string name =
            std::string(game_keys[g]).substr(std::strlen("Software\\Westwood\\"));
        add("Software\\\\Wow6432Node\\\\Westwood\\\\" + name,
            "\"InstallPath\"=\"C:\\\\Westwood\"\n");
    }
    for (int n = 1; with_games && n <= 25; ++n) {
        for (const char* leaf : {"Nick", "Pass"}) {
            add("Software\\\\Classes\\\\Wow6432Node\\\\Wchat\\\\Nick" + std::to_string(n) + "\\\\" +
                    leaf,
                "@=\"" + std::string(leaf) + std::to_string(n) + "value\"\n");
        }
    }
    std::ostringstream out;
    out << "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n";
    for (const auto& [order, key] : keys) {
        out << "[" << key.first << "] 1796795305\n" << key.second << "\n";
    }
    return out.str();
}
