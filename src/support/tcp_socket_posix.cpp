#include "support/tcp_socket.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
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

// Windows gives up on a host that never answers after its default retransmissions, about 21 s;
// the kernel here would wait about two minutes, with the window unpainted all the while.
constexpr timeval connect_time_limit{21, 0};
constexpr timeval no_time_limit{0, 0};
constexpr timeval receive_time_limit{receive_time_limit_seconds, 0};

// A blocking connect waits at most the socket's send time limit.
void set_send_time_limit(int fd, const timeval& limit) {
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

}  // namespace

int winsock_startup() {
    return 0;
}

void Ctcp_socket::close_socket(native_socket socket) {
    ::close(descriptor(socket));
}

void Ctcp_socket::shut_down(native_socket socket) {
    ::shutdown(descriptor(socket), SHUT_RDWR);
}

void Ctcp_socket::open() {
    winsock_startup();
    const int created = ::socket(AF_INET, SOCK_STREAM, 0);
    if (created >= 0) {
        ::setsockopt(created, SOL_SOCKET, SO_RCVTIMEO, &receive_time_limit,
                     sizeof receive_time_limit);
    }
    *this = Ctcp_socket(created < 0 ? invalid_socket : static_cast<native_socket>(created));
}

int Ctcp_socket::connect(std::uint32_t address_network_order, std::uint16_t port_network_order) {
    sockaddr_in target;
    std::memset(&target, 0, sizeof target);
    target.sin_family = AF_INET;
    target.sin_port = port_network_order;
    target.sin_addr.s_addr = address_network_order;
    // A blocking connect, as on Windows: it returns the moment the connection is made, so a peer
    // that resets right after is seen by the first send or receive. Only its wait is bounded;
    // the sends that follow have no limit, as on Windows.
    const int fd = descriptor(get());
    set_send_time_limit(fd, connect_time_limit);
    const int result = ::connect(fd, reinterpret_cast<const sockaddr*>(&target), sizeof target);
    const int error = result != 0 && errno == EINPROGRESS ? ETIMEDOUT : errno;
    set_send_time_limit(fd, no_time_limit);
    errno = error;
    return result;
}

int Ctcp_socket::send(const char* start, const char* end) {
    // A peer that has gone must give an error, not a SIGPIPE that ends the program.
    return static_cast<int>(
        ::send(descriptor(get()), start, range_length(start, end), MSG_NOSIGNAL));
}

int Ctcp_socket::recv(char* start, char* end) {
    const auto received = ::recv(descriptor(get()), start, range_length(start, end), 0);
    // A blocking socket gives EAGAIN only when its receive time limit ran out; Windows names
    // that a time-out.
    if (received < 0 && errno == EAGAIN) {
        errno = ETIMEDOUT;
    }
    return static_cast<int>(received);
}
