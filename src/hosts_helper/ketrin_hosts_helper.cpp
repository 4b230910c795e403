// The one step that runs as root: pkexec starts it once the desktop's prompt allowed it. It
// rewrites the system's hosts file and nothing else; it takes no path and reads no environment,
// so a caller can choose only between the two rewrites the program itself makes.
#include "hosts/hosts_file.h"
#include "hosts_helper/helper_command.h"
#include "hosts_helper/root_owned_path_posix.h"

#include <sys/stat.h>

#include <cstdio>

int main(int argc, char** argv) {
    // The caller's limits come through pkexec: none of them may end the process halfway.
    keep_writes_from_being_killed();
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const std::optional<std::string> address = address_from_helper_arguments(arguments);
    if (!address) {
        std::fputs("ketrin-hosts-helper: usage: ketrin-hosts-helper apply A.B.C.D | reset\n",
                   stderr);
        return 2;
    }
    const std::string path = hosts_file_path();
    if (const std::optional<std::string> reason = why_not_root_owned(path)) {
        std::fprintf(stderr, "ketrin-hosts-helper: %s left unchanged: %s\n", path.c_str(),
                     reason->c_str());
        return 1;
    }
    // A hosts file it has to create must be readable by every user's resolver.
    ::umask(022);
    if (update_hosts_file(path, *address) != 0) {
        std::fprintf(stderr,
                     "ketrin-hosts-helper: %s left unchanged: not a regular file of at most "
                     "%zu MiB, or it could not be rewritten\n",
                     path.c_str(), largest_hosts_file >> 20);
        return 1;
    }
    return 0;
}
