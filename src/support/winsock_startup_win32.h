#pragma once
#include <winsock2.h>

// The once-only start of Windows Sockets over the call that makes it, so that a test can see
// the version asked for. `started` is the process's flag.
int winsock_startup_with(bool& started, decltype(&WSAStartup) start);
