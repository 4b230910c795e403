#include "support/tcp_socket.h"

#include <winsock2.h>

#include <climits>
#include <cstring>

namespace {

bool sockets_started = false;

// Windows takes an int length; a longer range is cut to what an int can count.
int range_length(const char* start, const char* end) {
    const auto length = end - start;
    return length > INT_MAX ? INT_MAX : static_cast<int>(length);
}

}  // namespace

int winsock_startup() {
    if (sockets_started) {
        return 0;
    }
    // Set first: a start that failed is not tried again.
    sockets_started = true;
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 0), &data) != 0 ? 1 : 0;
}

void Ctcp_socket::close_socket(native_socket socket) {
    closesocket(socket);
}

void Ctcp_socket::open() {
    winsock_startup();
    *this = Ctcp_socket(::socket(AF_INET, SOCK_STREAM, 0));
}

int Ctcp_socket::connect(std::uint32_t address_network_order, std::uint16_t port_network_order) {
    sockaddr_in target;
    std::memset(&target, 0, sizeof target);
    target.sin_family = AF_INET;
    target.sin_port = port_network_order;
    target.sin_addr.s_addr = address_network_order;
    return ::connect(get(), reinterpret_cast<const sockaddr*>(&target), sizeof target);
}

int Ctcp_socket::send(const char* start, const char* end) {
    return ::send(get(), start, range_length(start, end), 0);
}

int Ctcp_socket::recv(char* start, char* end) {
    return ::recv(get(), start, range_length(start, end), 0);
}
