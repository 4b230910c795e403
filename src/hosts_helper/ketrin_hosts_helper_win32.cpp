// The one step that runs with administrator rights: ketrin_client.exe starts it through Windows'
// consent prompt when it may not write the hosts file itself. It rewrites the system's hosts file
// and nothing else; it takes no path and reads no environment, so a caller can choose only
// between the two rewrites the program itself makes. It has no window: its exit code is its
// answer.
#include "hosts/hosts_file.h"
#include "hosts_helper/helper_command.h"

#include <windows.h>

#include <optional>
#include <string>

namespace {

constexpr int arguments_refused = 2;

// The command line as bytes, or none when it holds a character beyond ASCII. Taken as UTF-16:
// the ANSI form would turn look-alike characters (full-width digits) into ASCII ones.
std::optional<std::string> ascii_command_line() {
    std::string line;
    for (const wchar_t* character = GetCommandLineW(); *character != L'\0'; ++character) {
        if (*character > 0x7F) {
            return std::nullopt;
        }
        line += static_cast<char>(*character);
    }
    return line;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::optional<std::string> line = ascii_command_line();
    if (!line) {
        return arguments_refused;
    }
    const std::optional<std::string> address =
        address_from_helper_arguments(helper_arguments_in_command_line(*line));
    if (!address) {
        return arguments_refused;
    }
    return update_hosts_file(hosts_file_path(), *address);
}
