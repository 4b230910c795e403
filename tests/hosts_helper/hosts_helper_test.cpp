#include "fixtures/isolation.h"
#include "fixtures/test_files.h"
#include "hosts_helper/refused_helper_arguments.h"
#include "hosts_helper/helper_command.h"
#include "support/fixed_texts.h"
#include "support/resolve_host.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

extern char** environ;

namespace {

const std::string start_text =
    "127.0.0.1 localhost\n198.51.100.4 " + std::string(chat_host) + "\n# kept as it is\n";

struct helper_run {
    int exit_code = -1;
    std::string error_output;
};

// Runs the built helper with `arguments` and collects what it says on standard error.
helper_run run_helper(std::vector<std::string> arguments) {
    std::vector<char*> argv{const_cast<char*>(KETRIN_HOSTS_HELPER)};
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    int error_pipe[2];
    helper_run run;
    if (::pipe(error_pipe) != 0) {
        return run;
    }
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, error_pipe[1], STDERR_FILENO);
    ::posix_spawn_file_actions_addclose(&actions, error_pipe[0]);
    pid_t child = 0;
    const int started = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(error_pipe[1]);
    char buffer[256];
    ssize_t got = 0;
    while ((got = ::read(error_pipe[0], buffer, sizeof buffer)) > 0) {
        run.error_output.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(error_pipe[0]);
    int status = 0;
    if (started == 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)) {
        run.exit_code = WEXITSTATUS(status);
    }
    return run;
}

class hosts_helper : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(hosts_file_is_private())
            << "run inside tests/fixtures/isolated: the helper rewrites /etc/hosts";
        put_file_bytes("/etc/hosts", start_text);
        ASSERT_EQ(file_bytes("/etc/hosts"), start_text);
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

}  // namespace
