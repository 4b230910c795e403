#include "hosts/hosts_file_system.h"

#include "hosts/file_calls_posix.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string unused_name_beside(const std::string& target, std::mt19937& random) {
    const std::size_t slash = target.rfind('/');
    const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
    std::string name = target.substr(0, base) + "." + target.substr(base) + ".";
    static constexpr char digits[] = "0123456789abcdef";
    for (int count = 0; count < 8; ++count) {
        name.push_back(digits[random() % 16]);
    }
    return name;
}

// Gives the new file the owner first: a change of owner may clear the set-id mode bits.
bool take_over_owner_and_mode(int fd, const struct stat& original) {
    struct stat made {};
    if (file_calls().fstat(fd, &made) != 0) {
        return false;
    }
    if ((made.st_uid != original.st_uid || made.st_gid != original.st_gid) &&
        file_calls().fchown(fd, original.st_uid, original.st_gid) != 0) {
        return false;
    }
    return file_calls().fchmod(fd, original.st_mode & 07777) == 0;
}

// Reads one extended attribute's names or value through `get`, which gives the size it needs
// when asked with no room.
template <typename Get>
bool read_attribute_bytes(std::vector<char>& bytes, Get get) {
    const ssize_t needed = get(nullptr, 0);
    if (needed < 0) {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(needed));
    const ssize_t got = get(bytes.data(), bytes.size());
    if (got < 0) {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(got));
    return true;
}

// Gives the new file every extended attribute of the original: ACLs, security labels, user
// attributes. After the mode, since an access list sets the group bits of the mode itself.
bool take_over_attributes(int fd, const std::string& target) {
    const int original = file_calls().open(target.c_str(), O_RDONLY | O_CLOEXEC, 0);
    if (original < 0) {
        return false;
    }
    std::vector<char> names;
    bool carried = read_attribute_bytes(names, [original](char* into, std::size_t size) {
        return file_calls().flistxattr(original, into, size);
    });
    if (!carried && errno == ENOTSUP) {
        // A file system without extended attributes: the original has none to carry.
        carried = true;
        names.clear();
    }
    std::vector<char> value;
    for (std::size_t at = 0; carried && at < names.size(); at += std::strlen(&names[at]) + 1) {
        const char* name = &names[at];
        carried =
            read_attribute_bytes(value,
                                 [original, name](char* into, std::size_t size) {
                                     return file_calls().fgetxattr(original, name, into, size);
                                 }) &&
            file_calls().fsetxattr(fd, name, value.data(), value.size(), 0) == 0;
    }
    file_calls().close(original);
    return carried;
}

}  // namespace

std::optional<Cfile_handle> open_for_reading(const std::string& path, bool& missing) {
    // Opening a pipe without a writer would block, and a terminal could become ours.
    const int fd = file_calls().open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
    missing = fd < 0 && errno == ENOENT;
    if (fd < 0) {
        return std::nullopt;
    }
    return Cfile_handle{fd};
}

bool text_files_use_crlf(const std::string&) {
    return false;
}

void clear_read_only(const std::string&) {}

std::optional<std::string> replacement_target(const std::string& path) {
    struct stat link {};
    if (file_calls().lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
        return path;
    }
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        // A link to nothing yet: opening it for writing creates the file it names.
        return std::nullopt;
    }
    std::string target{resolved};
    std::free(resolved);
    return target;
}

std::optional<temporary_file> create_file_beside(const std::string& target, bool target_exists) {
    struct stat original {};
    if (target_exists && file_calls().stat(target.c_str(), &original) != 0) {
        return std::nullopt;
    }
    std::mt19937 random{std::random_device{}()};
    // A new hosts file gets the mode the user's umask gives; a replacement stays private until
    // it carries the original's mode.
    const mode_t mode = target_exists ? 0600 : 0666;
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string name = unused_name_beside(target, random);
        const int fd =
            file_calls().open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno == EEXIST) {
            continue;
        }
        if (fd < 0) {
            return std::nullopt;
        }
        temporary_file made{std::move(name), Cfile_handle{fd}};
        if (target_exists &&
            !(take_over_owner_and_mode(fd, original) && take_over_attributes(fd, target))) {
            made.file.close();
            remove_file(made.path);
            return std::nullopt;
        }
        return made;
    }
    return std::nullopt;
}

bool replace_file(const std::string& replacement, const std::string& target, bool, std::string&) {
    // A rename is whole or not at all: it strands nothing.
    return move_over(replacement, target);
}

bool move_over(const std::string& from, const std::string& to) {
    return file_calls().rename(from.c_str(), to.c_str()) == 0;
}

void remove_file(const std::string& path) {
    file_calls().unlink(path.c_str());
}

std::optional<Cfile_handle> open_for_rewrite(const std::string& path) {
    const int fd = file_calls().open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        return std::nullopt;
    }
    return Cfile_handle{fd};
}
