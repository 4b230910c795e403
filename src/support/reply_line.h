#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One line of a server's answer: an optional ":prefix", blank-separated parameters, and a
// trailing parameter after the first colon that runs to the end of the line.
class Creply_line {
  public:
    std::string prefix;
    std::vector<std::string> params;

    void clear();
    void parse(const std::string& line);

    // The parameter at `index`, or an empty text when there is none.
    const std::string& param(std::size_t index) const;

    // The first parameter as a decimal number; 0 when it is missing or not a number.
    std::int32_t code() const;
};
