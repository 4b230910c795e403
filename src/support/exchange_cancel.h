#pragma once
#include "support/tcp_socket.h"

#include <mutex>

// Ends an exchange that runs on another thread: the socket it waits on is shut down, so that a
// connect or receive returns at once, and an exchange not yet begun fails before it connects.
// Once cancelled it stays cancelled.
class Cexchange_cancel {
  public:
    void cancel();
    bool cancelled();

  private:
    friend class Cwatched_socket;

    std::mutex mutex_;
    bool cancelled_ = false;
    native_socket watched_ = invalid_socket;
};

// Lets a cancel reach `socket` for as long as it lives; it must go before the socket is closed,
// so that a cancel never shuts down a descriptor the system has given to someone else.
class Cwatched_socket {
  public:
    // With no cancel (null) nothing is watched.
    Cwatched_socket(Cexchange_cancel* cancel, native_socket socket);
    ~Cwatched_socket();
    Cwatched_socket(const Cwatched_socket&) = delete;
    Cwatched_socket& operator=(const Cwatched_socket&) = delete;

    // Whether the exchange has been cancelled, before the socket came under watch or since.
    bool cancelled() const { return cancel_ != nullptr && cancel_->cancelled(); }

  private:
    Cexchange_cancel* cancel_;
};
