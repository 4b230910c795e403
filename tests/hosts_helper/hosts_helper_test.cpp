#include "fixtures/isolation.h"
#include "fixtures/test_files.h"
#include "hosts_helper/refused_helper_arguments.h"
#include "hosts_helper/helper_command.h"
#include "support/fixed_texts.h"
#include "support/resolve_host.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

const std::string start_text =
    "127.0.0.1 localhost\n198.51.100.4 " + std::string(chat_host) + "\n# kept as it is\n";

struct helper_run {
    int exit_code = -1;
    std::string error_output;
};

// The helper run with a time limit: a run that blocks is killed and counts as no exit at all.
struct limited_run {
    helper_run run;
    double seconds = 0;
};

// Runs the built helper with `arguments` and, when given, a file-size limit of the caller's
// own, and collects what it says on standard error.
limited_run run_helper_limited(std::vector<std::string> arguments,
                               std::optional<rlimit> file_size_limit = std::nullopt) {
    std::vector<char*> argv{const_cast<char*>(KETRIN_HOSTS_HELPER)};
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    limited_run made;
    int error_pipe[2];
    if (::pipe2(error_pipe, O_CLOEXEC) != 0) {
        return made;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::dup2(error_pipe[1], STDERR_FILENO) < 0 ||
            (file_size_limit && ::setrlimit(RLIMIT_FSIZE, &*file_size_limit) != 0)) {
            ::_exit(99);
        }
        ::execv(argv[0], argv.data());
        ::_exit(98);
    }
    ::close(error_pipe[1]);
    if (child < 0) {
        ::close(error_pipe[0]);
        return made;
    }
    const auto deadline = start + std::chrono::seconds(10);
    pollfd error_end{error_pipe[0], POLLIN, 0};
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || ::poll(&error_end, 1, static_cast<int>(left.count())) <= 0) {
            ::kill(child, SIGKILL);
            break;
        }
        char buffer[256];
        const ssize_t got = ::read(error_pipe[0], buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        made.run.error_output.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(error_pipe[0]);
    int status = 0;
    if (::waitpid(child, &status, 0) == child && WIFEXITED(status)) {
        made.run.exit_code = WEXITSTATUS(status);
    }
    made.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return made;
}

helper_run run_helper(std::vector<std::string> arguments) {
    return run_helper_limited(std::move(arguments)).run;
}

// /etc replaced, in the test's own mount namespace, by an empty file system of root's, so that
// /etc/hosts can be made any kind of file and nothing the helper makes beside it reaches the
// machine's own /etc. The loader's cache comes along for the helper.
class hosts_helper_in_a_scratch_etc : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(hosts_file_is_private()) << "run inside tests/fixtures/isolated";
        ASSERT_EQ(::geteuid(), 0u) << "the test makes a file system over /etc";
        const std::optional<std::string> loader_cache = file_bytes_if_readable("/etc/ld.so.cache");
        ASSERT_EQ(::mount("ketrin-etc", "/etc", "tmpfs", MS_NOSUID, "mode=0755,size=1g"), 0)
            << std::strerror(errno);
        mounted_ = true;
        if (loader_cache) {
            put_file_bytes("/etc/ld.so.cache", *loader_cache);
        }
    }
    void TearDown() override {
        if (mounted_) {
            ::umount2("/etc", MNT_DETACH);
        }
    }

    bool mounted_ = false;
};

// A file with the start text, as the system's own unless told otherwise: the helper rewrites
// nothing another user could change.
void root_file(const std::string& path, mode_t mode = 0644, uid_t owner = 0) {
    put_file_bytes(path, start_text);
    ASSERT_EQ(::chown(path.c_str(), owner, owner), 0);
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
}

class hosts_helper : public hosts_helper_in_a_scratch_etc {
  protected:
    void SetUp() override {
        hosts_helper_in_a_scratch_etc::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        root_file("/etc/hosts");
        put_file_bytes("/etc/passwd", "root:x:0:0:root:/root:/bin/sh\n");
    }
};

class hosts_helper_refuses : public hosts_helper,
                             public testing::WithParamInterface<refused_case> {};

TEST_P(hosts_helper_refuses, with_exit_2_one_line_and_no_change) {
    const std::string passwd_before = file_bytes("/etc/passwd");
    const helper_run run = run_helper(GetParam().arguments);
    EXPECT_EQ(run.exit_code, 2);
    ASSERT_FALSE(run.error_output.empty());
    EXPECT_EQ(run.error_output.find('\n'), run.error_output.size() - 1) << run.error_output;
    EXPECT_EQ(file_bytes("/etc/hosts"), start_text);
    EXPECT_EQ(file_bytes("/etc/passwd"), passwd_before);
}

INSTANTIATE_TEST_SUITE_P(argument_lists, hosts_helper_refuses,
                         testing::ValuesIn(refused_argument_lists),
                         [](const testing::TestParamInfo<refused_case>& info) {
                             return info.param.what;
                         });

struct accepted_case {
    const char* what;
    std::vector<std::string> arguments;
    std::string hosts_after;
};

class hosts_helper_rewrites : public hosts_helper,
                              public testing::WithParamInterface<accepted_case> {};

TEST_P(hosts_helper_rewrites, the_system_hosts_file_and_exits_0) {
    const helper_run run = run_helper(GetParam().arguments);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.error_output, "");
    EXPECT_EQ(file_bytes("/etc/hosts"), GetParam().hosts_after);
}

std::string pair_for(const std::string& address) {
    return address + " " + chat_host + "\n" + address + " " + server_list_host + "\n";
}

const std::string kept_lines = "127.0.0.1 localhost\n# kept as it is\n";

INSTANTIATE_TEST_SUITE_P(
    argument_lists, hosts_helper_rewrites,
    testing::Values(
        accepted_case{"reset", {"reset"}, kept_lines},
        accepted_case{"apply", {"apply", "10.20.30.40"}, kept_lines + pair_for("10.20.30.40")},
        accepted_case{"apply_zeros", {"apply", "0.0.0.0"}, kept_lines + pair_for("0.0.0.0")},
        accepted_case{"apply_all_bits",
                      {"apply", "255.255.255.255"},
                      kept_lines + pair_for("255.255.255.255")}),
    [](const testing::TestParamInfo<accepted_case>& info) { return info.param.what; });

TEST(helper_command, takes_every_address_the_program_writes_and_the_reset) {
    for (const std::uint32_t address : {0x00000000u, 0xFFFFFFFFu, 0x0A000001u, 0x6400A8C0u}) {
        const std::string text = address_text(address);
        std::vector<std::string> arguments = helper_arguments(text);
        EXPECT_EQ(address_from_helper_arguments({arguments.begin(), arguments.end()}), text);
    }
    const std::vector<std::string> reset = helper_arguments("");
    EXPECT_EQ(address_from_helper_arguments({reset.begin(), reset.end()}), "");
}

constexpr uid_t nobody = 65534;

// The names in a directory, sorted, but the loader's cache: a left-over temporary file shows.
std::vector<std::string> names_in(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        if (entry.path().filename() != "ld.so.cache") {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// What a test can see of everything under /etc without opening a pipe or a device: each
// name's kind, mode, owner, size, link target and its first bytes.
std::string etc_as_seen() {
    std::string seen;
    std::vector<std::string> lines;
    for (const auto& entry : std::filesystem::recursive_directory_iterator("/etc")) {
        struct stat status {};
        const std::string path = entry.path().string();
        ::lstat(path.c_str(), &status);
        std::string line = path + " mode " + std::to_string(status.st_mode) + " owner " +
                           std::to_string(status.st_uid) + " size " +
                           std::to_string(status.st_size);
        if (S_ISLNK(status.st_mode)) {
            line += " -> " + std::filesystem::read_symlink(path).string();
        } else if (S_ISREG(status.st_mode) && path != "/etc/ld.so.cache") {
            std::ifstream file(path, std::ios::binary);
            std::string start(256, '\0');
            file.read(start.data(), static_cast<std::streamsize>(start.size()));
            start.resize(static_cast<std::size_t>(file.gcount()));
            line += " starts " + start;
        }
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    for (const std::string& line : lines) {
        seen += line + "\n";
    }
    return seen;
}

void directory(const std::string& path, uid_t owner = 0) {
    ASSERT_EQ(::mkdir(path.c_str(), 0755), 0);
    ASSERT_EQ(::chown(path.c_str(), owner, owner), 0);
}

void link(const std::string& target, const std::string& path) {
    ASSERT_EQ(::symlink(target.c_str(), path.c_str()), 0);
}

struct odd_hosts_case {
    const char* what;
    std::function<void()> make;
};

class hosts_helper_refuses_the_file : public hosts_helper_in_a_scratch_etc,
                                      public testing::WithParamInterface<odd_hosts_case> {};

TEST_P(hosts_helper_refuses_the_file, at_once_with_exit_1_one_line_and_no_change) {
    GetParam().make();
    const std::string before = etc_as_seen();
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"reset"}, std::vector<std::string>{"apply", "10.20.30.40"}}) {
        const std::string& verb = arguments.front();
        const limited_run made = run_helper_limited(arguments);
        EXPECT_EQ(made.run.exit_code, 1) << verb;
        EXPECT_LT(made.seconds, 1.0) << verb;
        ASSERT_FALSE(made.run.error_output.empty()) << verb;
        EXPECT_EQ(made.run.error_output.find('\n'), made.run.error_output.size() - 1)
            << made.run.error_output;
        EXPECT_EQ(etc_as_seen(), before) << verb;
    }
}

INSTANTIATE_TEST_SUITE_P(
    kinds, hosts_helper_refuses_the_file,
    testing::Values(
        odd_hosts_case{"named_pipe", [] { ASSERT_EQ(::mkfifo("/etc/hosts", 0644), 0); }},
        odd_hosts_case{
            "endless_device",
            [] { ASSERT_EQ(::mknod("/etc/hosts", S_IFCHR | 0644, ::makedev(1, 5)), 0); }},
        odd_hosts_case{"sparse_300_MiB",
                       [] {
                           root_file("/etc/hosts");
                           std::filesystem::resize_file("/etc/hosts", std::size_t{300} << 20);
                       }},
        odd_hosts_case{"directory",
                       [] {
                           directory("/etc/hosts");
                           root_file("/etc/hosts/inside");
                       }},
        odd_hosts_case{"file_a_user_owns", [] { root_file("/etc/hosts", 0644, nobody); }},
        odd_hosts_case{"file_anyone_may_write", [] { root_file("/etc/hosts", 0666); }},
        odd_hosts_case{"link_into_a_directory_a_user_owns",
                       [] {
                           directory("/etc/user_owned", nobody);
                           root_file("/etc/user_owned/hosts");
                           link("user_owned/hosts", "/etc/hosts");
                       }},
        odd_hosts_case{"link_to_a_missing_file_in_a_directory_a_user_owns",
                       [] {
                           directory("/etc/user_owned", nobody);
                           link("/etc/user_owned/nologin", "/etc/hosts");
                       }},
        odd_hosts_case{"link_on_through_a_directory_a_user_owns",
                       [] {
                           directory("/etc/root_only");
                           directory("/etc/user_owned", nobody);
                           root_file("/etc/user_owned/hosts");
                           link("../user_owned/hosts", "/etc/root_only/onward");
                           link("root_only/onward", "/etc/hosts");
                       }}),
    [](const testing::TestParamInfo<odd_hosts_case>& info) { return info.param.what; });

TEST_F(hosts_helper_in_a_scratch_etc, follows_a_link_into_a_directory_only_root_may_change) {
    directory("/etc/root_only");
    root_file("/etc/root_only/hosts");
    link("root_only/hosts", "/etc/hosts");

    const limited_run made = run_helper_limited({"reset"});

    EXPECT_EQ(made.run.exit_code, 0) << made.run.error_output;
    EXPECT_EQ(std::filesystem::read_symlink("/etc/hosts"), "root_only/hosts");
    EXPECT_EQ(file_bytes("/etc/root_only/hosts"), kept_lines);
    EXPECT_EQ(names_in("/etc/root_only"), std::vector<std::string>{"hosts"});
}

// The caller's limit passes through pkexec. Where the helper cannot raise it, the write fails
// and the temporary file goes; where it can, the rewrite is made.
TEST_F(hosts_helper_in_a_scratch_etc, a_callers_file_size_limit_leaves_no_temporary_file) {
    const struct {
        const char* what;
        rlimit limit;
        int exit_code;
        std::string hosts_after;
    } cases[] = {{"hard_limit_0", {0, 0}, 1, start_text},
                 {"soft_limit_0", {0, RLIM_INFINITY}, 0, kept_lines}};
    for (const auto& example : cases) {
        root_file("/etc/hosts");
        const limited_run made = run_helper_limited({"reset"}, example.limit);
        EXPECT_EQ(made.run.exit_code, example.exit_code) << example.what;
        EXPECT_EQ(file_bytes("/etc/hosts"), example.hosts_after) << example.what;
        EXPECT_EQ(names_in("/etc"), std::vector<std::string>{"hosts"}) << example.what;
    }
}

}  // namespace
