#include "login/login_server_scan.h"

#include "support/reply_line.h"
#include "support/text_tokens.h"

namespace {
constexpr std::int32_t login_server_reply = 605;
}

login_server find_login_server(std::string answer) {
    login_server found;
    Creply_line reply;
    while (!answer.empty()) {
        // The trim of next_token also drops the CR of a CR LF line end.
        reply.parse(next_token(answer, '\n'));
        if (reply.code() == login_server_reply) {
            std::string rest = reply.param(2);
            found.host = next_token(rest, ' ');
            found.port = next_token_int(rest);
            break;
        }
    }
    return found;
}
