#pragma once
#include <cstdint>

// An IP-address control holds its value as one number with the first field in the highest
// byte; the resolver and the socket calls hold the four octets in memory order, first octet
// first. These convert between the two on any byte order.
std::uint32_t control_value_from_address(std::uint32_t network_order);
std::uint32_t address_from_control_value(std::uint32_t control_value);
