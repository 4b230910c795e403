#include "support/resolve_host.h"

#include "support/host_entry.h"
#include "support/tcp_socket.h"

#include <winsock2.h>

std::optional<std::uint32_t> look_up_host(const std::string& name) {
    // A lookup needs started sockets; the start is idempotent, so a caller need not know.
    winsock_startup();
    const hostent* entry = gethostbyname(name.c_str());
    if (entry == nullptr) {
        return std::nullopt;
    }
    return first_ipv4_address(entry->h_addrtype, entry->h_length, entry->h_addr_list);
}
