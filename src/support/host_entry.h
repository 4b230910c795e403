#pragma once
#include <cstdint>
#include <optional>

// The first address of a resolver entry when it is an IPv4 address list, else none. Takes the
// entry's fields so that both platforms' entry types can share the rule.
std::optional<std::uint32_t> first_ipv4_address(int address_type, int address_length,
                                                char* const* address_list);
