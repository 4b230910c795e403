#include "hosts_helper/root_owned_path_posix.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <deque>

namespace {

// As many links as the kernel follows in one path.
constexpr int most_links = 40;

// Root's alone: group write is allowed only to root's group.
bool only_root_may_change(const struct stat& status) {
    return status.st_uid == 0 && (status.st_mode & S_IWOTH) == 0 &&
           ((status.st_mode & S_IWGRP) == 0 || status.st_gid == 0);
}

void push_names_in_front(std::deque<std::string>& names, const std::string& path) {
    std::deque<std::string> split;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        if (slash > start) {
            split.push_back(path.substr(start, slash - start));
        }
        start = slash + 1;
    }
    names.insert(names.begin(), split.begin(), split.end());
}

std::string parent_of(const std::string& directory) {
    const std::size_t slash = directory.rfind('/');
    return slash == 0 || slash == std::string::npos ? "/" : directory.substr(0, slash);
}

std::string joined(const std::string& directory, const std::string& name) {
    return directory == "/" ? "/" + name : directory + "/" + name;
}

std::string link_target(const std::string& link) {
    std::string target(PATH_MAX, '\0');
    const ssize_t length = ::readlink(link.c_str(), target.data(), target.size());
    target.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return target;
}

}  // namespace

void keep_writes_from_being_killed() {
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
}

std::optional<std::string> why_not_root_owned(const std::string& path) {
    // Walked one name at a time from the root, as the kernel resolves it, so that every
    // directory passed is seen, those a link leads through included.
    std::string directory = "/";
    struct stat status {};
    if (::lstat(directory.c_str(), &status) != 0 || !only_root_may_change(status)) {
        return "/ may be changed by a user other than root";
    }
    std::deque<std::string> names;
    push_names_in_front(names, path);
    int links = 0;
    while (!names.empty()) {
        const std::string name = names.front();
        names.pop_front();
        if (name == ".") {
            continue;
        }
        if (name == "..") {
            directory = parent_of(directory);
            continue;
        }
        const std::string here = joined(directory, name);
        if (::lstat(here.c_str(), &status) != 0) {
            if (errno == ENOENT && names.empty()) {
                return std::nullopt;  // made anew in a directory only root may change
            }
            return here + ": " + std::strerror(errno);
        }
        if (S_ISLNK(status.st_mode)) {
            const std::string target = link_target(here);
            if (target.empty() || ++links > most_links) {
                return here + ": a link that cannot be followed";
            }
            if (target[0] == '/') {
                directory = "/";
            }
            push_names_in_front(names, target);
            continue;
        }
        if (!only_root_may_change(status)) {
            return here + " may be changed by a user other than root";
        }
        if (names.empty()) {
            if (!S_ISREG(status.st_mode)) {
                return here + " is not a regular file";
            }
        } else if (!S_ISDIR(status.st_mode)) {
            return here + " is not a directory";
        }
        directory = here;
    }
    return std::nullopt;
}
