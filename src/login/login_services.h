#pragma once
#include "login/registry_access.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// What the login test needs from the system: the registry and one request/answer exchange.
class Clogin_services {
  public:
    virtual ~Clogin_services() = default;

    // A new handle that holds no key.
    virtual std::unique_ptr<Cregistry_handle> make_registry_handle() = 0;

    // Sends `request` to `host`:`port` and fills `output` with the "server:" line and the answer,
    // or with an error text. Returns 0 for a completed exchange, nonzero for a failed one.
    virtual int exchange_with_server(const std::string& host, std::int32_t port,
                                     std::string_view request, std::string& output) = 0;
};
