#include "support/exchange_cancel.h"

void Cexchange_cancel::cancel() {
    const std::lock_guard<std::mutex> lock(mutex_);
    cancelled_ = true;
    if (watched_ != invalid_socket) {
        Ctcp_socket::shut_down(watched_);
    }
}

bool Cexchange_cancel::cancelled() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return cancelled_;
}

Cwatched_socket::Cwatched_socket(Cexchange_cancel* cancel, native_socket socket) : cancel_(cancel) {
    if (cancel_ != nullptr) {
        const std::lock_guard<std::mutex> lock(cancel_->mutex_);
        cancel_->watched_ = socket;
    }
}

Cwatched_socket::~Cwatched_socket() {
    if (cancel_ != nullptr) {
        const std::lock_guard<std::mutex> lock(cancel_->mutex_);
        cancel_->watched_ = invalid_socket;
    }
}
