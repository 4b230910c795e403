#include "prefixes/bounded_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::optional<std::string> read_bounded_file(const std::string& path, std::size_t limit) {
    // Non-blocking, so that a pipe put where a file should be cannot hold the program.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    std::optional<std::string> content;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<unsigned long long>(info.st_size) <= limit) {
        std::string bytes;
        char chunk[8192];
        ssize_t got = 0;
        // The file may grow while it is read: the limit holds all the same.
        while (bytes.size() <= limit && (got = read(fd, chunk, sizeof chunk)) > 0) {
            bytes.append(chunk, static_cast<std::size_t>(got));
        }
        if (got == 0 && bytes.size() <= limit) {
            content = std::move(bytes);
        }
    }
    close(fd);
    return content;
}
