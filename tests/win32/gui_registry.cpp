#include "gui_registry.h"

#include <stdexcept>

namespace {

constexpr REGSAM view_32bit = KEY_WOW64_32KEY;

void delete_32bit_tree(HKEY root, const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS | view_32bit, &key) != ERROR_SUCCESS) {
        return;
    }
    RegDeleteTreeA(key, nullptr);
    RegCloseKey(key);
    RegDeleteKeyExA(root, path, view_32bit, 0);
}

HKEY create(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE | view_32bit, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        throw std::runtime_error("cannot create registry key " + path);
    }
    return key;
}

}  // namespace

void clear_game_registry() {
    delete_32bit_tree(HKEY_LOCAL_MACHINE, "Software\\Westwood");
    delete_32bit_tree(HKEY_CLASSES_ROOT, "Wchat");
}

void create_32bit_key(HKEY root, const std::string& key) {
    RegCloseKey(create(root, key));
}

void write_32bit_string(HKEY root, const std::string& key, const std::string& name,
                        const std::string& data) {
    HKEY handle = create(root, key);
    const LONG status =
        RegSetValueExA(handle, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
    RegCloseKey(handle);
    if (status != ERROR_SUCCESS) {
        throw std::runtime_error("cannot write registry value " + key + "\\" + name);
    }
}

void store_account(int number, const std::string& nick, const std::string& password) {
    const std::string keys = "Wchat\\Nick" + std::to_string(number);
    write_32bit_string(HKEY_CLASSES_ROOT, keys + "\\Nick", "", nick + '\0');
    write_32bit_string(HKEY_CLASSES_ROOT, keys + "\\Pass", "", password + '\0');
}
