#include "hosts/file_handle.h"

#include "hosts/file_calls_posix.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr std::size_t max_transfer = std::size_t{1} << 30;
}

std::optional<std::uint64_t> Cfile_handle::regular_file_size() const {
    struct stat status {};
    if (file_calls().fstat(static_cast<int>(native_), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(status.st_size);
}

std::ptrdiff_t Cfile_handle::read_some(char* into, std::size_t most) {
    for (;;) {
        const ssize_t got =
            file_calls().read(static_cast<int>(native_), into, std::min(most, max_transfer));
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}

std::ptrdiff_t Cfile_handle::write_some_at(std::uint64_t offset, std::string_view bytes) {
    for (;;) {
        const ssize_t put =
            file_calls().pwrite(static_cast<int>(native_), bytes.data(),
                                std::min(bytes.size(), max_transfer), static_cast<off_t>(offset));
        if (put >= 0 || errno != EINTR) {
            return put;
        }
    }
}

bool Cfile_handle::set_length(std::uint64_t length) {
    return file_calls().ftruncate(static_cast<int>(native_), static_cast<off_t>(length)) == 0;
}

bool Cfile_handle::flush() {
    return file_calls().fsync(static_cast<int>(native_)) == 0;
}

bool Cfile_handle::close() {
    if (native_ == no_file) {
        return true;
    }
    const int fd = static_cast<int>(native_);
    native_ = no_file;
    return file_calls().close(fd) == 0;
}
