#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Real files for the hosts rewrite tests, made with the standard library only.

std::string file_bytes(const std::filesystem::path& path);
void put_file_bytes(const std::filesystem::path& path, std::string_view bytes);
// The names in a directory, sorted: a left-over temporary file shows up here.
std::vector<std::string> names_in(const std::filesystem::path& directory);

// The bytes a text with LF line ends has in a file of this platform.
std::string file_text(std::string_view lf_text);

// `lf_lines` and a comment line that pads them to exactly `size` bytes in the file.
std::string padded_lines(std::string_view lf_lines, std::size_t size);

// A fresh directory of its own, removed with what it holds when the object goes.
class Cscratch_directory {
  public:
    Cscratch_directory();
    ~Cscratch_directory();
    Cscratch_directory(const Cscratch_directory&) = delete;
    Cscratch_directory& operator=(const Cscratch_directory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};
