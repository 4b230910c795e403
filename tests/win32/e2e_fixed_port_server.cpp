#include "win32/e2e_fixed_port_server.h"

#include "fixtures/loopback_socket.h"

#include <winsock2.h>

#include <utility>

namespace {

native_socket listen_on_loopback_port(std::uint16_t port) {
    winsock_startup();
    const SOCKET listener = ::socket(AF_INET, SOCK_STREAM, 0);
    if (listener == INVALID_SOCKET) {
        return invalid_socket;
    }
    // The connections of an earlier test still hold the port while they wait out their close.
    const BOOL reuse = TRUE;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse),
                 sizeof reuse);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    local.sin_port = htons(port);
    if (::bind(listener, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        ::listen(listener, 16) != 0) {
        closesocket(listener);
        return invalid_socket;
    }
    return listener;
}

}  // namespace

Cfixed_port_server::Cfixed_port_server(std::uint16_t port,
                                       std::vector<Cloopback_server::script> scripts)
    : port_(port), listener_(listen_on_loopback_port(port)) {
    if (listening()) {
        thread_ = std::thread(&Cfixed_port_server::serve, this, std::move(scripts));
    }
}

Cfixed_port_server::~Cfixed_port_server() {
    if (thread_.joinable()) {
        // A connection of our own wakes a server still waiting to accept, so it can stop.
        stopping_ = true;
        Ctcp_socket waker;
        waker.open();
        waker.connect(loopback_address(), network_order(port_));
        thread_.join();
    }
}

std::vector<std::string> Cfixed_port_server::finish() {
    if (thread_.joinable()) {
        thread_.join();
    }
    return received_;
}

void Cfixed_port_server::serve(std::vector<Cloopback_server::script> scripts) {
    for (auto& run : scripts) {
        const native_socket accepted = accept_connection(listener_.get(), server_patience);
        if (accepted == invalid_socket) {
            return;
        }
        Cloopback_connection connection{Ctcp_socket(accepted)};
        if (stopping_) {
            return;
        }
        run(connection);
        received_.push_back(connection.received());
    }
}
