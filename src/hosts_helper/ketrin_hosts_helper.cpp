// The one step that runs as root: pkexec starts it once the desktop's prompt allowed it. It
// rewrites the system's hosts file and nothing else; it takes no path and reads no environment,
// so a caller can choose only between the two rewrites the program itself makes.
#include "hosts/hosts_file.h"
#include "hosts_helper/helper_command.h"

#include <sys/stat.h>

#include <cstdio>

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const std::optional<std::string> address = address_from_helper_arguments(arguments);
    if (!address) {
        std::fputs("ketrin-hosts-helper: usage: ketrin-hosts-helper apply A.B.C.D | reset\n",
                   stderr);
        return 2;
    }
    // A hosts file it has to create must be readable by every user's resolver.
    ::umask(022);
    return update_hosts_file(hosts_file_path(), *address);
}
