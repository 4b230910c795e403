// The program's --prefix option on any command line (the input's NUL bytes part the arguments):
// a value found was given with the option, and an option given after all the others wins.
#include "prefixes/wine_prefix_discovery.h"
#include "command_line_input.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::optional<std::string> option_of(const std::vector<std::string>& arguments) {
    std::vector<const char*> argv{"ketrin_client"};
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    return prefix_option(static_cast<int>(argv.size()), argv.data());
}

// Whether `value` was given with the option at `at`: as its next argument or after its '='.
bool given_at(const std::vector<std::string>& arguments, std::size_t at, const std::string& value) {
    return (arguments[at] == "--prefix" && at + 1 < arguments.size() &&
            arguments[at + 1] == value) ||
           arguments[at] == "--prefix=" + value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> arguments = arguments_of(data, size);
    const std::optional<std::string> prefix = option_of(arguments);
    bool with_equals = false;
    bool given = false;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        with_equals = with_equals || arguments[at].rfind("--prefix=", 0) == 0;
        given = given || (prefix && given_at(arguments, at, *prefix));
    }
    FUZZ_CHECK(!prefix || given);
    FUZZ_CHECK(prefix || !with_equals);

    // An option written after all the others wins, unless a last "--prefix" takes it for its
    // value.
    bool value_awaited = false;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const bool option = arguments[at] == "--prefix";
        value_awaited = option && at + 1 == arguments.size();
        at += option;  // its value is no option
    }
    std::vector<std::string> more = arguments;
    more.push_back("--prefix=/last");
    FUZZ_CHECK(option_of(more) == (value_awaited ? "--prefix=/last" : "/last"));
    more.back() = "--prefix";
    more.push_back("/next");
    FUZZ_CHECK(option_of(more) == (value_awaited ? "--prefix" : "/next"));
    return 0;
}
