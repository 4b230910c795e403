#include "app/wolapi_install_path.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

using namespace std::string_literals;

namespace {

// Writes or removes the API's key in the 32-bit view, as its installer would.
class wolapi_key {
  public:
    wolapi_key() { remove(); }
    ~wolapi_key() { remove(); }

    void set(DWORD type, const std::string& data) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Westwood\\WOLAPI", 0, nullptr, 0,
                                  KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(
            RegSetValueExA(key, "InstallPath", 0, type, reinterpret_cast<const BYTE*>(data.data()),
                           static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
        RegCloseKey(key);
    }
    void remove() {
        RegDeleteKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Westwood\\WOLAPI", KEY_WOW64_32KEY, 0);
    }
};

TEST(wolapi_install_path, reads_the_value_up_to_its_first_nul_within_260_bytes) {
    const std::string a259(259, 'a');
    const struct {
        DWORD type;
        std::string data;
        std::string expected;
    } cases[] = {
        {REG_SZ, "C:\\Westwood\\WOLAPI\\\0"s, "C:\\Westwood\\WOLAPI\\"},
        {REG_SZ, "C:\\a\0b\0"s, "C:\\a"},
        {REG_SZ, a259 + '\0', a259},
        {REG_BINARY, a259 + 'b', a259 + 'b'},
        {REG_SZ, a259 + "b\0"s, ""},
        {REG_BINARY, "C:\0\xFF"s, "C:"},
    };
    wolapi_key key;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data.size());
        key.set(c.type, c.data);
        EXPECT_EQ(wolapi_install_path(), c.expected);
    }
}

TEST(wolapi_install_path, is_empty_without_the_key_or_the_value) {
    wolapi_key key;
    EXPECT_EQ(wolapi_install_path(), "");
    HKEY created = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Westwood\\WOLAPI", 0, nullptr, 0,
                              KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &created, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(created);
    EXPECT_EQ(wolapi_install_path(), "");
}

}  // namespace
