// Creply_line::parse on any line: the parameters joined back give the line after its prefix.
#include "fuzz_check.h"
#include "reference_decimal.h"
#include "support/reply_line.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// The middle parameters joined by blanks; one blank at the end of the middle part makes no
// parameter of its own.
void check_middle(const std::string& middle, const Creply_line& reply, std::size_t count) {
    std::string joined;
    for (std::size_t i = 0; i < count; ++i) {
        FUZZ_CHECK(reply.params[i].find(' ') == std::string::npos);
        FUZZ_CHECK(reply.params[i].find(':') == std::string::npos);
        joined += (i == 0 ? "" : " ") + reply.params[i];
    }
    if (!middle.empty() && middle.back() == ' ') {
        joined += ' ';
    }
    FUZZ_CHECK(joined == middle);
}

void check_reply(const std::string& line, const Creply_line& reply) {
    const bool has_prefix = !line.empty() && line[0] == ':';
    const std::size_t prefix_end = has_prefix ? line.find(' ', 1) : 0;
    if (line.empty() || prefix_end == std::string::npos) {
        FUZZ_CHECK(reply.prefix.empty() && reply.params.empty());
        return;
    }
    const std::size_t body_start = has_prefix ? prefix_end + 1 : 0;
    FUZZ_CHECK(reply.prefix == (has_prefix ? line.substr(1, prefix_end - 1) : std::string()));

    const std::string body = line.substr(body_start);
    const std::size_t colon = body.find(':');
    if (colon == std::string::npos) {
        check_middle(body, reply, reply.params.size());
    } else {
        FUZZ_CHECK(!reply.params.empty());
        FUZZ_CHECK(reply.params.back() == body.substr(colon + 1));
        check_middle(body.substr(0, colon), reply, reply.params.size() - 1);
    }
    FUZZ_CHECK(reply.code() == reference_decimal(reply.param(0)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    Creply_line reply;
    // An object that held an earlier line keeps nothing of it.
    reply.parse(":earlier 605 left :over");
    reply.parse(line);
    check_reply(line, reply);

    FUZZ_CHECK(reply.param(reply.params.size()).empty());
    FUZZ_CHECK(reply.param(SIZE_MAX).empty());
    if (reply.params.empty()) {
        FUZZ_CHECK(reply.code() == 0);
    }
    return 0;
}
