#include "hosts/hosts_test_files.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

std::string file_bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void put_file_bytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

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

Cscratch_directory::Cscratch_directory() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("ketrin-hosts-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directory(path_);
}

Cscratch_directory::~Cscratch_directory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}
