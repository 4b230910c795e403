#include "support/tcp_socket.h"

#include "support/winsock_startup_win32.h"

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

int winsock_startup_with(bool& started, decltype(&WSAStartup) start) {
    if (started) {
        return 0;
    }
    // Set first: a start that failed is not tried again.
    started = true;
    WSADATA data;
    return start(MAKEWORD(2, 0), &data) != 0 ? 1 : 0;
}

int winsock_startup() {
    return winsock_startup_with(sockets_started, WSAStartup);
}

void Ctcp_socket::close_socket(native_socket socket) {
    closesocket(socket);
}

void Ctcp_socket::shut_down(native_socket socket) {
    shutdown(socket, SD_BOTH);
}

void Ctcp_socket::open() {
    winsock_startup();
    const SOCKET created = ::socket(AF_INET, SOCK_STREAM, 0);
    if (created != INVALID_SOCKET) {
        // A receive that runs out of time fails with WSAETIMEDOUT.
        const DWORD limit = receive_time_limit_seconds * 1000;
        ::setsockopt(created, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&limit),
                     sizeof limit);
    }
    *this = Ctcp_socket(created);
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
