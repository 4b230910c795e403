#include "hosts/file_handle.h"

#include <algorithm>

bool Cfile_handle::read_all(std::string& bytes, std::size_t most) {
    bytes.clear();
    const std::optional<std::uint64_t> size = regular_file_size();
    if (!size || *size > most) {
        return false;
    }
    // One spare byte so that a file read whole needs no second buffer to see its end, and so
    // that a file grown past `most` shows without reading more than one byte past it.
    std::size_t used = 0;
    bytes.resize(static_cast<std::size_t>(*size) + 1);
    for (;;) {
        if (used == bytes.size()) {
            if (used > most) {
                bytes.clear();
                return false;
            }
            bytes.resize(std::min(bytes.size() * 2, most + 1));
        }
        const std::ptrdiff_t got = read_some(bytes.data() + used, bytes.size() - used);
        if (got < 0) {
            bytes.clear();
            return false;
        }
        if (got == 0) {
            break;
        }
        used += static_cast<std::size_t>(got);
    }
    bytes.resize(used);
    return true;
}

bool Cfile_handle::write_at(std::uint64_t offset, std::string_view bytes) {
    while (!bytes.empty()) {
        const std::ptrdiff_t put = write_some_at(offset, bytes);
        if (put <= 0) {
            return false;
        }
        offset += static_cast<std::uint64_t>(put);
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}
