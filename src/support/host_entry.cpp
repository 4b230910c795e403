#include "support/host_entry.h"

#include <cstring>

namespace {

// AF_INET has this number on every platform the program builds for.
constexpr int ipv4_family = 2;

}  // namespace

std::optional<std::uint32_t> first_ipv4_address(int address_type, int address_length,
                                                char* const* address_list) {
    if (address_type != ipv4_family || address_length != 4 || address_list == nullptr ||
        address_list[0] == nullptr) {
        return std::nullopt;
    }
    std::uint32_t address;
    std::memcpy(&address, address_list[0], sizeof address);
    return address;
}
