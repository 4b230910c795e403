#include "app/privileged_hosts_rewrite.h"

#include "hosts/hosts_file.h"
#include "hosts_helper/helper_command.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

extern char** environ;

namespace {

// The helper's place relative to the program's directory, as the build installs both.
constexpr char helper_from_program[] = KETRIN_HOSTS_HELPER_FROM_PROGRAM;
// By its full path: a search of PATH could start a program of the caller's choosing, whose
// exit 0 would pass for a rewrite done.
constexpr char pkexec_path[] = KETRIN_PKEXEC;

std::string canonical_path(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : std::string();
}

std::string directory_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Only a want of permission counts: on a read-only file system root could not write either.
bool lacks_write_access(const std::string& path) {
    return ::access(path.c_str(), W_OK) != 0 && errno == EACCES;
}

// Runs the command, whose first word is a full path, and returns its exit code, or -1 when it could
// not start or did not exit. It reads nothing from the terminal the program may have been started
// from.
int run_and_wait(std::vector<std::string> command) {
    std::vector<char*> argv;
    for (std::string& argument : command) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    pid_t child = 0;
    const int started = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (started != 0) {
        return -1;
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

std::string installed_hosts_helper_path() {
    const std::string program = canonical_path("/proc/self/exe");
    return program.empty() ? std::string() : directory_of(program) + "/" + helper_from_program;
}

bool may_rewrite_with_rights(const std::string& path) {
    return path == hosts_file_path() &&
           (lacks_write_access(path) || lacks_write_access(directory_of(path)));
}

// The desktop's polkit agent places its prompt itself.
int update_hosts_file_with_rights(const std::string& helper, const std::string& address,
                                  window_id) {
    // pkexec finds the helper's polkit action by its canonical path. Without its own terminal
    // agent, pkexec asks only through the desktop's prompt, never on a terminal.
    const std::string canonical_helper = canonical_path(helper);
    if (canonical_helper.empty()) {
        return 1;
    }
    std::vector<std::string> command{pkexec_path, "--disable-internal-agent", canonical_helper};
    for (const std::string& argument : helper_arguments(address)) {
        command.push_back(argument);
    }
    return run_and_wait(std::move(command)) == 0 ? 0 : 1;
}
