#include "support/resolve_host.h"

#include "support/host_entry.h"

#include <netdb.h>

// The classic lookup, as on Windows: it takes the first matching line of the hosts file, where
// the newer one would gather every matching line and may reorder the addresses.
std::optional<std::uint32_t> look_up_host(const std::string& name) {
    const hostent* entry = gethostbyname(name.c_str());
    if (entry == nullptr) {
        return std::nullopt;
    }
    return first_ipv4_address(entry->h_addrtype, entry->h_length, entry->h_addr_list);
}
