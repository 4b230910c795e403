#pragma once
#include "fixtures/scratch_directory.h"
#include "fixtures/test_files.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Real files for the hosts rewrite tests, made with the standard library only.

// The names in a directory, sorted: a left-over temporary file shows up here.
std::vector<std::string> names_in(const std::filesystem::path& directory);

// The bytes a text with LF line ends has in a file of this platform.
std::string file_text(std::string_view lf_text);

// `lf_lines` and a comment line that pads them to exactly `size` bytes in the file.
std::string padded_lines(std::string_view lf_lines, std::size_t size);
