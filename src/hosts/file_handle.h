#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// An open file of the platform, closed when it goes. The primitives live in a platform pair;
// the loops over them are shared.
class Cfile_handle {
  public:
    static constexpr std::intptr_t no_file = -1;

    explicit Cfile_handle(std::intptr_t native) : native_(native) {}
    Cfile_handle(Cfile_handle&& other) noexcept : native_(other.native_) {
        other.native_ = no_file;
    }
    Cfile_handle& operator=(Cfile_handle&&) = delete;
    ~Cfile_handle() { close(); }

    // Reads a regular file from the current position to its end. False, with nothing read, for
    // anything else (a pipe would block, a device give endless bytes) and for a file of more than
    // `most` bytes, also one that grows past them while it is read; false on a read error.
    bool read_all(std::string& bytes, std::size_t most);
    // Writes all of `bytes` at `offset`; false when any part cannot be written.
    bool write_at(std::uint64_t offset, std::string_view bytes);
    bool set_length(std::uint64_t length);
    // Hands what was written to the disk.
    bool flush();
    bool close();

  private:
    // The size of a regular file on disk; none for anything else (a pipe, a device, a socket, a
    // directory) or when its status cannot be read.
    std::optional<std::uint64_t> regular_file_size() const;
    // Bytes read into `into`, 0 at the end, -1 on error.
    std::ptrdiff_t read_some(char* into, std::size_t most);
    // Bytes written from `bytes` at `offset`, -1 on error.
    std::ptrdiff_t write_some_at(std::uint64_t offset, std::string_view bytes);

    std::intptr_t native_;
};
