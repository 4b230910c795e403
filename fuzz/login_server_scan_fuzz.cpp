// The scan of a server-list answer for the login server, on any answer.
#include "fuzz_check.h"
#include "login/login_server_scan.h"
#include "support/text_tokens.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

const std::string later_reply = "\n:s 605 u :later.example 1";

bool is_found(const login_server& server) {
    return !server.host.empty() || server.port != 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string answer(reinterpret_cast<const char*>(data), size);
    const login_server server = find_login_server(answer);

    // The host is a token of the answer: bytes it holds, no blank or line end, trimmed.
    FUZZ_CHECK(answer.find(server.host) != std::string::npos);
    FUZZ_CHECK(server.host.find_first_of(" \n") == std::string::npos);
    FUZZ_CHECK(server.host.empty() ||
               (!is_blank_byte(server.host.front()) && !is_blank_byte(server.host.back())));
    if (is_found(server)) {
        FUZZ_CHECK(answer.find("605") != std::string::npos);
    }

    // The first 605 reply decides: a later one changes nothing once one was found, and is
    // found when there was none.
    const login_server with_later = find_login_server(answer + later_reply);
    if (is_found(server)) {
        FUZZ_CHECK(with_later.host == server.host && with_later.port == server.port);
    } else if (is_found(with_later)) {
        FUZZ_CHECK(with_later.host == "later.example" && with_later.port == 1);
    }
    return 0;
}
