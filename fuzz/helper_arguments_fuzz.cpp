// The privileged helper's argument rule on any argument list (the input's NUL bytes part the
// arguments): what it takes is exactly a reset, or an apply of an address that an independent
// reading finds to be four decimal fields 0-255 without leading zeros, and the program writes
// those arguments again from it. Every address of four such fields goes through.
#include "command_line_input.h"
#include "fuzz_check.h"
#include "hosts_helper/helper_command.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Four fields of one to three digits, no leading zero, each at most 255, dots between.
bool is_plain_address(const std::string& text) {
    int fields = 0;
    std::size_t from = 0;
    for (;;) {
        std::size_t to = from;
        while (to < text.size() && text[to] >= '0' && text[to] <= '9') {
            ++to;
        }
        const std::size_t digits = to - from;
        if (digits == 0 || digits > 3 || (digits > 1 && text[from] == '0') ||
            std::stoi(text.substr(from, digits)) > 255) {
            return false;
        }
        ++fields;
        if (to == text.size()) {
            return fields == 4;
        }
        if (text[to] != '.' || fields == 4) {
            return false;
        }
        from = to + 1;
    }
}

std::optional<std::string> taken(const std::vector<std::string>& arguments) {
    return address_from_helper_arguments(
        std::vector<std::string_view>(arguments.begin(), arguments.end()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> arguments = arguments_of(data, size);
    if (const std::optional<std::string> address = taken(arguments)) {
        FUZZ_CHECK(address->empty() ? arguments == std::vector<std::string>{"reset"}
                                    : arguments.size() == 2 && arguments[0] == "apply" &&
                                          arguments[1] == *address && is_plain_address(*address));
        FUZZ_CHECK(helper_arguments(*address) == arguments);
    } else {
        FUZZ_CHECK(
            !(arguments.size() == 2 && arguments[0] == "apply" && is_plain_address(arguments[1])));
        FUZZ_CHECK(arguments != std::vector<std::string>{"reset"});
    }
    if (size >= 4) {
        std::string address;
        for (int field = 0; field < 4; ++field) {
            address += (field > 0 ? "." : "") + std::to_string(data[field]);
        }
        FUZZ_CHECK(taken(helper_arguments(address)) == address);
    }
    return 0;
}
