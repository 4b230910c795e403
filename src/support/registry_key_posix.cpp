#include "support/registry_key.h"

#include "support/wine_prefix_registry.h"

namespace {

constexpr registry_status status_invalid_handle = 6;

}  // namespace

Cregistry_key::~Cregistry_key() {
    close();
}

registry_status Cregistry_key::open(registry_root root, const std::string& subkey,
                                    std::uint32_t /*access*/) {
    close();
    auto key = std::make_unique<wine_open_key>();
    const registry_status status = Cwine_prefix_registry::instance().open(root, subkey, *key);
    if (status == 0) {
        handle_ = key.release();
    }
    return status;
}

registry_status Cregistry_key::query_value(const std::string& name, std::string& value) {
    if (handle_ == nullptr) {
        return status_invalid_handle;
    }
    std::string data;
    const registry_status status =
        Cwine_prefix_registry::query(*static_cast<const wine_open_key*>(handle_), name, data);
    if (status == 0) {
        // The last byte is taken to be a string's terminating NUL, whatever the type.
        value.assign(data, 0, data.empty() ? 0 : data.size() - 1);
    }
    return status;
}

registry_status Cregistry_key::close() {
    delete static_cast<wine_open_key*>(handle_);
    handle_ = nullptr;
    return 0;
}
