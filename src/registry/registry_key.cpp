#include "registry/registry_key.h"

registry_status Cregistry_key::query_value(const std::string& name, std::string& value) {
    std::string bytes;
    const registry_status status = query_bytes(name, bytes);
    if (status == 0) {
        // The last byte is taken to be a string's terminating NUL, whatever the type.
        value.assign(bytes, 0, bytes.empty() ? 0 : bytes.size() - 1);
    }
    return status;
}
