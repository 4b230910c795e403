// next_token and next_token_int on any bytes. The first input byte is the separator.
#include "fuzz_check.h"
#include "reference_decimal.h"
#include "support/text_tokens.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

bool all_blank(const std::string& text, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
        if (!is_blank_byte(text[i])) {
            return false;
        }
    }
    return true;
}

// The token and what is left account for every byte of the source: the consumed front is the
// token with only white space around it, followed by the separator unless nothing is left.
void check_one_token(const std::string& source, char separator) {
    std::string rest = source;
    const std::string token = next_token(rest, separator);

    FUZZ_CHECK(token.size() + rest.size() <= source.size());
    FUZZ_CHECK(source.compare(source.size() - rest.size(), rest.size(), rest) == 0);
    const std::size_t consumed = source.size() - rest.size();
    std::string front = source.substr(0, consumed);
    const std::size_t first_separator = front.find(separator);
    if (first_separator == std::string::npos) {
        FUZZ_CHECK(rest.empty());
    } else {
        FUZZ_CHECK(first_separator == consumed - 1);
        front.pop_back();
    }
    FUZZ_CHECK(token.empty() || (!is_blank_byte(token.front()) && !is_blank_byte(token.back())));
    if (token.empty()) {
        FUZZ_CHECK(all_blank(front, 0, front.size()));
        return;
    }
    const std::size_t at = front.find(token);
    FUZZ_CHECK(at != std::string::npos);
    FUZZ_CHECK(all_blank(front, 0, at));
    FUZZ_CHECK(all_blank(front, at + token.size(), front.size()));
}

// Walking a text token by token ends, and every call takes at least one byte off.
void check_walk(const std::string& source, char separator) {
    std::string rest = source;
    while (!rest.empty()) {
        const std::size_t before = rest.size();
        next_token(rest, separator);
        FUZZ_CHECK(rest.size() < before);
    }
    std::string empty;
    FUZZ_CHECK(next_token(empty, separator).empty() && empty.empty());
}

// next_token_int takes the same token as next_token with a blank and reads it as strtol would.
void check_number(const std::string& source) {
    std::string by_number = source;
    std::string by_token = source;
    const std::int32_t value = next_token_int(by_number);
    const std::string token = next_token(by_token, ' ');
    FUZZ_CHECK(by_number == by_token);
    FUZZ_CHECK(value == reference_decimal(token));
    FUZZ_CHECK(decimal_value(token) == value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const char separator = static_cast<char>(data[0]);
    const std::string source(reinterpret_cast<const char*>(data) + 1, size - 1);
    check_one_token(source, separator);
    check_walk(source, separator);
    check_number(source);
    return 0;
}
