#include "support/tcp_socket.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
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
constexpr std::chrono::milliseconds connect_time_limit{21000};

// Waits for a connection begun without blocking; 0 once it is made, else -1 and errno.
int wait_for_connection(int fd) {
    const auto deadline = std::chrono::steady_clock::now() + connect_time_limit;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd wanted{fd, POLLOUT, 0};
        const int ready = ::poll(&wanted, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0) {
            return -1;
        }
        if (ready == 0) {
            errno = ETIMEDOUT;
            return -1;
        }
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
            return -1;
        }
        errno = error;
        return error == 0 ? 0 : -1;
    }
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
    // Made without blocking and waited for with a time limit; the socket blocks again after.
    const int fd = descriptor(get());
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0) {
        return ::connect(fd, reinterpret_cast<const sockaddr*>(&target), sizeof target);
    }
    int result = ::connect(fd, reinterpret_cast<const sockaddr*>(&target), sizeof target);
    if (result != 0 && errno == EINPROGRESS) {
        result = wait_for_connection(fd);
    }
    const int error = errno;
    ::fcntl(fd, F_SETFL, flags);
    errno = error;
    return result;
}

int Ctcp_socket::send(const char* start, const char* end) {
    // A peer that has gone must give an error, not a SIGPIPE that ends the program.
    return static_cast<int>(
        ::send(descriptor(get()), start, range_length(start, end), MSG_NOSIGNAL));
}

int Ctcp_socket::recv(char* start, char* end) {
    return static_cast<int>(::recv(descriptor(get()), start, range_length(start, end), 0));
}
