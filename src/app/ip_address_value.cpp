#include "app/ip_address_value.h"

#include <cstring>

std::uint32_t control_value_from_address(std::uint32_t network_order) {
    unsigned char octets[4];
    std::memcpy(octets, &network_order, sizeof octets);
    return std::uint32_t{octets[0]} << 24 | std::uint32_t{octets[1]} << 16 |
           std::uint32_t{octets[2]} << 8 | std::uint32_t{octets[3]};
}

std::uint32_t address_from_control_value(std::uint32_t control_value) {
    const unsigned char octets[4] = {
        static_cast<unsigned char>(control_value >> 24),
        static_cast<unsigned char>(control_value >> 16),
        static_cast<unsigned char>(control_value >> 8),
        static_cast<unsigned char>(control_value),
    };
    std::uint32_t network_order;
    std::memcpy(&network_order, octets, sizeof network_order);
    return network_order;
}
