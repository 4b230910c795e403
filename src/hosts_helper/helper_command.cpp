#include "hosts_helper/helper_command.h"

namespace {

constexpr std::string_view apply_verb = "apply";
constexpr std::string_view reset_verb = "reset";
constexpr int address_fields = 4;
constexpr int largest_field = 255;
// What ends an unquoted program name on a Windows command line, and what may follow it.
constexpr std::string_view program_name_ends = " \t";

bool is_decimal_field(std::string_view field) {
    if (field.empty() || field.size() > 3 || (field.size() > 1 && field[0] == '0')) {
        return false;
    }
    int value = 0;
    for (const char digit : field) {
        if (digit < '0' || digit > '9') {
            return false;
        }
        value = value * 10 + (digit - '0');
    }
    return value <= largest_field;
}

bool is_dotted_decimal_address(std::string_view text) {
    for (int field = 1; field < address_fields; ++field) {
        const std::size_t dot = text.find('.');
        if (dot == std::string_view::npos || !is_decimal_field(text.substr(0, dot))) {
            return false;
        }
        text.remove_prefix(dot + 1);
    }
    return is_decimal_field(text);
}

}  // namespace

std::vector<std::string> helper_arguments(const std::string& address) {
    if (address.empty()) {
        return {std::string(reset_verb)};
    }
    return {std::string(apply_verb), address};
}

std::string helper_command_line(const std::string& address) {
    std::string line;
    for (const std::string& argument : helper_arguments(address)) {
        line += (line.empty() ? "" : " ") + argument;
    }
    return line;
}

std::vector<std::string_view> helper_arguments_in_command_line(std::string_view command_line) {
    const bool quoted = !command_line.empty() && command_line.front() == '"';
    const std::size_t name_end =
        quoted ? command_line.find('"', 1) : command_line.find_first_of(program_name_ends);
    if (name_end == std::string_view::npos) {
        return {};
    }
    const std::size_t first = command_line.find_first_not_of(program_name_ends, name_end + quoted);
    if (first == std::string_view::npos) {
        return {};
    }
    std::vector<std::string_view> arguments;
    std::string_view rest = command_line.substr(first);
    for (std::size_t blank = rest.find(' '); blank != std::string_view::npos;
         blank = rest.find(' ')) {
        arguments.push_back(rest.substr(0, blank));
        rest.remove_prefix(blank + 1);
    }
    arguments.push_back(rest);
    return arguments;
}

std::optional<std::string> address_from_helper_arguments(
    const std::vector<std::string_view>& arguments) {
    if (arguments.size() == 1 && arguments[0] == reset_verb) {
        return std::string();
    }
    if (arguments.size() == 2 && arguments[0] == apply_verb &&
        is_dotted_decimal_address(arguments[1])) {
        return std::string(arguments[1]);
    }
    return std::nullopt;
}
