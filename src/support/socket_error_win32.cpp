#include "support/socket_error.h"

#include <winsock2.h>

int last_socket_error() {
    return WSAGetLastError();
}
