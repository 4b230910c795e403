#include "hosts/file_handle.h"

#include "hosts/file_calls_win32.h"

#include <algorithm>

namespace {

constexpr std::size_t max_transfer = std::size_t{1} << 30;

HANDLE handle_of(std::intptr_t native) {
    return reinterpret_cast<HANDLE>(native);
}

}  // namespace

std::optional<std::uint64_t> Cfile_handle::regular_file_size() const {
    // A pipe, a console or a device is not a disk file; a directory is one but holds no text.
    const HANDLE handle = handle_of(native_);
    BY_HANDLE_FILE_INFORMATION information{};
    if (file_calls().get_file_type(handle) != FILE_TYPE_DISK ||
        !file_calls().get_file_information(handle, &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return std::uint64_t{information.nFileSizeHigh} << 32 | information.nFileSizeLow;
}

std::ptrdiff_t Cfile_handle::read_some(char* into, std::size_t most) {
    DWORD got = 0;
    const DWORD wanted = static_cast<DWORD>(std::min(most, max_transfer));
    if (!file_calls().read_file(handle_of(native_), into, wanted, &got, nullptr)) {
        return -1;
    }
    return static_cast<std::ptrdiff_t>(got);
}

std::ptrdiff_t Cfile_handle::write_some_at(std::uint64_t offset, std::string_view bytes) {
    OVERLAPPED position{};
    position.Offset = static_cast<DWORD>(offset);
    position.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD put = 0;
    const DWORD wanted = static_cast<DWORD>(std::min(bytes.size(), max_transfer));
    if (!file_calls().write_file(handle_of(native_), bytes.data(), wanted, &put, &position)) {
        return -1;
    }
    return static_cast<std::ptrdiff_t>(put);
}

bool Cfile_handle::set_length(std::uint64_t length) {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(length);
    return file_calls().set_file_pointer(handle_of(native_), position, nullptr, FILE_BEGIN) &&
           file_calls().set_end_of_file(handle_of(native_));
}

bool Cfile_handle::flush() {
    return file_calls().flush_file_buffers(handle_of(native_)) != 0;
}

bool Cfile_handle::close() {
    if (native_ == no_file) {
        return true;
    }
    const HANDLE handle = handle_of(native_);
    native_ = no_file;
    return file_calls().close_handle(handle) != 0;
}
