#pragma once
#include "login/login_entries.h"

#include <cstdint>
#include <string>

// Asks the server-list host where the given game's login server is. Lines end in LF alone.
std::string server_list_request(std::int32_t service_number);

// Logs `account` in and asks for the names on the channel, or, when `reset_passwords` is not
// 0, asks for a password reset instead and sends no password.
std::string login_request(std::int32_t service_number, const account_entry& account,
                          std::int32_t reset_passwords);
