#include "support/tcp_socket.h"

Ctcp_socket::Ctcp_socket(native_socket socket) {
    if (socket != invalid_socket) {
        shared_ = new shared_record{socket, 1};
    }
}

Ctcp_socket::Ctcp_socket(const Ctcp_socket& other) : shared_(other.shared_) {
    if (shared_ != nullptr) {
        ++shared_->count;
    }
}

Ctcp_socket& Ctcp_socket::operator=(const Ctcp_socket& other) {
    // Taking the new share first keeps the socket alive when a handle is assigned to itself.
    shared_record* const taken = other.shared_;
    if (taken != nullptr) {
        ++taken->count;
    }
    release();
    shared_ = taken;
    return *this;
}

Ctcp_socket::~Ctcp_socket() {
    release();
}

native_socket Ctcp_socket::get() const {
    return shared_ != nullptr ? shared_->socket : invalid_socket;
}

void Ctcp_socket::release() {
    if (shared_ != nullptr && --shared_->count == 0) {
        close_socket(shared_->socket);
        delete shared_;
    }
    shared_ = nullptr;
}
