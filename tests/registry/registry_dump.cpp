// Reads registry values listed in a file and prints, per line, the open status, the query status
// and the bytes read in hex, so that two builds can be compared byte for byte.
//   registry_dump LIST
// LIST lines: HKLM|HKCR <TAB> subkey <TAB> value name
#include "registry/registry_key.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

namespace {

std::string hex_of(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (const unsigned char byte : bytes) {
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    return hex;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: registry_dump LIST\n";
        return 2;
    }
    std::ifstream list(argv[1], std::ios::binary);
    if (!list) {
        std::cerr << "registry_dump: cannot read " << argv[1] << "\n";
        return 2;
    }
    std::string line;
    while (std::getline(list, line)) {
        const auto first = line.find('\t');
        const auto second = first == std::string::npos ? first : line.find('\t', first + 1);
        if (second == std::string::npos) {
            continue;
        }
        const registry_root root = line.compare(0, first, "HKCR") == 0
                                       ? registry_root::classes_root
                                       : registry_root::local_machine;
        Cregistry_key key;
        const registry_status opened =
            key.open(root, line.substr(first + 1, second - first - 1), key_read);
        std::string value = "untouched";
        const registry_status read =
            opened == 0 ? key.query_value(line.substr(second + 1), value) : -1;
        std::cout << opened << ' ' << read << ' ' << (read == 0 ? hex_of(value) : "-") << '\n';
    }
    return 0;
}
