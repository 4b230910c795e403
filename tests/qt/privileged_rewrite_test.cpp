// Apply and Reset of the real dialog and platform services, run by a user who may not write
// /etc/hosts, with a real polkit (tests/fixtures/private_polkit) that grants or refuses the
// helper's action. The test itself runs as root only to set up and read the file; every command
// runs in a child process with the rights of nobody.
#include "app/main_dialog_model.h"
#include "app/platform_services.h"
#include "fixtures/child_process.h"
#include "qt/main_dialog.h"
#include "qt/qt_test_support.h"
#include "support/fixed_texts.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace {

constexpr uid_t nobody = 65534;
constexpr gid_t nogroup = 65534;
constexpr int child_failed = 100;
const std::string hosts = "/etc/hosts";
const std::string community_line = std::string("192.0.2.77 ") + community_server_list_host + "\n";
const std::string start_text = "127.0.0.1\tlocalhost\n" + community_line + "198.51.100.4 " +
                               server_list_host + "\n# kept as it is\n";
const std::string after_reset = "127.0.0.1\tlocalhost\n" + community_line + "# kept as it is\n";
const std::string after_apply =
    after_reset + "192.0.2.77 " + chat_host + "\n192.0.2.77 " + server_list_host + "\n";

struct command_run {
    std::string helper = KETRIN_HOSTS_HELPER;
    const char* path = nullptr;               // PATH for the command; null: as the test has it
    const char* working_directory = nullptr;  // null: the test's own
    const char* pkexec_stand_in = nullptr;    // bound over the program's pkexec; null: the real one
};

// The dialog carries out `command` as nobody; the exit code is the number of error boxes it
// showed, or child_failed when the child could not run it as asked.
int dialog_command_as_nobody(int command, const command_run& run = {}) {
    const pid_t child = ::fork();
    if (child == 0) {
        if ((run.pkexec_stand_in != nullptr &&
             !bind_privately(run.pkexec_stand_in, KETRIN_PKEXEC)) ||
            ::setgroups(0, nullptr) != 0 || ::setgid(nogroup) != 0 || ::setuid(nobody) != 0 ||
            (run.path != nullptr && ::setenv("PATH", run.path, 1) != 0) ||
            (run.working_directory != nullptr && ::chdir(run.working_directory) != 0)) {
            ::_exit(child_failed);
        }
        int argc = 1;
        char name[] = "qt_privileged_rewrite_test";
        char* argv[] = {name, nullptr};
        QApplication application(argc, argv);
        Cplatform_services services(run.helper);
        Cqt_main_dialog dialog(services);
        if (!settle_until_work_is_done()) {
            ::_exit(child_failed);
        }
        Cmodal_watch watch;
        dialog.on_command(command);
        if (!settle_until_work_is_done()) {
            ::_exit(child_failed);
        }
        int boxes = 0;
        for (const Cmodal_watch::seen& window : watch.windows) {
            const bool error = window.message_box && window.icon == QMessageBox::Critical &&
                               window.text == hosts_update_failed_text;
            boxes += error ? 1 : child_failed;
        }
        // The wait cursor is gone once the command is done.
        ::_exit(dialog.cursor().shape() != Qt::WaitCursor ? boxes : child_failed);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

class privileged_rewrite : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(hosts_file_is_private()) << "run inside tests/fixtures/isolated";
        ASSERT_EQ(::geteuid(), 0u) << "the test sets up /etc/hosts as root";
        put_file_bytes(hosts, start_text);
        set_owner_and_mode(0, 0644);
    }

    static void set_owner_and_mode(uid_t owner, mode_t mode) {
        ASSERT_EQ(::chown(hosts.c_str(), owner, owner), 0);
        ASSERT_EQ(::chmod(hosts.c_str(), mode), 0);
    }
};

using granted_polkit = privileged_rewrite;
using refusing_polkit = privileged_rewrite;

TEST_F(granted_polkit, apply_then_reset_rewrite_the_hosts_file_through_the_helper) {
    EXPECT_EQ(dialog_command_as_nobody(command_apply), 0);
    EXPECT_EQ(file_bytes(hosts), after_apply);
    EXPECT_EQ(dialog_command_as_nobody(command_reset), 0);
    EXPECT_EQ(file_bytes(hosts), after_reset);
}

TEST_F(granted_polkit, the_helper_keeps_the_files_owner_and_mode) {
    set_owner_and_mode(0, 0664);
    EXPECT_EQ(dialog_command_as_nobody(command_apply), 0);
    struct stat status {};
    ASSERT_EQ(::stat(hosts.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 0u);
    EXPECT_EQ(status.st_mode & 07777, 0664u);
    EXPECT_EQ(file_bytes(hosts), after_apply);
}

struct missing_part {
    const char* what;
    command_run run;
};

class granted_polkit_missing : public privileged_rewrite,
                               public testing::WithParamInterface<missing_part> {};

TEST_P(granted_polkit_missing, part_shows_one_error_and_leaves_the_file) {
    EXPECT_EQ(dialog_command_as_nobody(command_apply, GetParam().run), 1);
    EXPECT_EQ(file_bytes(hosts), start_text);
}

INSTANTIATE_TEST_SUITE_P(
    parts, granted_polkit_missing,
    testing::Values(missing_part{"helper", {"/nonexistent/ketrin-hosts-helper"}},
                    // Nothing runnable where the program looks for it.
                    missing_part{"pkexec", {KETRIN_HOSTS_HELPER, nullptr, nullptr, "/dev/null"}}),
    [](const testing::TestParamInfo<missing_part>& info) { return info.param.what; });

// An empty entry in PATH is the working directory: a pkexec there must not be what runs, nor its
// exit 0 pass for a rewrite.
TEST_F(granted_polkit, a_pkexec_in_the_working_directory_is_not_started) {
    char made[] = "/tmp/ketrin-pkexec-XXXXXX";
    ASSERT_NE(::mkdtemp(made), nullptr);
    const std::string directory = made;
    const std::string stand_in = directory + "/pkexec";
    const std::string marker = directory + "/started";
    put_file_bytes(stand_in, "#!/bin/sh\ntouch '" + marker + "'\n");
    ASSERT_EQ(::chmod(stand_in.c_str(), 0755), 0);
    ASSERT_EQ(::chown(directory.c_str(), nobody, nogroup), 0);

    command_run run;
    run.path = ":/usr/bin";
    run.working_directory = made;
    EXPECT_EQ(dialog_command_as_nobody(command_apply, run), 0);

    EXPECT_FALSE(std::filesystem::exists(marker));
    EXPECT_EQ(file_bytes(hosts), after_apply);
    std::filesystem::remove_all(directory);
}

TEST_F(refusing_polkit, apply_and_reset_each_show_one_error_and_leave_the_file) {
    for (const int command : {command_apply, command_reset}) {
        EXPECT_EQ(dialog_command_as_nobody(command), 1) << command;
        EXPECT_EQ(file_bytes(hosts), start_text) << command;
    }
}

// Refused, the helper would fail: a rewrite that works never reaches it.
TEST_F(refusing_polkit, a_file_the_user_may_write_is_rewritten_without_the_helper) {
    set_owner_and_mode(nobody, 0644);
    EXPECT_EQ(dialog_command_as_nobody(command_apply), 0);
    EXPECT_EQ(file_bytes(hosts), after_apply);
}

}  // namespace
