#pragma once

// The kernel's table of IPv4 TCP sockets. The Windows build reads the same table through the
// drive that Wine maps to the root of the file system: Wine's sockets live in this namespace.
extern const char proc_net_tcp_path[];
