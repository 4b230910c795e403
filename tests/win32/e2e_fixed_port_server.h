#pragma once
// The server-list service stands at a port fixed in the program under test, so unlike the
// loopback test server, whose port the system picks, this one listens where it is told.
#include "fixtures/loopback_server.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

// Serves one connection per script on 127.0.0.1:`port`, in order, on its own thread; a script
// gets the same connection object the loopback test server hands out.
class Cfixed_port_server {
  public:
    Cfixed_port_server(std::uint16_t port, std::vector<Cloopback_server::script> scripts);
    ~Cfixed_port_server();
    Cfixed_port_server(const Cfixed_port_server&) = delete;
    Cfixed_port_server& operator=(const Cfixed_port_server&) = delete;

    // False when the port could not be taken; the server then serves nothing.
    bool listening() const { return listener_.get() != invalid_socket; }
    // Waits until every script has run (or no connection came in time) and returns what each
    // served connection received, in order.
    std::vector<std::string> finish();

  private:
    void serve(std::vector<Cloopback_server::script> scripts);

    std::uint16_t port_;
    Ctcp_socket listener_;
    std::atomic<bool> stopping_{false};
    std::vector<std::string> received_;
    std::thread thread_;
};
