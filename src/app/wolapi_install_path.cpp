#include "app/wolapi_install_path.h"

#include "registry/registry_key.h"

#include <cstring>

namespace {

// The buffer the value is read into: longer data does not fit and reads as none.
constexpr std::size_t path_buffer_size = 260;

}  // namespace

std::string wolapi_install_path() {
    Cregistry_key key;
    std::string bytes;
    if (key.open(registry_root::local_machine, wolapi_key_path, key_query_value) != 0 ||
        key.query_bytes("InstallPath", bytes) != 0 || bytes.size() > path_buffer_size) {
        return {};
    }
    return std::string(bytes.c_str(), strnlen(bytes.c_str(), bytes.size()));
}
