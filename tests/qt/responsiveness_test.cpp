// The Linux program keeps answering the desktop while it waits: a ping client on the test's own
// X connection pings its windows as a desktop does and times the answers, while the program
// waits for a resolver that never answers, a server that never answers, and a permission prompt
// that the user dismisses after a while. Each case runs in a child process of its own, with its
// own mounts and, where it says so, as a user who may not write /etc/hosts.
#include "app/main_dialog_model.h"
#include "app/platform_services.h"
#include "fixtures/child_process.h"
#include "fixtures/loopback_server.h"
#include "fixtures/scratch_directory.h"
#include "qt/dialog_control.h"
#include "qt/ip_address_edit.h"
#include "qt/login_dialog.h"
#include "qt/main_dialog.h"
#include "qt/ping_client.h"
#include "qt/qt_test_support.h"
#include "support/fixed_texts.h"

#include <QApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <grp.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <map>
#include <sstream>
#include <thread>

namespace {

using namespace std::chrono_literals;
using steady = std::chrono::steady_clock;
using report = std::map<std::string, long>;

constexpr auto ping_interval = 150ms;
constexpr long answer_limit_ms = 250;
constexpr uid_t nobody = 65534;
constexpr gid_t nogroup = 65534;
const std::string hosts = "/etc/hosts";

long elapsed_ms(steady::time_point since) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(steady::now() - since).count();
}

// Runs `body` in a child process and returns what it reported, one "name value" a line; a child
// that did not end normally reports "exit" as -1.
report in_child(const std::function<void(report&)>& body) {
    const child_output told = output_of_child([&](std::string& text) {
        report out;
        body(out);
        for (const auto& [name, value] : out) {
            text += name + ' ' + std::to_string(value) + '\n';
        }
        return 0;
    });
    report in;
    std::istringstream text(told.text);
    for (std::string name; text >> name;) {
        text >> in[name];
    }
    in["exit"] = told.exit_code;
    return in;
}

// Pings this process's windows on a thread of its own for `duration`.
std::future<std::chrono::milliseconds> ping_own_windows(std::chrono::milliseconds duration) {
    return std::async(std::launch::async, [duration] {
        Cping_client client;
        return client.connected() ? client.longest_answer(::getpid(), duration, ping_interval)
                                  : std::chrono::milliseconds::max();
    });
}

// Runs the event loop until `done` holds or `patience` has passed; whether it held.
bool run_until(const std::function<bool()>& done, std::chrono::milliseconds patience);

// The longest wait of the pings, taken while the window goes on answering them.
long longest_answer_ms(std::future<std::chrono::milliseconds>& pings) {
    run_until([&] { return pings.wait_for(0s) == std::future_status::ready; }, 30s);
    return static_cast<long>(pings.get().count());
}

bool run_until(const std::function<bool()>& done, std::chrono::milliseconds patience) {
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (done()) {
            loop.quit();
        }
    });
    check.start(20);
    QTimer::singleShot(patience, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

class responsive_program : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(hosts_file_is_private()) << "run inside tests/fixtures/isolated";
        ASSERT_EQ(::geteuid(), 0u) << "the test makes mounts and binds port 53";
        ASSERT_TRUE(Cping_client().connected())
            << "no X display at $DISPLAY, or a window manager runs there";
    }
};

TEST_F(responsive_program, starts_at_once_and_answers_while_the_resolver_never_does) {
    put_file_bytes(hosts, "127.0.0.1\tlocalhost\n");
    // A name server on loopback that takes every query and answers none.
    const int silent_server = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(53);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(silent_server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const Cscratch_directory scratch("ketrin-resolver");
    put_file_bytes(scratch / "resolv.conf", "nameserver 127.0.0.1\n");

    const steady::time_point start = steady::now();
    const pid_t program = ::fork();
    if (program == 0) {
        if (bind_privately(scratch / "resolv.conf", "/etc/resolv.conf")) {
            ::execl(KETRIN_CLIENT, KETRIN_CLIENT, static_cast<char*>(nullptr));
        }
        ::_exit(127);
    }
    Cping_client client;
    std::vector<xcb_window_t> windows;
    while (windows.empty() && elapsed_ms(start) < 5000) {
        windows = client.windows_of(program);
        std::this_thread::sleep_for(10ms);
    }
    const long mapped_ms = elapsed_ms(start);
    EXPECT_LT(mapped_ms, 1000) << "the main window was mapped only after " << mapped_ms << " ms";
    if (!windows.empty()) {
        const auto longest = client.longest_answer(program, 3s, ping_interval);
        EXPECT_LT(longest.count(), answer_limit_ms);
        // Closed while both lookups still wait, the program ends all the same.
        client.close(windows.front());
    }
    const steady::time_point closed = steady::now();
    int status = 0;
    while (::waitpid(program, &status, WNOHANG) == 0 && elapsed_ms(closed) < 5000) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_LT(elapsed_ms(closed), 1000) << "the program did not end once its window closed";
    ::kill(program, SIGKILL);
    ::waitpid(program, &status, 0);
    ::close(silent_server);
}

TEST_F(responsive_program, answers_while_a_login_test_waits_and_escape_ends_the_test) {
    put_file_bytes(hosts,
                   std::string("127.0.0.1\tlocalhost\n127.0.0.1 ") + server_list_host + "\n");
    const report got = in_child([](report& out) {
        // When the program closed the connection, on the server's thread.
        std::atomic<steady::rep> closed_at{0};
        steady::time_point escaped;
        Cloopback_server silent_list(
            [&](Cloopback_connection& c) {
                c.read_to_end();
                closed_at = steady::now().time_since_epoch().count();
            },
            server_list_port);
        int argc = 1;
        char name[] = "qt_responsiveness_test";
        char* argv[] = {name, nullptr};
        QApplication application(argc, argv);
        // A game and an account to test with.
        fake_registry registry;
        registry.add_key(registry_root::local_machine, "Software\\Westwood\\Tiberian Sun");
        registry.add_account(1, "player", "secret12");
        Cqt_test_services services;
        services.registry = &registry;
        Cqt_main_dialog dialog(services);
        dialog.show();
        settle_until_work_is_done();
        auto pings = ping_own_windows(4s);

        // Test, then OK; two seconds later Escape; then Test once more.
        int step = 0;
        steady::time_point ok_pressed;
        // Each step arms the next before it acts, so that the steps go on inside a dialog's own
        // event loop, or after a step that blocked.
        std::function<void()> tick;
        tick = [&] {
            if (step < 5) {
                QTimer::singleShot(50, tick);
            }
            auto* login = dynamic_cast<Cqt_login_dialog*>(QApplication::activeModalWidget());
            if (step == 0) {
                dialog.on_command(command_test);
                ++step;
            } else if (step == 1 && login != nullptr) {
                QTest::mouseClick(control<QPushButton>(*login, "ok"), Qt::LeftButton);
                out["ok_disabled_while_testing"] = !control<QPushButton>(*login, "ok")->isEnabled();
                ok_pressed = steady::now();
                ++step;
            } else if (step == 2 && login != nullptr && elapsed_ms(ok_pressed) > 2000) {
                out["still_testing"] = login->busy();
                escaped = steady::now();
                QTest::keyClick(login, Qt::Key_Escape);
                ++step;
            } else if (step == 3 && !dialog.busy()) {
                dialog.on_command(command_test);
                ++step;
            } else if (step == 4 && login != nullptr) {
                out["opened_again"] = 1;
                login->reject();
                ++step;
            }
        };
        QTimer::singleShot(50, tick);
        out["finished"] = run_until([&] { return step == 5 && !dialog.busy(); }, 15s);
        out["longest_ms"] = longest_answer_ms(pings);
        silent_list.finish();
        out["closed_after_ms"] =
            std::chrono::duration_cast<std::chrono::milliseconds>(
                steady::time_point(steady::duration(closed_at.load())) - escaped)
                .count();
        settle_until_work_is_done();
    });
    EXPECT_EQ(got.at("exit"), 0);
    EXPECT_EQ(got.count("finished") ? got.at("finished") : 0, 1);
    EXPECT_EQ(got.count("ok_disabled_while_testing") ? got.at("ok_disabled_while_testing") : 0, 1);
    EXPECT_EQ(got.count("still_testing") ? got.at("still_testing") : 0, 1);
    EXPECT_EQ(got.count("opened_again") ? got.at("opened_again") : 0, 1);
    ASSERT_TRUE(got.count("longest_ms"));
    EXPECT_LT(got.at("longest_ms"), answer_limit_ms);
    ASSERT_TRUE(got.count("closed_after_ms"));
    EXPECT_GE(got.at("closed_after_ms"), 0);
    EXPECT_LT(got.at("closed_after_ms"), 1000) << "the connection outlived the dialog";
}

TEST_F(responsive_program, answers_while_the_permission_prompt_is_up_then_shows_the_error) {
    const std::string before =
        std::string("127.0.0.1\tlocalhost\n198.51.100.4 ") + server_list_host + "\n";
    put_file_bytes(hosts, before);
    ASSERT_EQ(::chown(hosts.c_str(), 0, 0), 0);
    ASSERT_EQ(::chmod(hosts.c_str(), 0644), 0);
    // A user who dismisses the prompt after eight seconds.
    const Cscratch_directory scratch("ketrin-pkexec");
    const std::string stand_in = scratch / "pkexec";
    put_file_bytes(stand_in, "#!/bin/sh\nsleep 8\nexit 126\n");
    ASSERT_EQ(::chmod(stand_in.c_str(), 0755), 0);

    const report got = in_child([&](report& out) {
        // Bound over the pkexec the program starts.
        if (!bind_privately(stand_in, KETRIN_PKEXEC) || ::setgroups(0, nullptr) != 0 ||
            ::setgid(nogroup) != 0 || ::setuid(nobody) != 0) {
            out["set_up"] = 0;
            return;
        }
        out["set_up"] = 1;
        int argc = 1;
        char name[] = "qt_responsiveness_test";
        char* argv[] = {name, nullptr};
        QApplication application(argc, argv);
        Cplatform_services services(KETRIN_HOSTS_HELPER);
        Cqt_main_dialog dialog(services);
        dialog.show();
        settle_until_work_is_done();
        control<Cip_address_edit>(dialog, "community_address")->set_address(0x0A000005);

        Cmodal_watch watch;
        auto pings = ping_own_windows(9s);
        const steady::time_point start = steady::now();
        dialog.on_command(command_apply);
        out["refused_while_busy"] =
            dialog.busy() && !control<QPushButton>(dialog, "apply")->isEnabled();
        run_until([&] { return !dialog.busy(); }, 20s);
        out["command_ms"] = elapsed_ms(start);
        out["longest_ms"] = longest_answer_ms(pings);
        long boxes = 0;
        for (const Cmodal_watch::seen& window : watch.windows) {
            boxes += window.message_box && window.icon == QMessageBox::Critical &&
                     window.text == hosts_update_failed_text;
        }
        out["error_boxes"] = boxes;
        out["other_windows"] = static_cast<long>(watch.windows.size()) - boxes;
    });
    EXPECT_EQ(got.at("exit"), 0);
    ASSERT_EQ(got.count("set_up") ? got.at("set_up") : 0, 1);
    EXPECT_EQ(got.at("refused_while_busy"), 1);
    EXPECT_GE(got.at("command_ms"), 8000) << "the stand-in for pkexec did not run";
    EXPECT_LT(got.at("longest_ms"), answer_limit_ms);
    EXPECT_EQ(got.at("error_boxes"), 1);
    EXPECT_EQ(got.at("other_windows"), 0);
    EXPECT_EQ(file_bytes(hosts), before);
}

}  // namespace
