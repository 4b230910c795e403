#include "hosts/hosts_file.h"
#include "hosts/wine_hosts_file.h"

#include "hosts/hosts_path_calls_win32.h"
#include "hosts/hosts_test_files.h"
#include "hosts/line_ends.h"
#include "support/fixed_texts.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>

std::string file_text(std::string_view lf_text) {
    return crlf_line_ends(lf_text);
}

namespace {

using strings = std::vector<std::string>;

const std::string chat{chat_host};
const std::string applied_pair =
    "192.0.2.10 " + chat + "\r\n192.0.2.10 " + std::string(server_list_host) + "\r\n";

// Another program's open handle on the file, closed when it goes.
class Cheld_open {
  public:
    Cheld_open(const std::string& path, DWORD share)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {
        EXPECT_NE(handle_, INVALID_HANDLE_VALUE) << "cannot open " << path;
    }
    ~Cheld_open() { CloseHandle(handle_); }
    Cheld_open(const Cheld_open&) = delete;
    Cheld_open& operator=(const Cheld_open&) = delete;

  private:
    HANDLE handle_;
};

TEST(hosts_file_path, on_windows_lies_under_the_system_directory) {
    char directory[MAX_PATH]{};
    ASSERT_NE(GetSystemDirectoryA(directory, sizeof(directory)), 0u);
    EXPECT_EQ(windows_hosts_file_path(), std::string(directory) + "\\drivers\\etc\\hosts");
}

// The test prefix maps the whole Unix file system to Z:, as every new prefix does.
TEST(hosts_file_path_under_wine, is_the_unix_hosts_file_on_the_drive_that_maps_it) {
    EXPECT_EQ(hosts_file_path(), "Z:\\etc\\hosts");
    EXPECT_TRUE(is_wine_unix_hosts_file("z:\\ETC\\hosts"));
    EXPECT_FALSE(is_wine_unix_hosts_file(windows_hosts_file_path()));
}

// Run only in a prefix where no drive leads to /etc (tests/fixtures/unmapped_prefix).
TEST(hosts_file_path_without_drive, is_the_windows_path) {
    EXPECT_EQ(wine_unix_hosts_path(), std::nullopt);
    EXPECT_EQ(hosts_file_path(), windows_hosts_file_path());
}

// What the three calls answer, for the fake calls below.
struct system_answers {
    bool version_known;
    DWORD platform;
    const char* directory;  // empty: the directory query fails
};
system_answers answers;
int directory_calls = 0;

UINT give_directory(LPSTR buffer, UINT size) {
    ++directory_calls;
    EXPECT_EQ(size, 256u);
    const std::size_t length = std::strlen(answers.directory);
    std::memcpy(buffer, answers.directory, std::min<std::size_t>(length, size));
    if (length < size) {
        buffer[length] = '\0';
    }
    return static_cast<UINT>(length);
}

const hosts_path_calls fake_calls{
    [](LPOSVERSIONINFOA version) -> BOOL {
        EXPECT_EQ(version->dwOSVersionInfoSize, 148u);
        version->dwPlatformId = answers.platform;
        return answers.version_known;
    },
    [](LPSTR buffer, UINT size) {
        EXPECT_EQ(answers.platform, DWORD{VER_PLATFORM_WIN32_NT}) << "asked the system directory";
        return give_directory(buffer, size);
    },
    [](LPSTR buffer, UINT size) {
        EXPECT_TRUE(answers.platform != VER_PLATFORM_WIN32_NT || !answers.version_known)
            << "asked the Windows directory";
        return give_directory(buffer, size);
    },
};

TEST(hosts_file_path, follows_the_family_of_the_system_and_falls_back_to_a_fixed_path) {
    const std::string full(256, 'd');
    const struct {
        system_answers answers;
        std::string path;
    } cases[] = {
        {{true, VER_PLATFORM_WIN32_NT, "C:\\WINDOWS\\system32"},
         "C:\\WINDOWS\\system32\\drivers\\etc\\hosts"},
        {{true, VER_PLATFORM_WIN32_WINDOWS, "C:\\WINDOWS"}, "C:\\WINDOWS\\hosts"},
        {{false, VER_PLATFORM_WIN32_NT, "C:\\WINDOWS"}, "C:\\WINDOWS\\hosts"},
        {{true, VER_PLATFORM_WIN32_WINDOWS, "C:\\"}, "C:\\\\hosts"},
        {{true, VER_PLATFORM_WIN32_NT, ""}, "c:\\windows\\hosts"},
        {{true, VER_PLATFORM_WIN32_WINDOWS, ""}, "c:\\windows\\hosts"},
        {{true, VER_PLATFORM_WIN32_NT, full.c_str()}, full + "\\drivers\\etc\\hosts"},
    };
    for (const auto& example : cases) {
        answers = example.answers;
        directory_calls = 0;
        EXPECT_EQ(hosts_file_path_from(fake_calls), example.path) << example.answers.directory;
        EXPECT_EQ(directory_calls, 1);
    }
}

TEST(update_hosts_file, translates_only_line_ends) {
    Cscratch_directory directory;
    const std::string hosts = directory / "hosts";
    put_file_bytes(hosts, "a b\r\n\x1a c\r\nx\ry\n1.2.3.4 " + chat + "\r\nlast");
    EXPECT_EQ(update_hosts_file(hosts, ""), 0);
    EXPECT_EQ(file_bytes(hosts), "a b\r\n\x1a c\r\nx\ry\r\nlast\r\n");
}

TEST(update_hosts_file, clears_the_read_only_attribute_for_good) {
    Cscratch_directory directory;
    const std::string hosts = directory / "hosts";
    put_file_bytes(hosts, "127.0.0.1 localhost\r\n");
    ASSERT_TRUE(SetFileAttributesA(hosts.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_NE(GetFileAttributesA(hosts.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);

    EXPECT_EQ(update_hosts_file(hosts, "192.0.2.10"), 0);
    EXPECT_EQ(GetFileAttributesA(hosts.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(file_bytes(hosts), "127.0.0.1 localhost\r\n" + applied_pair);
    EXPECT_EQ(names_in(directory.path()), strings{"hosts"});
}

TEST(update_hosts_file, keeps_every_attribute_but_read_only) {
    Cscratch_directory directory;
    const std::string hosts = directory / "hosts";
    put_file_bytes(hosts, "127.0.0.1 localhost\r\n");
    ASSERT_TRUE(SetFileAttributesA(
        hosts.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    const DWORD before = GetFileAttributesA(hosts.c_str());
    ASSERT_EQ(before & 7u, 7u);

    EXPECT_EQ(update_hosts_file(hosts, "192.0.2.10"), 0);
    EXPECT_EQ(GetFileAttributesA(hosts.c_str()), before & ~DWORD{FILE_ATTRIBUTE_READONLY});
    EXPECT_EQ(file_bytes(hosts), "127.0.0.1 localhost\r\n" + applied_pair);
    EXPECT_EQ(names_in(directory.path()), strings{"hosts"});
}

TEST(update_hosts_file, rewrites_in_place_a_file_another_program_holds_open) {
    Cscratch_directory directory;
    const std::string hosts = directory / "hosts";
    put_file_bytes(hosts, "127.0.0.1 localhost\r\n");
    Cheld_open editor(hosts, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_EQ(update_hosts_file(hosts, "192.0.2.10"), 0);
    EXPECT_EQ(file_bytes(hosts), "127.0.0.1 localhost\r\n" + applied_pair);
    EXPECT_EQ(names_in(directory.path()), strings{"hosts"});
}

TEST(update_hosts_file, fails_and_keeps_a_file_locked_by_another_program) {
    Cscratch_directory directory;
    const std::string hosts = directory / "hosts";
    put_file_bytes(hosts, "127.0.0.1 localhost\r\n");
    {
        Cheld_open locker(hosts, 0);
        EXPECT_EQ(update_hosts_file(hosts, "192.0.2.10"), 1);
    }
    EXPECT_EQ(file_bytes(hosts), "127.0.0.1 localhost\r\n");
    EXPECT_EQ(names_in(directory.path()), strings{"hosts"});
}

}  // namespace
