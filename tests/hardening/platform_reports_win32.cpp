#include "hardening/platform_reports.h"

// Windows looks the empty name up as this machine's own, which the test's hosts file maps to
// 127.0.0.1. Port 0 is refused as Wine reports it.
const char empty_login_server_report[] =
    "server: :0 (127.0.0.1)\r\nunable to connect: ECONNREFUSED";
const char connection_to_port_0_failure[] = "ECONNREFUSED";
const char unresolved_host_failure[] = "ENETUNREACH";

// Wine reports a reset that came before the receive as an orderly end: the "server:" line alone.
std::vector<std::string> immediate_reset_reports() {
    return {"unable to send: ECONNRESET", "unable to receive: ECONNRESET", ""};
}
