#include "hosts/hosts_test_files.h"

#include <algorithm>
#include <stdexcept>

std::vector<std::string> names_in(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string padded_lines(std::string_view lf_lines, std::size_t size) {
    const std::string lines{lf_lines};
    const std::size_t fixed = file_text(lines + "#\n").size();
    if (size < fixed) {
        throw std::invalid_argument("file size too small");
    }
    return lines + "#" + std::string(size - fixed, 'x') + "\n";
}
