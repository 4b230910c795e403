#pragma once
#include <cstdint>
#include <string>

// Where the server list sends the client to log in. What the answer does not name stays empty
// or 0.
struct login_server {
    std::string host;
    std::int32_t port = 0;
};

// Finds the first 605 reply in a server-list answer and reads the login server's host and port
// from its third parameter.
login_server find_login_server(std::string answer);
