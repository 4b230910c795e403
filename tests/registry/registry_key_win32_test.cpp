// Cregistry_key against Wine's real registry: the states of the handle, and what only a program
// can write or provoke.
#include "registry/registry_key.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

using namespace std::string_literals;

namespace {

constexpr char test_key[] = "Software\\Westwood\\Nox";

// Writes one value into the 32-bit view of the test key.
void set_value(const char* name, DWORD type, const std::string& data) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, test_key, 0, nullptr, 0,
                              KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                             static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST(registry_key, drops_the_last_character_of_a_string_stored_without_its_nul) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, test_key, 0, nullptr, 0,
                              KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    // The registry adds the NUL a caller forgot to count when one follows the data: none does.
    const wchar_t text[] = L"abcd";
    ASSERT_EQ(RegSetValueExW(key, L"NoNul", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), 6),
              ERROR_SUCCESS);
    RegCloseKey(key);
    Cregistry_key handle;
    ASSERT_EQ(handle.open(registry_root::local_machine, test_key, key_read), 0);
    std::string value;
    EXPECT_EQ(handle.query_value("NoNul", value), 0);
    EXPECT_EQ(value, "ab");
}

TEST(registry_key, holds_no_key_after_a_failed_open_or_a_close) {
    Cregistry_key key;
    std::string value = "before";
    EXPECT_EQ(key.query_value("Text", value), ERROR_INVALID_HANDLE) << "no key held yet";
    ASSERT_EQ(key.open(registry_root::local_machine, test_key, key_read), 0);
    EXPECT_EQ(key.query_value("Missing", value), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(value, "before");
    EXPECT_EQ(key.open(registry_root::local_machine, "Software\\Westwood\\None", key_read),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key.query_value("Text", value), ERROR_INVALID_HANDLE);
    EXPECT_EQ(value, "before");
    EXPECT_EQ(key.close(), 0) << "nothing left to close";
    ASSERT_EQ(key.open(registry_root::local_machine, test_key, key_read), 0);
    EXPECT_EQ(key.close(), 0);
    EXPECT_EQ(key.close(), 0);
    EXPECT_EQ(key.query_value("Text", value), ERROR_INVALID_HANDLE);
}

// A value that grows between the size query and the read: the read fails with ERROR_MORE_DATA
// and the text stays as it was. A second thread keeps resizing the value to make that happen.
TEST(registry_key, reports_more_data_when_the_value_grows_between_the_two_reads) {
    const std::string small = "s\0"s, large = std::string(200, 'L') + '\0';
    set_value("Growing", REG_SZ, small);
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        HKEY key = nullptr;
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, test_key, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, &key);
        for (bool grow = true; !stop; grow = !grow) {
            const std::string& data = grow ? large : small;
            RegSetValueExA(key, "Growing", 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                           static_cast<DWORD>(data.size()));
        }
        RegCloseKey(key);
    });
    Cregistry_key key;
    ASSERT_EQ(key.open(registry_root::local_machine, test_key, key_read), 0);
    bool provoked = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!provoked && std::chrono::steady_clock::now() < deadline) {
        std::string value = "kept";
        const registry_status status = key.query_value("Growing", value);
        if (status == ERROR_MORE_DATA) {
            provoked = true;
            EXPECT_EQ(value, "kept");
        } else {
            ASSERT_EQ(status, 0);
            EXPECT_TRUE(value == "s" || value == large.substr(0, 200)) << value;
        }
    }
    stop = true;
    writer.join();
    if (!provoked) {
        GTEST_SKIP() << "the value never grew between the two reads within 20 seconds";
    }
}

}  // namespace
