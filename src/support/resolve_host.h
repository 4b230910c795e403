#pragma once
#include <cstdint>
#include <optional>
#include <string>

// All 32 bits set: the address of a host that did not resolve.
inline constexpr std::uint32_t address_none = 0xFFFFFFFFu;

// The first IPv4 address the resolver gives for `name`, in network byte order, or none. Unlike
// resolve_host, this tells a host mapped to 255.255.255.255 apart from one that did not resolve.
std::optional<std::uint32_t> look_up_host(const std::string& name);

// The first IPv4 address the resolver gives for `name`, in network byte order, or address_none.
std::uint32_t resolve_host(const std::string& name);

// The dotted-decimal text of an address in network byte order, first octet first.
std::string address_text(std::uint32_t address);
