#pragma once
#include <cstdint>

// The platform's socket value: a Windows SOCKET, or a POSIX descriptor widened to the same type
// (descriptor -1 becomes invalid_socket).
using native_socket = std::uintptr_t;
inline constexpr native_socket invalid_socket = ~native_socket{0};

// Starts Windows Sockets 2.0 once per process; 1 if that start failed, else 0. Later calls return
// 0 at once, so a failed start is never retried. A no-op returning 0 where nothing needs starting.
int winsock_startup();

// A receive that waits this long without a byte fails with ETIMEDOUT: a peer that accepts and then
// stays silent must not hold the caller for ever.
inline constexpr int receive_time_limit_seconds = 30;

// Shares ownership of one socket between handles on one thread; the last holder to go closes it.
class Ctcp_socket {
  public:
    explicit Ctcp_socket(native_socket socket = invalid_socket);
    Ctcp_socket(const Ctcp_socket& other);
    Ctcp_socket& operator=(const Ctcp_socket& other);
    ~Ctcp_socket();

    // The held socket, or invalid_socket when the handle is empty.
    native_socket get() const;

    // Replaces what the handle holds with a new IPv4 stream socket whose receives wait at most
    // receive_time_limit_seconds; empty if creation failed.
    void open();
    // Both arguments in network byte order. 0 on success, -1 on failure.
    int connect(std::uint32_t address_network_order, std::uint16_t port_network_order);
    // One send call of [start, end): the number of bytes taken, or -1.
    int send(const char* start, const char* end);
    // One recv call into [start, end): bytes received, 0 when the peer has closed, or -1 (with
    // ETIMEDOUT as the last error when the time limit ran out).
    int recv(char* start, char* end);

    // Ends both directions of `socket` without closing it; a call blocked on it returns. Safe
    // from another thread while the socket is open.
    static void shut_down(native_socket socket);

  private:
    struct shared_record {
        native_socket socket;
        std::int32_t count;
    };

    static void close_socket(native_socket socket);
    void release();

    shared_record* shared_ = nullptr;
};
