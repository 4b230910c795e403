#include "hosts/line_ends.h"

#include <algorithm>

std::string lf_line_ends(std::string_view crlf_text) {
    std::string text;
    text.reserve(crlf_text.size());
    for (std::size_t at = 0; at < crlf_text.size(); ++at) {
        const bool pair =
            crlf_text[at] == '\r' && at + 1 < crlf_text.size() && crlf_text[at + 1] == '\n';
        if (!pair) {
            text.push_back(crlf_text[at]);
        }
    }
    return text;
}

std::string crlf_line_ends(std::string_view lf_text) {
    std::string text;
    text.reserve(lf_text.size() +
                 static_cast<std::size_t>(std::count(lf_text.begin(), lf_text.end(), '\n')));
    for (const char byte : lf_text) {
        if (byte == '\n') {
            text.push_back('\r');
        }
        text.push_back(byte);
    }
    return text;
}
