#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The command line of the privileged hosts helper, written by the program and read by the
// helper: "apply A.B.C.D" maps the service host names to the address, "reset" removes them.

// The arguments that ask the helper for the rewrite with `address` (empty: reset).
std::vector<std::string> helper_arguments(const std::string& address);

// The same arguments as one command-line text, each separated by one blank, as Windows passes
// them.
std::string helper_command_line(const std::string& address);

// The arguments of a Windows command line: what follows the program name (quoted or not) and
// the blanks and tabs after it, cut at every blank. Quotes, tabs and further blanks stay in the
// arguments, where the rule below refuses them: the program writes none, and a helper that
// undid quoting would accept forms the program never writes.
std::vector<std::string_view> helper_arguments_in_command_line(std::string_view command_line);

// The address the arguments ask for (empty text for a reset), or none when they are not exactly
// one of the two forms. The address must be four decimal fields 0-255 without leading zeros,
// the only form the program writes: anything else could put other text into the hosts file.
std::optional<std::string> address_from_helper_arguments(
    const std::vector<std::string_view>& arguments);
