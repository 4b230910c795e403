// The Steam library list's reader on any text: it ends on any nesting, every library it gives is
// a non-empty path, and the paths it gives, written again in Steam's current form, read back
// the same.
#include "prefixes/steam_library_folders.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

std::string written_again(const std::vector<std::string>& folders) {
    std::string text = "\"libraryfolders\"\n{\n";
    for (std::size_t i = 0; i < folders.size(); ++i) {
        text += "\t\"" + std::to_string(i) + "\"\n\t{\n\t\t\"path\"\t\t" + quoted(folders[i]) +
                "\n\t}\n";
    }
    return text + "}\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> folders = steam_library_folders(text);
    for (const std::string& folder : folders) {
        FUZZ_CHECK(!folder.empty());
        FUZZ_CHECK(folder.size() <= size);
    }
    FUZZ_CHECK(steam_library_folders(written_again(folders)) == folders);
    return 0;
}
