#include "registry/registry_key.h"

#include <windows.h>

#include <vector>

namespace {

HKEY root_handle(registry_root root) {
    return root == registry_root::classes_root ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
}

}  // namespace

struct Cregistry_key::open_key {
    HKEY handle;
};

Cregistry_key::Cregistry_key() = default;

Cregistry_key::~Cregistry_key() {
    close();
}

registry_status Cregistry_key::open(registry_root root, const std::string& subkey,
                                    std::uint32_t access) {
    close();
    // The games are 32-bit programs: their keys live in the 32-bit view of the registry.
    HKEY key = nullptr;
    const LONG status =
        RegOpenKeyExA(root_handle(root), subkey.c_str(), 0, access | KEY_WOW64_32KEY, &key);
    if (status == ERROR_SUCCESS) {
        key_ = std::make_unique<open_key>(open_key{key});
    }
    return status;
}

registry_status Cregistry_key::query_bytes(const std::string& name, std::string& bytes) {
    const HKEY key = key_ != nullptr ? key_->handle : nullptr;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, &size);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (size == 0) {
        bytes.clear();
        return ERROR_SUCCESS;
    }
    std::vector<BYTE> buffer(size, 0);
    status = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, buffer.data(), &size);
    if (status == ERROR_SUCCESS) {
        bytes.assign(buffer.begin(), buffer.begin() + size);
    }
    return status;
}

registry_status Cregistry_key::close() {
    if (key_ == nullptr) {
        return ERROR_SUCCESS;
    }
    const LONG status = RegCloseKey(key_->handle);
    key_.reset();
    return status;
}
