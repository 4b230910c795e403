#include "support/registry_key.h"

#include <windows.h>

#include <vector>

namespace {

HKEY root_handle(registry_root root) {
    return root == registry_root::classes_root ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
}

}  // namespace

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
        handle_ = key;
    }
    return status;
}

registry_status Cregistry_key::query_value(const std::string& name, std::string& value) {
    const HKEY key = static_cast<HKEY>(handle_);
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, &size);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (size == 0) {
        value.clear();
        return ERROR_SUCCESS;
    }
    std::vector<BYTE> buffer(size, 0);
    status = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, buffer.data(), &size);
    if (status == ERROR_SUCCESS) {
        // The last byte is taken to be a string's terminating NUL, whatever the type.
        value.assign(reinterpret_cast<const char*>(buffer.data()), size > 0 ? size - 1 : 0);
    }
    return status;
}

registry_status Cregistry_key::close() {
    if (handle_ == nullptr) {
        return ERROR_SUCCESS;
    }
    const LONG status = RegCloseKey(static_cast<HKEY>(handle_));
    handle_ = nullptr;
    return status;
}
