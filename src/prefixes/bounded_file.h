#pragma once
#include <cstddef>
#include <optional>
#include <string>

// The whole content of a regular file of at most `limit` bytes; none for anything else (missing,
// unreadable, a folder, a pipe or device, larger). Never waits on a pipe.
std::optional<std::string> read_bounded_file(const std::string& path, std::size_t limit);
