#pragma once
#include <string>

// The Windows Sockets name of an error number without its "WSA" prefix, or the number in
// decimal when it has no name here.
std::string socket_error_name(int code);

// The last socket error of this thread as a Windows Sockets number. Where the platform reports
// errno values, each is turned into the Windows Sockets number of the same meaning, so both
// builds name a failure alike; an errno without one comes back unchanged.
int last_socket_error();
