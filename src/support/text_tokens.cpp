#include "support/text_tokens.h"

#include <boost/algorithm/string/trim.hpp>

#include <algorithm>
#include <limits>

bool is_blank_byte(char byte) {
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

std::string next_token(std::string& source, char separator) {
    const std::size_t at = source.find(separator);
    std::string token;
    if (at == std::string::npos) {
        token.swap(source);
    } else {
        token.assign(source, 0, at);
        source.erase(0, at + 1);
    }
    // A fixed predicate rather than the global locale's classification, which a GUI toolkit
    // may have changed under us.
    boost::algorithm::trim_right_if(token, is_blank_byte);
    boost::algorithm::trim_left_if(token, is_blank_byte);
    return token;
}

std::int32_t next_token_int(std::string& source) {
    return decimal_value(next_token(source, ' '));
}

std::int32_t decimal_value(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && is_blank_byte(text[at])) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    // Accumulate the magnitude and stop growing it once it is past the range: the rest of the
    // digits can only make it larger.
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        if (magnitude <= limit) {
            magnitude = magnitude * 10 + (text[at] - '0');
        }
    }
    if (negative) {
        return static_cast<std::int32_t>(-std::min(magnitude, limit));
    }
    return static_cast<std::int32_t>(std::min(magnitude, limit - 1));
}
