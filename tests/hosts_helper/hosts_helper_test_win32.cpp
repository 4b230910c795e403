// The Windows hosts helper run as a program under Wine, on the test's own /etc/hosts: what it
// refuses, what it rewrites, and how it asks Windows for its rights.
#include "fixtures/built_programs.h"
#include "fixtures/isolation.h"
#include "fixtures/pe_image.h"
#include "fixtures/test_files.h"
#include "hosts/hosts_file.h"
#include "hosts_helper/refused_helper_arguments.h"
#include "support/fixed_texts.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

const std::string start_text =
    "127.0.0.1 localhost\n198.51.100.4 " + std::string(chat_host) + "\n# kept as it is\n";

const std::wstring& helper_program() {
    static const std::wstring path = built_program("KETRIN_HOSTS_HELPER_EXE");
    return path;
}

std::wstring wide(const std::string& text) {
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                        size);
    return result;
}

// Starts the helper with exactly this command line and returns its exit code, none when it did
// not start or end within a minute.
std::optional<DWORD> run_helper(const std::wstring& command_line) {
    std::wstring line = command_line;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(helper_program().c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return std::nullopt;
    }
    CloseHandle(process.hThread);
    DWORD code = 0;
    const bool ended = WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0 &&
                       GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    return ended ? std::optional<DWORD>(code) : std::nullopt;
}

std::wstring quoted_helper() {
    return L"\"" + helper_program() + L"\"";
}

class hosts_helper : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(hosts_file_is_private())
            << "run inside tests/fixtures/isolated: the helper rewrites /etc/hosts";
        ASSERT_FALSE(helper_program().empty()) << "KETRIN_HOSTS_HELPER_EXE must name the helper";
        put_file_bytes(hosts_file_path(), start_text);
    }
};

TEST_F(hosts_helper, refuses_with_exit_2_every_command_line_the_program_does_not_write) {
    std::vector<std::wstring> lines = {
        L"",
        quoted_helper(),
        // Full-width digits, which the ANSI code page would map to ASCII ones.
        quoted_helper() + L" apply \xFF11.\xFF12.\xFF13.\xFF14",
    };
    for (const std::string& tail : refused_command_line_tails()) {
        lines.push_back(quoted_helper() + L" " + wide(tail));
    }
    for (const std::wstring& line : lines) {
        SCOPED_TRACE(narrow(line));
        EXPECT_EQ(run_helper(line), std::optional<DWORD>(2));
        EXPECT_EQ(file_bytes(hosts_file_path()), start_text);
    }
}

TEST_F(hosts_helper, rewrites_the_hosts_file_exactly_as_the_program_does_and_exits_0) {
    const struct {
        std::wstring arguments;
        std::string address;
        std::string hosts_after;
    } cases[] = {
        {L"reset", "", "127.0.0.1 localhost\n# kept as it is\n"},
        {L"apply 10.20.30.40", "10.20.30.40",
         "127.0.0.1 localhost\n# kept as it is\n10.20.30.40 " + std::string(chat_host) +
             "\n10.20.30.40 " + server_list_host + "\n"},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(narrow(example.arguments));
        ASSERT_EQ(update_hosts_file(hosts_file_path(), example.address), 0);
        const std::string by_the_program = file_bytes(hosts_file_path());
        put_file_bytes(hosts_file_path(), start_text);

        EXPECT_EQ(run_helper(quoted_helper() + L" " + example.arguments), std::optional<DWORD>(0));
        EXPECT_EQ(file_bytes(hosts_file_path()), by_the_program);
        EXPECT_EQ(by_the_program, example.hosts_after);
        put_file_bytes(hosts_file_path(), start_text);
    }
    // The program name as a shell may write it, without quotes.
    EXPECT_EQ(run_helper(helper_program() + L" reset"), std::optional<DWORD>(0));
    EXPECT_EQ(file_bytes(hosts_file_path()), cases[0].hosts_after);
}

TEST(hosts_helper_image, asks_for_the_administrators_rights_and_opens_no_console) {
    const std::string path = narrow(helper_program());
    const std::string manifest = program_manifest(path);
    ASSERT_FALSE(manifest.empty()) << path;
    EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
    EXPECT_EQ(manifest.find("asInvoker"), std::string::npos);
    const Cpe_image image(path);
    ASSERT_TRUE(image.valid());
    EXPECT_EQ(image.subsystem(), IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

}  // namespace
