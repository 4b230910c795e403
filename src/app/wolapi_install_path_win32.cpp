#include "app/wolapi_install_path.h"

#include <windows.h>

#include <cstring>

std::string wolapi_install_path() {
    HKEY key = nullptr;
    // The API's installer is a 32-bit program: its key is in the 32-bit view.
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, wolapi_key_path, 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY,
                      &key) != ERROR_SUCCESS) {
        return {};
    }
    char buffer[MAX_PATH] = {};
    DWORD size = sizeof buffer;
    const LONG status = RegQueryValueExA(key, "InstallPath", nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        return {};
    }
    const DWORD used = size < sizeof buffer ? size : sizeof buffer;
    return std::string(buffer, strnlen(buffer, used));
}
