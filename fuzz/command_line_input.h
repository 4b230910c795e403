#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A fuzz input read as a command line: the arguments are the runs between NUL bytes, as the
// kernel hands them to a program. An empty input is one empty argument.
inline std::vector<std::string> arguments_of(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> arguments{""};
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            arguments.emplace_back();
        } else {
            arguments.back() += static_cast<char>(data[i]);
        }
    }
    return arguments;
}
