// Starts ketrin_client.exe from the unpacked release archive, as a user who has just unzipped it
// would, and closes it again.
#include <windows.h>

#include <gtest/gtest.h>

#include "fixtures/built_programs.h"
#include "win32/e2e_windows.h"

#include <chrono>
#include <optional>

namespace {

using namespace std::chrono_literals;

// The archive unpacks into one folder named after its version.
std::wstring unpacked_folder() {
    const std::wstring directory = built_program("KETRIN_ARCHIVE_DIR");
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((directory + L"\\ketrin-client-*").c_str(), &found);
    if (directory.empty() || search == INVALID_HANDLE_VALUE) {
        return {};
    }
    FindClose(search);
    return directory + L"\\" + found.cFileName;
}

TEST(unpacked_archive, client_opens_its_window_and_ends_with_success_when_it_is_closed) {
    const std::wstring folder = unpacked_folder();
    ASSERT_FALSE(folder.empty()) << "KETRIN_ARCHIVE_DIR holds no unpacked ketrin-client-* folder";
    Cstarted_program client(folder + L"\\ketrin_client.exe");
    ASSERT_TRUE(client.started()) << "cannot start ketrin_client.exe in " << narrow(folder);

    const HWND window = find_window(client.id(), L"Ketrin Client", 30s);
    ASSERT_NE(window, nullptr) << "no \"Ketrin Client\" window appeared";
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(client.exit_code_within(30s), std::optional<DWORD>(0));
}

}  // namespace
