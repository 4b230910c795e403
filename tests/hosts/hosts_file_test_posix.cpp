#include "hosts/hosts_file.h"

#include "hosts/hosts_test_files.h"
#include "support/fixed_texts.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <grp.h>
#include <map>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

std::string file_text(std::string_view lf_text) {
    return std::string(lf_text);
}

namespace {

namespace fs = std::filesystem;
using strings = std::vector<std::string>;

constexpr uid_t nobody = 65534;
const std::string chat{chat_host};
const std::string applied_pair =
    "192.0.2.10 " + chat + "\n192.0.2.10 " + std::string(server_list_host) + "\n";

// Runs the rewrite in a child process with the rights of an unprivileged user. A child that
// cannot drop its rights exits with 99, which no test expects.
int update_as_nobody(const std::string& path, const std::string& address) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0) {
            ::_exit(99);
        }
        ::_exit(update_hosts_file(path, address));
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

struct stat status_of(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        ADD_FAILURE() << "no file " << path;
    }
    return status;
}

// Every extended attribute of a file, name to value.
std::map<std::string, std::string> attributes_of(const std::string& path) {
    std::map<std::string, std::string> attributes;
    std::string names(
        static_cast<std::size_t>(std::max<ssize_t>(::listxattr(path.c_str(), nullptr, 0), 0)),
        '\0');
    names.resize(static_cast<std::size_t>(
        std::max<ssize_t>(::listxattr(path.c_str(), names.data(), names.size()), 0)));
    for (std::size_t at = 0; at < names.size(); at = names.find('\0', at) + 1) {
        const std::string name = names.c_str() + at;
        std::string value(static_cast<std::size_t>(std::max<ssize_t>(
                              ::getxattr(path.c_str(), name.c_str(), nullptr, 0), 0)),
                          '\0');
        value.resize(static_cast<std::size_t>(std::max<ssize_t>(
            ::getxattr(path.c_str(), name.c_str(), value.data(), value.size()), 0)));
        attributes[name] = value;
    }
    return attributes;
}

// A file with an access list that grants nobody writing, and a user attribute of odd bytes.
// Skips where the file system of the scratch directory holds neither.
void give_acl_and_user_attribute(const std::string& path) {
    const std::string value("odd\0\xff bytes", 11);
    if (::setxattr(path.c_str(), "user.ketrin", value.data(), value.size(), 0) != 0 ||
        std::system(("setfacl -m u:65534:rw '" + path + "'").c_str()) != 0) {
        GTEST_SKIP() << "the scratch file system holds no user attributes or access lists";
    }
}

TEST(hosts_file_path, is_the_system_hosts_file) {
    EXPECT_EQ(hosts_file_path(), "/etc/hosts");
}

TEST(update_hosts_file, keeps_bytes_as_they_are) {
    Cscratch_directory directory;
    const std::string hosts = directory / "hosts";
    put_file_bytes(hosts, "a b\r\n\x1a c\r\nx\ry\r\n1.2.3.4 " + chat + "\r\nlast");
    EXPECT_EQ(update_hosts_file(hosts, ""), 0);
    EXPECT_EQ(file_bytes(hosts), "a b\r\n\x1a c\r\nx\ry\r\nlast\n");
}

TEST(update_hosts_file, keeps_mode_and_owner_when_it_swaps_the_file) {
    Cscratch_directory directory;
    const std::string hosts = directory / "hosts";
    put_file_bytes(hosts, "127.0.0.1 localhost\n");
    ASSERT_EQ(::chown(hosts.c_str(), nobody, nobody), 0);
    ASSERT_EQ(::chmod(hosts.c_str(), 0640), 0);
    const struct stat before = status_of(hosts);

    EXPECT_EQ(update_hosts_file(hosts, "192.0.2.10"), 0);
    const struct stat after = status_of(hosts);
    EXPECT_NE(after.st_ino, before.st_ino) << "the file was not swapped";
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_uid, nobody);
    EXPECT_EQ(after.st_gid, nobody);
    EXPECT_EQ(file_bytes(hosts), "127.0.0.1 localhost\n" + applied_pair);
    EXPECT_EQ(names_in(directory.path()), strings{"hosts"});
}

TEST(update_hosts_file, rewrites_in_place_when_the_owner_could_not_be_kept) {
    // The user may write the file and make files beside it, but a swapped-in file would be
    // the user's own.
    Cscratch_directory directory;
    const std::string hosts = directory / "hosts";
    ASSERT_EQ(::chmod(directory.path().c_str(), 0777), 0);
    put_file_bytes(hosts, "127.0.0.1 localhost\n");
    ASSERT_EQ(::chmod(hosts.c_str(), 0666), 0);
    const struct stat before = status_of(hosts);

    EXPECT_EQ(update_as_nobody(hosts, "192.0.2.10"), 0);
    const struct stat after = status_of(hosts);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, 0u);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(file_bytes(hosts), "127.0.0.1 localhost\n" + applied_pair);
    EXPECT_EQ(names_in(directory.path()), strings{"hosts"});
}

TEST(update_hosts_file, carries_every_extended_attribute_when_it_swaps_the_file) {
    Cscratch_directory directory;
    const std::string hosts = directory / "hosts";
    put_file_bytes(hosts, "127.0.0.1 localhost\n");
    give_acl_and_user_attribute(hosts);
    const auto before = attributes_of(hosts);
    ASSERT_EQ(before.count("system.posix_acl_access"), 1u);
    ASSERT_EQ(before.count("user.ketrin"), 1u);
    const struct stat status = status_of(hosts);

    EXPECT_EQ(update_hosts_file(hosts, "192.0.2.10"), 0);
    EXPECT_NE(status_of(hosts).st_ino, status.st_ino) << "the file was not swapped";
    EXPECT_EQ(status_of(hosts).st_mode, status.st_mode);
    EXPECT_EQ(attributes_of(hosts), before);
    EXPECT_EQ(file_bytes(hosts), "127.0.0.1 localhost\n" + applied_pair);
    EXPECT_EQ(names_in(directory.path()), strings{"hosts"});
}

TEST(update_hosts_file, rewrites_in_place_when_an_attribute_cannot_be_carried) {
    // Only the administrator may set a security attribute: the user's own swapped-in file could
    // not carry it.
    Cscratch_directory directory;
    const std::string hosts = directory / "hosts";
    ASSERT_EQ(::chmod(directory.path().c_str(), 0777), 0);
    put_file_bytes(hosts, "127.0.0.1 localhost\n");
    ASSERT_EQ(::chown(hosts.c_str(), nobody, nobody), 0);
    if (::setxattr(hosts.c_str(), "security.ketrin", "label", 5, 0) != 0) {
        GTEST_SKIP() << "the scratch file system holds no security attributes";
    }
    const auto before = attributes_of(hosts);
    const struct stat status = status_of(hosts);

    EXPECT_EQ(update_as_nobody(hosts, "192.0.2.10"), 0);
    EXPECT_EQ(status_of(hosts).st_ino, status.st_ino) << "the file was swapped";
    EXPECT_EQ(attributes_of(hosts), before);
    EXPECT_EQ(file_bytes(hosts), "127.0.0.1 localhost\n" + applied_pair);
    EXPECT_EQ(names_in(directory.path()), strings{"hosts"});
}

TEST(update_hosts_file, fails_without_the_right_to_read_or_write) {
    const struct {
        const char* behaviour;
        mode_t mode;
    } cases[] = {{"no right to write", 0644},
                 {"no right to read, but to write", 0002},
                 {"no right at all", 0000}};
    for (const auto& example : cases) {
        Cscratch_directory directory;
        const std::string hosts = directory / "hosts";
        put_file_bytes(hosts, "127.0.0.1 localhost\n1.2.3.4 " + chat + "\n");
        ASSERT_EQ(::chmod(hosts.c_str(), example.mode), 0);
        EXPECT_EQ(update_as_nobody(hosts, "192.0.2.10"), 1) << example.behaviour;
        EXPECT_EQ(file_bytes(hosts), "127.0.0.1 localhost\n1.2.3.4 " + chat + "\n")
            << example.behaviour;
        EXPECT_EQ(names_in(directory.path()), strings{"hosts"}) << example.behaviour;
    }
}

TEST(update_hosts_file, writes_through_a_symbolic_link) {
    const struct {
        const char* behaviour;
        bool target_exists;
    } cases[] = {{"link to a file", true}, {"link to no file yet", false}};
    for (const auto& example : cases) {
        Cscratch_directory directory;
        fs::create_directory(directory.path() / "real");
        fs::create_symlink("real/hosts", directory.path() / "link");
        if (example.target_exists) {
            put_file_bytes(directory / "real/hosts", "127.0.0.1 localhost\n");
        }
        EXPECT_EQ(update_hosts_file(directory / "link", "192.0.2.10"), 0) << example.behaviour;
        ASSERT_TRUE(fs::is_symlink(directory.path() / "link")) << example.behaviour;
        EXPECT_EQ(fs::read_symlink(directory.path() / "link"), "real/hosts");
        EXPECT_EQ(file_bytes(directory / "real/hosts"),
                  (example.target_exists ? "127.0.0.1 localhost\n" : "") + applied_pair)
            << example.behaviour;
        EXPECT_EQ(names_in(directory.path() / "real"), strings{"hosts"}) << example.behaviour;
        EXPECT_EQ(names_in(directory.path()), (strings{"link", "real"})) << example.behaviour;
    }
}

// A writer that sends text and goes after a while, then comes by briefly until the rewrite is
// over: a reading that waits for writers then ends instead of blocking the test for ever (the
// old one took the text and put a regular file in the pipe's place).
TEST(update_hosts_file, leaves_a_named_pipe_alone_at_once) {
    Cscratch_directory directory;
    const std::string hosts = directory / "hosts";
    ASSERT_EQ(::mkfifo(hosts.c_str(), 0644), 0);
    const int writer = ::open(hosts.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    const std::string text = "1.2.3.4 " + chat + "\n";
    ASSERT_EQ(::write(writer, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    std::atomic<bool> over{false};
    std::thread goes_later([writer, &hosts, &over] {
        std::this_thread::sleep_for(std::chrono::seconds(2));
        ::close(writer);
        while (!over) {
            const int visit = ::open(hosts.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (visit >= 0) {
                ::close(visit);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });

    EXPECT_EQ(update_hosts_file(hosts, "192.0.2.10"), 1);

    over = true;
    goes_later.join();
    EXPECT_TRUE(S_ISFIFO(status_of(hosts).st_mode));
    EXPECT_EQ(names_in(directory.path()), strings{"hosts"});
}

}  // namespace
