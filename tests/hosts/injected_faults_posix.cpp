#include "hosts/injected_faults.h"

#include "hosts/file_calls_posix.h"

#include <cerrno>

namespace {

const posix_file_calls real = file_calls();

// A failing call has no effect and reports an I/O error, as a failing disk would.
bool failing(const char* name, call_group group) {
    if (!active_faults()->fails(name, group)) {
        return false;
    }
    errno = EIO;
    return true;
}

}  // namespace

void install_fault_wrappers() {
    file_calls() = posix_file_calls{
        [](const char* path, int flags, mode_t mode) {
            return failing("open", call_group::open) ? -1 : real.open(path, flags, mode);
        },
        [](int fd, void* into, size_t most) -> ssize_t {
            return failing("read", call_group::read) ? -1 : real.read(fd, into, most);
        },
        [](int fd, const void* bytes, size_t count, off_t offset) -> ssize_t {
            return failing("pwrite", call_group::write) ? -1
                                                        : real.pwrite(fd, bytes, count, offset);
        },
        [](int fd, off_t length) {
            return failing("ftruncate", call_group::length) ? -1 : real.ftruncate(fd, length);
        },
        [](int fd) { return failing("fsync", call_group::flush) ? -1 : real.fsync(fd); },
        [](int fd) {
            // A failed close still gives the descriptor back, as on Linux.
            const bool fails = failing("close", call_group::close);
            const int result = real.close(fd);
            return fails ? -1 : result;
        },
        [](int fd, struct stat* status) {
            return failing("fstat", call_group::status) ? -1 : real.fstat(fd, status);
        },
        [](int fd, uid_t owner, gid_t group) {
            return failing("fchown", call_group::status) ? -1 : real.fchown(fd, owner, group);
        },
        [](int fd, mode_t mode) {
            return failing("fchmod", call_group::status) ? -1 : real.fchmod(fd, mode);
        },
        [](const char* path, struct stat* status) {
            return failing("stat", call_group::status) ? -1 : real.stat(path, status);
        },
        [](const char* path, struct stat* status) {
            return failing("lstat", call_group::status) ? -1 : real.lstat(path, status);
        },
        [](const char* from, const char* to) {
            return failing("rename", call_group::rename) ? -1 : real.rename(from, to);
        },
        [](const char* path) {
            return failing("unlink", call_group::remove) ? -1 : real.unlink(path);
        },
        [](int fd, char* names, size_t size) -> ssize_t {
            return failing("flistxattr", call_group::status) ? -1
                                                             : real.flistxattr(fd, names, size);
        },
        [](int fd, const char* name, void* value, size_t size) -> ssize_t {
            return failing("fgetxattr", call_group::status) ? -1
                                                            : real.fgetxattr(fd, name, value, size);
        },
        [](int fd, const char* name, const void* value, size_t size, int flags) {
            return failing("fsetxattr", call_group::status)
                       ? -1
                       : real.fsetxattr(fd, name, value, size, flags);
        },
    };
}

void remove_fault_wrappers() {
    file_calls() = real;
}
