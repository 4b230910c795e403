// The main dialog of a user who may not write the hosts file: its rewrite goes to the helper
// beside the program, started through Windows' consent prompt. Under Wine a program started from
// Unix is elevated; the cases of a normal user run in a second process with the limited token
// (limited_token.h). Wine refuses that token nothing, so the program's own opens of the hosts
// file for writing are refused here as Windows refuses them; the helper's opens are real.
#include "app/hosts_write_rights_win32.h"
#include "app/main_dialog_template.h"
#include "app/platform_services.h"
#include "app/privileged_hosts_rewrite.h"
#include "app/shell_calls_win32.h"
#include "dialog_driver.h"
#include "fixtures/built_programs.h"
#include "fixtures/test_files.h"
#include "gui_environment.h"
#include "hosts/file_calls_win32.h"
#include "hosts/hosts_file.h"
#include "limited_token.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace std::chrono_literals;

// A helper started under Wine takes seconds.
constexpr auto helper_patience = 60s;
constexpr char hosts_start[] = "10.1.2.3 servserv.westwood.com\n# kept\n";
constexpr char denied_by_windows[] =
    "127.0.0.1\tlocalhost\n10.1.2.3 servserv.westwood.com\n# kept\n";

const win32_file_calls real_file_calls = file_calls();

bool asks_to_write(DWORD access) {
    return (access & (GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA)) != 0;
}

// While it lives, this process may open no file for writing and make no file, as Windows
// refuses a user's program the system's hosts file; reading stays allowed.
class Cwrites_denied {
  public:
    Cwrites_denied() {
        file_calls().create_file = [](LPCSTR path, DWORD access, DWORD share,
                                      LPSECURITY_ATTRIBUTES security, DWORD disposition,
                                      DWORD flags, HANDLE model) {
            if (asks_to_write(access)) {
                SetLastError(ERROR_ACCESS_DENIED);
                return INVALID_HANDLE_VALUE;
            }
            return real_file_calls.create_file(path, access, share, security, disposition, flags,
                                               model);
        };
        file_calls().get_temp_file_name = [](LPCSTR, LPCSTR, UINT, LPSTR) {
            SetLastError(ERROR_ACCESS_DENIED);
            return 0u;
        };
    }
    ~Cwrites_denied() { file_calls() = real_file_calls; }
    Cwrites_denied(const Cwrites_denied&) = delete;
    Cwrites_denied& operator=(const Cwrites_denied&) = delete;
};

// How the program asked the shell to start something.
struct shell_start {
    std::string verb;
    std::string file;
    std::string parameters;
    HWND owner = nullptr;
    ULONG mask = 0;
};

const win32_shell_calls real_shell_calls = shell_calls();
std::mutex shell_starts_lock;
std::vector<shell_start> shell_starts;
bool decline_prompt = false;

BOOL WINAPI record_shell_start(SHELLEXECUTEINFOA* start) {
    {
        const std::lock_guard<std::mutex> held(shell_starts_lock);
        shell_starts.push_back(
            {start->lpVerb ? start->lpVerb : "", start->lpFile ? start->lpFile : "",
             start->lpParameters ? start->lpParameters : "", start->hwnd, start->fMask});
    }
    if (decline_prompt) {
        // What the shell reports when the user answers No to the consent prompt.
        SetLastError(ERROR_CANCELLED);
        return FALSE;
    }
    return real_shell_calls.shell_execute_ex(start);
}

// Records every start through the shell while it lives, and passes each on (or, with
// `declined`, answers as a declined consent prompt).
class Crecorded_shell_starts {
  public:
    explicit Crecorded_shell_starts(bool declined = false) {
        const std::lock_guard<std::mutex> held(shell_starts_lock);
        shell_starts.clear();
        decline_prompt = declined;
        shell_calls().shell_execute_ex = &record_shell_start;
    }
    ~Crecorded_shell_starts() { shell_calls() = real_shell_calls; }
    Crecorded_shell_starts(const Crecorded_shell_starts&) = delete;
    Crecorded_shell_starts& operator=(const Crecorded_shell_starts&) = delete;

    std::vector<shell_start> starts() const {
        const std::lock_guard<std::mutex> held(shell_starts_lock);
        return shell_starts;
    }
};

std::mutex shield_requests_lock;
std::vector<std::pair<HWND, LPARAM>> shield_requests;

// Sees every message sent to a window of the UI thread: Wine draws no shield, but the request
// for one is a message to the button.
LRESULT CALLBACK record_shield_requests(int code, WPARAM wparam, LPARAM lparam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && sent->message == BCM_SETSHIELD) {
        const std::lock_guard<std::mutex> held(shield_requests_lock);
        shield_requests.emplace_back(sent->hwnd, sent->lParam);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

class elevation_test : public main_dialog_test {
  protected:
    void SetUp() override {
        main_dialog_test::SetUp();
        set_hosts_file(hosts_start);
    }

    // Opens the main dialog as the program runs it, watching what it asks of the Reset button.
    HWND open_watched(Csystem_services& services) {
        {
            const std::lock_guard<std::mutex> held(shield_requests_lock);
            shield_requests.clear();
        }
        driver_ = run_main_dialog(services, &record_shield_requests);
        const HWND dialog = driver_->wait_for_window("Ketrin Client");
        if (dialog != nullptr) {
            settle(dialog);
        }
        return dialog;
    }

    std::vector<std::pair<HWND, LPARAM>> shield_requests_seen() const {
        const std::lock_guard<std::mutex> held(shield_requests_lock);
        return shield_requests;
    }

    // The UI thread's windows besides the dialog: message boxes, the program's or the shell's.
    std::vector<HWND> boxes(HWND dialog) const {
        std::vector<HWND> others;
        for (const HWND window : driver_->windows()) {
            if (window != dialog) {
                others.push_back(window);
            }
        }
        return others;
    }

    // Waits for the one message box a failed rewrite shows, checks that it is the only window
    // besides the dialog, and closes it.
    void expect_one_failure_box(HWND dialog) {
        ASSERT_TRUE(wait_until([&] { return !boxes(dialog).empty(); }, helper_patience));
        const std::vector<HWND> shown = boxes(dialog);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(message_box_text(shown[0]), "Your hosts file could not be updated.");
        close_message_box(shown[0]);
        ASSERT_TRUE(wait_until([&] { return boxes(dialog).empty(); }));
        ASSERT_TRUE(settle(dialog));
    }
};

// The cases of a user without administrator rights: run by limited_token.runs_the_cases_...
class without_administrator_rights : public elevation_test {
  protected:
    void SetUp() override {
        if (!running_with_limited_token()) {
            GTEST_SKIP() << "runs in the process with the limited token";
        }
        ASSERT_FALSE(token_is_elevated());
        ASSERT_EQ(token_elevation_type(), TokenElevationTypeLimited);
        elevation_test::SetUp();
    }
};

TEST(limited_token, runs_the_cases_without_administrator_rights_in_a_process_of_its_own) {
    // Started from Unix, Wine's programs hold the full token: the other cases need the limited one.
    ASSERT_TRUE(token_is_elevated());
    EXPECT_EQ(run_with_limited_token("without_administrator_rights.*"), std::optional<DWORD>(0));
}

TEST_F(without_administrator_rights, apply_and_reset_go_to_the_helper_beside_the_program) {
    Cwrites_denied denied;
    Crecorded_shell_starts recorded;
    const HWND dialog = open_watched(services_);
    ASSERT_NE(dialog, nullptr);
    const HWND reset = GetDlgItem(dialog, main_controls::reset);
    const std::vector<std::pair<HWND, LPARAM>> shield{{reset, TRUE}};
    EXPECT_EQ(shield_requests_seen(), shield);

    const struct {
        int command;
        std::string parameters;
        std::string hosts_after;
        std::uint32_t shown;
    } steps[] = {
        {main_menu_commands::apply, "apply 10.20.30.40",
         "127.0.0.1\tlocalhost\n# kept\n10.20.30.40 irc.westwood.com\n10.20.30.40 "
         "servserv.westwood.com\n",
         MAKEIPADDRESS(10, 20, 30, 40)},
        {main_controls::reset, "reset", "127.0.0.1\tlocalhost\n# kept\n",
         MAKEIPADDRESS(10, 20, 30, 40)},
    };
    set_ip_address(dialog, main_controls::community_address, MAKEIPADDRESS(10, 20, 30, 40));
    std::size_t started = 0;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.parameters);
        post_command(dialog, step.command);
        ++started;
        ASSERT_TRUE(wait_until(
            [&] {
                return recorded.starts().size() == started && IsWindowEnabled(dialog) &&
                       file_bytes_if_readable(hosts_file_path()) == step.hosts_after;
            },
            helper_patience))
            << file_bytes(hosts_file_path());
        ASSERT_TRUE(settle(dialog));

        const shell_start start = recorded.starts().back();
        EXPECT_EQ(start.verb, "runas");
        EXPECT_EQ(start.file, installed_hosts_helper_path());
        EXPECT_EQ(start.parameters, step.parameters);
        EXPECT_EQ(start.owner, dialog);
        EXPECT_EQ(start.mask & SEE_MASK_FLAG_NO_UI, ULONG{SEE_MASK_FLAG_NO_UI});
        const ip_address_state current = ip_address(dialog, main_controls::current_address);
        EXPECT_EQ(current.value, step.shown);
        EXPECT_TRUE(boxes(dialog).empty());
    }
    EXPECT_EQ(recorded.starts().size(), std::size(steps));
}

TEST_F(without_administrator_rights, a_declined_prompt_or_a_failed_helper_shows_one_box) {
    const struct {
        const char* what;
        std::string helper;
        bool declined;
    } cases[] = {
        {"declined", installed_hosts_helper_path(), true},
        {"missing helper", gui_mounts_path("no-such-helper.exe"), false},
        {"helper ends with 1", narrow(built_program("KETRIN_FAILING_HELPER_EXE")), false},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.what);
        Cwrites_denied denied;
        Crecorded_shell_starts recorded(example.declined);
        Cplatform_services services(example.helper);
        const HWND dialog = open_watched(services);
        ASSERT_NE(dialog, nullptr);

        post_command(dialog, main_controls::reset);
        expect_one_failure_box(dialog);
        ASSERT_EQ(recorded.starts().size(), 1u);
        EXPECT_EQ(recorded.starts()[0].verb, "runas");
        EXPECT_EQ(recorded.starts()[0].file, example.helper);
        EXPECT_EQ(file_bytes(hosts_file_path()), denied_by_windows);
        EXPECT_TRUE(IsWindowEnabled(dialog));
        driver_.reset();
    }
}

TEST_F(without_administrator_rights, the_dialog_paints_but_takes_no_clicks_while_it_waits) {
    const std::string hold_name = "ketrin-elevation-hold-" + std::to_string(GetCurrentProcessId());
    const HANDLE hold = CreateEventA(nullptr, TRUE, FALSE, hold_name.c_str());
    ASSERT_NE(hold, nullptr);
    SetEnvironmentVariableA("KETRIN_GAME_HOLD", hold_name.c_str());
    Cwrites_denied denied;
    Crecorded_shell_starts recorded;
    // A helper that ends with success only when the test lets it.
    Cplatform_services services(narrow(built_program("KETRIN_STAND_IN_NOTEPAD_EXE")));
    const HWND dialog = open_watched(services);
    ASSERT_NE(dialog, nullptr);

    post_command(dialog, main_controls::reset);
    ASSERT_TRUE(
        wait_until([&] { return recorded.starts().size() == 1 && !IsWindowEnabled(dialog); },
                   helper_patience));
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    EXPECT_TRUE(wait_until([&] { return !GetUpdateRect(dialog, nullptr, FALSE); }))
        << "the dialog did not paint while it waited";
    click(GetDlgItem(dialog, main_controls::reset));
    EXPECT_FALSE(wait_until([&] { return recorded.starts().size() > 1; }, 2s));

    SetEvent(hold);
    EXPECT_TRUE(wait_until([&] { return IsWindowEnabled(dialog) != FALSE; }, helper_patience));
    ASSERT_TRUE(settle(dialog));
    EXPECT_EQ(recorded.starts().size(), 1u);
    EXPECT_TRUE(boxes(dialog).empty());
    SetEnvironmentVariableA("KETRIN_GAME_HOLD", nullptr);
    CloseHandle(hold);
}

TEST_F(without_administrator_rights, only_a_refused_open_is_a_want_of_rights) {
    const std::string folder = gui_mounts_path("folder-at-the-path");
    CreateDirectoryA(folder.c_str(), nullptr);
    // Wine itself refuses the limited token nothing.
    EXPECT_FALSE(rewrite_needs_rights(hosts_file_path()));

    Cwrites_denied denied;
    EXPECT_TRUE(may_rewrite_with_rights(hosts_file_path()));
    EXPECT_TRUE(rewrite_needs_rights(gui_mounts_path("missing-file")));
    EXPECT_FALSE(rewrite_needs_rights(folder));
    EXPECT_FALSE(rewrite_needs_rights(gui_mounts_path("missing-folder\\hosts")));
    // The helper rewrites only the system's hosts file.
    EXPECT_FALSE(may_rewrite_with_rights(gui_mounts_path("missing-file")));
    RemoveDirectoryA(folder.c_str());
}

TEST_F(elevation_test, with_the_full_token_no_helper_starts_and_no_shield_shows) {
    ASSERT_TRUE(token_is_elevated());
    Cwrites_denied denied;
    Crecorded_shell_starts recorded;
    const HWND dialog = open_watched(services_);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(shield_requests_seen().empty());

    post_command(dialog, main_controls::reset);
    expect_one_failure_box(dialog);
    EXPECT_TRUE(recorded.starts().empty());
    EXPECT_EQ(file_bytes(hosts_file_path()), denied_by_windows);
}

}  // namespace
