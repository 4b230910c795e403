#include "app/wolapi_install_path.h"

#include "support/wine_prefix_registry.h"

#include <cstring>

namespace {

// The buffer the Windows build reads the value into: longer data does not fit and reads as none.
constexpr std::size_t path_buffer_size = 260;

}  // namespace

std::string wolapi_install_path() {
    Cwine_prefix_registry& registry = Cwine_prefix_registry::instance();
    wine_open_key key;
    std::string data;
    if (registry.open(registry_root::local_machine, wolapi_key_path, key) != 0 ||
        Cwine_prefix_registry::query(key, "InstallPath", data) != 0 ||
        data.size() > path_buffer_size) {
        return {};
    }
    return data.substr(0, std::strlen(data.c_str()));
}
