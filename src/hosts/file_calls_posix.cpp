#include "hosts/file_calls_posix.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

posix_file_calls& file_calls() {
    static posix_file_calls calls{
        [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); },
        ::read,
        ::pwrite,
        ::ftruncate,
        ::fsync,
        ::close,
        ::fstat,
        ::fchown,
        ::fchmod,
        ::stat,
        ::lstat,
        std::rename,
        ::unlink,
        ::flistxattr,
        ::fgetxattr,
        ::fsetxattr,
    };
    return calls;
}
