#include "hosts/hosts_file.h"

#include "hosts/hosts_test_files.h"
#include "hosts/line_ends.h"
#include "support/fixed_texts.h"

#include <gtest/gtest.h>

#include <windows.h>

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

TEST(HostsFilePath, LiesUnderTheSystemDirectory) {
    char directory[MAX_PATH]{};
    ASSERT_NE(GetSystemDirectoryA(directory, sizeof(directory)), 0u);
    EXPECT_EQ(hosts_file_path(), std::string(directory) + "\\drivers\\etc\\hosts");
}

TEST(UpdateHostsFile, TranslatesOnlyLineEnds) {
    Cscratch_directory directory;
    const std::string hosts = directory / "hosts";
    put_file_bytes(hosts, "a b\r\n\x1a c\r\nx\ry\n1.2.3.4 " + chat + "\r\nlast");
    EXPECT_EQ(update_hosts_file(hosts, ""), 0);
    EXPECT_EQ(file_bytes(hosts), "a b\r\n\x1a c\r\nx\ry\r\nlast\r\n");
}

TEST(UpdateHostsFile, ClearsTheReadOnlyAttributeForGood) {
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

TEST(UpdateHostsFile, KeepsEveryAttributeButReadOnly) {
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

TEST(UpdateHostsFile, RewritesInPlaceAFileAnotherProgramHoldsOpen) {
    Cscratch_directory directory;
    const std::string hosts = directory / "hosts";
    put_file_bytes(hosts, "127.0.0.1 localhost\r\n");
    Cheld_open editor(hosts, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_EQ(update_hosts_file(hosts, "192.0.2.10"), 0);
    EXPECT_EQ(file_bytes(hosts), "127.0.0.1 localhost\r\n" + applied_pair);
    EXPECT_EQ(names_in(directory.path()), strings{"hosts"});
}

TEST(UpdateHostsFile, FailsAndKeepsAFileLockedByAnotherProgram) {
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
