#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The command line of the privileged hosts helper, written by the program and read by the
// helper: "apply A.B.C.D" maps the service host names to the address, "reset" removes them.

// The arguments that ask the helper for the rewrite with `address` (empty: reset).
std::vector<std::string> helper_arguments(const std::string& address);

// The address the arguments ask for (empty text for a reset), or none when they are not exactly
// one of the two forms. The address must be four decimal fields 0-255 without leading zeros,
// the only form the program writes: anything else could put other text into the hosts file.
std::optional<std::string> address_from_helper_arguments(
    const std::vector<std::string_view>& arguments);
