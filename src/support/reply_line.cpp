#include "support/reply_line.h"

#include "support/text_tokens.h"

void Creply_line::clear() {
    prefix.clear();
    params.clear();
}

void Creply_line::parse(const std::string& line) {
    clear();
    if (line.empty()) {
        return;
    }
    std::size_t pos = 0;
    if (line[0] == ':') {
        const std::size_t blank = line.find(' ', 1);
        if (blank == std::string::npos) {
            return;
        }
        prefix.assign(line, 1, blank - 1);
        pos = blank + 1;
    }
    const std::size_t colon = line.find(':', pos);
    const std::size_t middle_end = colon == std::string::npos ? line.size() : colon;
    while (pos < middle_end) {
        std::size_t blank = line.find(' ', pos);
        if (blank == std::string::npos || blank > middle_end) {
            blank = middle_end;
        }
        params.emplace_back(line, pos, blank - pos);
        pos = blank + 1;
    }
    if (colon != std::string::npos) {
        params.emplace_back(line, colon + 1);
    }
}

const std::string& Creply_line::param(std::size_t index) const {
    static const std::string none;
    return index < params.size() ? params[index] : none;
}

std::int32_t Creply_line::code() const {
    return decimal_value(param(0));
}
