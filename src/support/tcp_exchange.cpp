#include "support/tcp_exchange.h"

#include <boost/format.hpp>

#include <cstring>

namespace {

constexpr std::size_t answer_capacity = 4096;

// htons without the platform's headers: the two bytes of the port, most significant first.
std::uint16_t network_order_port(std::int32_t port) {
    const auto low_bits = static_cast<std::uint16_t>(port);
    const unsigned char bytes[2] = {static_cast<unsigned char>(low_bits >> 8),
                                    static_cast<unsigned char>(low_bits & 0xFF)};
    std::uint16_t result;
    std::memcpy(&result, bytes, sizeof result);
    return result;
}

// The error is read before anything else runs that could overwrite it.
int fail(std::string& output, const char* what) {
    const int error = last_socket_error();
    output += what;
    output += socket_error_name(error);
    return 1;
}

int fail_cancelled(std::string& output) {
    output += "cancelled";
    return 1;
}

}  // namespace

int exchange_with_server(const std::string& host, std::int32_t port, std::string_view request,
                         std::string& output, Cexchange_cancel* cancel) {
    Ctcp_socket socket;
    socket.open();
    if (socket.get() == invalid_socket) {
        return fail(output, "unable to create socket: ");
    }
    const Cwatched_socket watch(cancel, socket.get());
    if (watch.cancelled()) {
        return fail_cancelled(output);
    }

    output = boost::str(boost::format("server: %s:%d (%s)\r\n") % host % port %
                        address_text(resolve_host(host)));

    if (socket.connect(resolve_host(host), network_order_port(port)) != 0) {
        return fail(output, "unable to connect: ");
    }

    const char* request_start = request.data();
    const char* request_end = request_start + request.size();
    const int sent = socket.send(request_start, request_end);
    if (sent < 0 || static_cast<std::size_t>(sent) != request.size()) {
        return fail(output, "unable to send: ");
    }

    char answer[answer_capacity];
    std::size_t filled = 0;
    while (filled < answer_capacity) {
        const int received = socket.recv(answer + filled, answer + answer_capacity);
        if (received == 0) {
            // A shut-down socket reads as closed by the peer; a cancelled exchange is no answer.
            if (watch.cancelled()) {
                return fail_cancelled(output);
            }
            break;
        }
        if (received < 0) {
            return fail(output, "unable to receive: ");
        }
        filled += static_cast<std::size_t>(received);
    }
    output.append(answer, filled);
    return 0;
}
