#pragma once
#include <sys/stat.h>
#include <sys/types.h>

// The system calls under the hosts rewrite, reached through one table so that a test can make
// any one of them fail.
struct posix_file_calls {
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*read)(int fd, void* into, size_t most);
    ssize_t (*pwrite)(int fd, const void* bytes, size_t count, off_t offset);
    int (*ftruncate)(int fd, off_t length);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*fstat)(int fd, struct stat* status);
    int (*fchown)(int fd, uid_t owner, gid_t group);
    int (*fchmod)(int fd, mode_t mode);
    int (*stat)(const char* path, struct stat* status);
    int (*lstat)(const char* path, struct stat* status);
    int (*rename)(const char* from, const char* to);
    int (*unlink)(const char* path);
    ssize_t (*flistxattr)(int fd, char* names, size_t size);
    ssize_t (*fgetxattr)(int fd, const char* name, void* value, size_t size);
    int (*fsetxattr)(int fd, const char* name, const void* value, size_t size, int flags);
};

posix_file_calls& file_calls();
