#pragma once
#include <xcb/xcb.h>

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

// An X client that asks a process's windows whether they still respond, as a desktop does: it
// sends each top-level window that takes _NET_WM_PING the ping and waits for the answer the
// window sends back to the root window. The answer goes only to the window manager, so the
// client is one, a plain one: every window is mapped and configured as it asks, while the client
// serves its events (in each call below).
class Cping_client {
  public:
    // Connects to $DISPLAY; connected() tells whether that worked.
    Cping_client();
    ~Cping_client();
    Cping_client(const Cping_client&) = delete;
    Cping_client& operator=(const Cping_client&) = delete;

    bool connected() const { return connection_ != nullptr; }

    // The mapped top-level windows of process `pid` that take the ping.
    std::vector<xcb_window_t> windows_of(pid_t pid);

    // Pings every such window of `pid` each `interval` for `duration` and returns the longest a
    // ping waited for its answer; a ping still unanswered at the end counts with its wait so far.
    std::chrono::milliseconds longest_answer(pid_t pid, std::chrono::milliseconds duration,
                                             std::chrono::milliseconds interval);

    // Asks a window to close, as a close box does.
    void close(xcb_window_t window);

  private:
    xcb_atom_t atom(const char* name);
    // Grants the requests that come to the window manager; hands each ping answer to `answered`.
    void serve_events(const std::function<void(std::uint32_t stamp)>& answered);
    bool takes_ping(xcb_window_t window);
    std::uint32_t cardinal(xcb_window_t window, xcb_atom_t property);
    void send_protocol_message(xcb_window_t window, xcb_atom_t protocol, std::uint32_t stamp);

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
    xcb_atom_t protocols_ = 0;
    xcb_atom_t ping_ = 0;
    xcb_atom_t delete_window_ = 0;
    xcb_atom_t pid_ = 0;
};
