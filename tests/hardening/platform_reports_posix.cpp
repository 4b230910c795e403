#include "hardening/platform_reports.h"

// glibc does not take the empty name for this machine's own, so it does not resolve.
const char empty_login_server_report[] =
    "server: :0 (255.255.255.255)\r\nunable to connect: ENETUNREACH";
const char connection_to_port_0_failure[] = "ECONNREFUSED";
const char unresolved_host_failure[] = "ENETUNREACH";

std::vector<std::string> immediate_reset_reports() {
    return {"unable to send: ECONNRESET", "unable to receive: ECONNRESET"};
}
