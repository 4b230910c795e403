#include "support/resolve_host.h"

#include <cstring>

std::uint32_t resolve_host(const std::string& name) {
    return look_up_host(name).value_or(address_none);
}

std::string address_text(std::uint32_t address) {
    unsigned char octets[4];
    std::memcpy(octets, &address, sizeof octets);
    std::string text;
    for (unsigned char octet : octets) {
        if (!text.empty()) {
            text += '.';
        }
        text += std::to_string(octet);
    }
    return text;
}
