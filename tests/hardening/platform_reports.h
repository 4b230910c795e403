#pragma once
#include <string>
#include <vector>

// What the platform's socket layer reports where the two builds differ.

// The whole output of an exchange with the empty host on port 0, which is what the login
// exchange is given when the server list names no login server.
extern const char empty_login_server_report[];

// Why a connection to port 0 of 127.0.0.1 fails.
extern const char connection_to_port_0_failure[];

// Why a connection to a host that did not resolve (255.255.255.255) fails.
extern const char unresolved_host_failure[];

// What may follow the "server:" line when the server resets the connection right after
// accepting it.
std::vector<std::string> immediate_reset_reports();
