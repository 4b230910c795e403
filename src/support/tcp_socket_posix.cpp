#include "support/tcp_socket.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <climits>
#include <cstring>

namespace {

int descriptor(native_socket socket) {
    return socket == invalid_socket ? -1 : static_cast<int>(socket);
}

// Platform calls take a length; a range longer than an int can count is cut, as Windows would.
std::size_t range_length(const char* start, const char* end) {
    const auto length = static_cast<std::size_t>(end - start);
    return length > INT_MAX ? INT_MAX : length;
}

}  // namespace

int winsock_startup() {
    return 0;
}

void Ctcp_socket::close_socket(native_socket socket) {
    ::close(descriptor(socket));
}

void Ctcp_socket::open() {
    winsock_startup();
    const int created = ::socket(AF_INET, SOCK_STREAM, 0);
    *this = Ctcp_socket(created < 0 ? invalid_socket : static_cast<native_socket>(created));
}

int Ctcp_socket::connect(std::uint32_t address_network_order, std::uint16_t port_network_order) {
    sockaddr_in target;
    std::memset(&target, 0, sizeof target);
    target.sin_family = AF_INET;
    target.sin_port = port_network_order;
    target.sin_addr.s_addr = address_network_order;
    return ::connect(descriptor(get()), reinterpret_cast<const sockaddr*>(&target), sizeof target);
}

int Ctcp_socket::send(const char* start, const char* end) {
    // A peer that has gone must give an error, not a SIGPIPE that ends the program.
    return static_cast<int>(
        ::send(descriptor(get()), start, range_length(start, end), MSG_NOSIGNAL));
}

int Ctcp_socket::recv(char* start, char* end) {
    return static_cast<int>(::recv(descriptor(get()), start, range_length(start, end), 0));
}
