#include "login/login_requests.h"

std::string server_list_request(std::int32_t service_number) {
    return "whereto 0 0 " + std::to_string(service_number) + "\nquit\n";
}

std::string login_request(std::int32_t service_number, const account_entry& account,
                          std::int32_t reset_passwords) {
    std::string request = "cvers 0 " + std::to_string(service_number) + "\n";
    request += "nick " + account.nick + "\n";
    if (reset_passwords == 0) {
        request += "apgar " + account.password + " 0\n";
    }
    request += "user\n";
    request += reset_passwords == 0 ? "privmsg c /names\n" : "privmsg c :reset passwords\n";
    request += "quit\n";
    return request;
}
