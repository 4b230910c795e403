#pragma once
#include "support/exchange_cancel.h"
#include "support/resolve_host.h"
#include "support/socket_error.h"
#include "support/tcp_socket.h"

#include <cstdint>
#include <string>
#include <string_view>

// One blocking request/answer exchange: connects to `host` on the low 16 bits of `port`, sends
// `request` with one send call and reads until the server closes or 4,096 bytes have come.
// `output` becomes a "server:" line naming the host, port and resolved address, followed by the
// answer (0 is returned) or by an error text (1 is returned). Only when no socket could be made
// does `output` keep what it held, with the error text appended. With a `cancel`, another thread
// may end the exchange; a cancelled one fails.
int exchange_with_server(const std::string& host, std::int32_t port, std::string_view request,
                         std::string& output, Cexchange_cancel* cancel = nullptr);
