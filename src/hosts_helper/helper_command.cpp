#include "hosts_helper/helper_command.h"

namespace {

constexpr std::string_view apply_verb = "apply";
constexpr std::string_view reset_verb = "reset";
constexpr int address_fields = 4;
constexpr int largest_field = 255;

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
