// The Lutris game file's reader on any text: it never throws or crashes, gives no empty prefix,
// and reads back a prefix written as Lutris writes one, a leading "~/" taken as the home folder.
#include "prefixes/lutris_game_file.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace {

const std::string home = "/home/player";

// The printable bytes of the input as a YAML single-quoted text: its quotes doubled.
std::string single_quoted(const std::string& text) {
    std::string out = "'";
    for (const char c : text) {
        out += c == '\'' ? "''" : std::string(1, c);
    }
    return out + "'";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::string> prefix = lutris_game_prefix(text, home);
    FUZZ_CHECK(!prefix || !prefix->empty());

    // Printable ASCII without the blanks at either end, which YAML would keep but a reader
    // of the file could not tell apart.
    std::string name;
    for (const char c : text) {
        if (c > ' ' && c < 0x7F) {
            name += c;
        }
    }
    const std::optional<std::string> read_back = lutris_game_prefix(
        "game:\n  exe: x.exe\n  prefix: " + single_quoted(name) + "\nrunner: wine\n", home);
    if (name.empty()) {
        FUZZ_CHECK(!read_back);
    } else if (name == "~" || name.rfind("~/", 0) == 0) {
        FUZZ_CHECK(read_back == home + name.substr(1));
    } else {
        FUZZ_CHECK(read_back == name);
    }
    return 0;
}
