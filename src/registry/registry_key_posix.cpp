#include "registry/registry_key.h"

#include "registry/wine_prefix_registry.h"

namespace {

constexpr registry_status status_invalid_handle = 6;

}  // namespace

struct Cregistry_key::open_key {
    wine_open_key places;
};

Cregistry_key::Cregistry_key() = default;

Cregistry_key::~Cregistry_key() = default;

registry_status Cregistry_key::open(registry_root root, const std::string& subkey,
                                    std::uint32_t /*access*/) {
    close();
    auto key = std::make_unique<open_key>();
    const registry_status status =
        Cwine_prefix_registry::instance().open(root, subkey, key->places);
    if (status == 0) {
        key_ = std::move(key);
    }
    return status;
}

registry_status Cregistry_key::query_bytes(const std::string& name, std::string& bytes) {
    if (key_ == nullptr) {
        return status_invalid_handle;
    }
    return Cwine_prefix_registry::query(key_->places, name, bytes);
}

registry_status Cregistry_key::close() {
    key_.reset();
    return 0;
}
