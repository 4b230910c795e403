#pragma once
#include "registry/registry_key.h"

#include <cstdint>
#include <string>

// One handle of one open registry key, as the login lists use it: the real key, or a fake in
// tests. Statuses are the platform's numbers: 0 for success, 2 for a key or value that does not
// exist. Destroying the handle closes its key.
class Cregistry_handle {
  public:
    virtual ~Cregistry_handle() = default;

    // Closes any key the handle holds, then opens `subkey` below `root`.
    virtual registry_status open(registry_root root, const std::string& subkey,
                                 std::uint32_t access) = 0;

    // Reads a value as text (an empty name reads the default value); `value` is written only
    // on success.
    virtual registry_status query_value(const std::string& name, std::string& value) = 0;

    virtual registry_status close() = 0;
};
