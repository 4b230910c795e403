// Runs the real ketrin_client.exe in the end-to-end tests' own Wine prefix, whose registry holds
// the games and stored accounts of tests/fixtures/e2e_registry.reg and whose /etc/hosts sends
// both server-list hosts to 127.0.0.1. The tests work the program through window messages, as a
// user's clicks would, and watch what reaches the loopback servers and the hosts file.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/main_dialog_template.h"
#include "fixtures/loopback_server.h"
#include "fixtures/built_programs.h"
#include "login/login_dialog_template.h"
#include "win32/e2e_windows.h"

#include <chrono>
#include <functional>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Wine starts its desktop and services with the first window of a run: seconds, not minutes.
constexpr auto window_patience = 30s;
constexpr std::uint16_t server_list_port = 4005;

const std::string login_answer =
    ":irc 375 player :- Welcome\r\n:irc 353 player = #Lob :player\r\n"
    ":irc 366 player #Lob :End of /NAMES list.\r\n";

// Answers once the whole request, which ends with quit, has come; then closes.
Cloopback_server::script answer_after_quit(std::string answer) {
    return [answer](Cloopback_connection& connection) {
        if (connection.read_until("quit\n")) {
            connection.send(answer);
        }
    };
}

std::string server_list_answer(std::uint16_t login_port) {
    return ":servserv 610 u 1\r\n:servserv 605 u :127.0.0.1 " + std::to_string(login_port) +
           " 1\r\n";
}

std::string server_line(std::uint16_t port) {
    return "server: 127.0.0.1:" + std::to_string(port) + " (127.0.0.1)\r\n";
}

std::string first_or_empty(const std::vector<std::string>& received) {
    return received.empty() ? std::string() : received.front();
}

std::string read_file(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "(unreadable)";
    }
    std::string content;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        content.append(chunk, got);
    }
    CloseHandle(file);
    return content;
}

bool write_file(const std::wstring& path, const std::string& content) {
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool whole =
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
        written == content.size();
    return CloseHandle(file) && whole;
}

// Under Wine the program rewrites the Unix /etc/hosts (the test's, tests/win32/e2e.cmake) on the
// drive that maps it.
const std::wstring unix_hosts_file = L"Z:\\etc\\hosts";

// What one press of OK in the login dialog made reach the two servers, and what it showed.
struct login_round {
    std::uint16_t login_port = 0;
    std::string list_request;
    std::string login_request;
    std::string transcript;
};

login_round press_ok(HWND login) {
    Cloopback_server login_server(answer_after_quit(login_answer));
    Cloopback_server list_server(answer_after_quit(server_list_answer(login_server.port())),
                                 server_list_port);
    EXPECT_TRUE(list_server.listening()) << "port " << server_list_port << " is taken";

    login_round round;
    round.login_port = login_server.port();
    const HWND transcript = GetDlgItem(login, login_controls::transcript);
    const std::string before = window_text(transcript).value_or("");
    PostMessageW(GetDlgItem(login, IDOK), BM_CLICK, 0, 0);
    // The dialog answers no message while its exchanges run: a text that differs is the result.
    wait_until(
        [&] {
            const std::optional<std::string> now = window_text(transcript);
            round.transcript = now.value_or(before);
            return now && *now != before;
        },
        window_patience);
    round.list_request = first_or_empty(list_server.finish());
    round.login_request = first_or_empty(login_server.finish());
    return round;
}

class client_program : public testing::Test {
  protected:
    void SetUp() override {
        const std::wstring path = built_program("KETRIN_CLIENT_EXE");
        ASSERT_FALSE(path.empty()) << "KETRIN_CLIENT_EXE must name ketrin_client.exe";
        client_ = std::make_unique<Cstarted_program>(path);
        ASSERT_TRUE(client_->started()) << "cannot start " << narrow(path);
        main_ = find_window(client_->id(), L"Ketrin Client", window_patience);
        ASSERT_NE(main_, nullptr) << "no \"Ketrin Client\" window appeared";
    }

    // Closing the main window ends the program, and it ends with success.
    void TearDown() override {
        if (main_ != nullptr) {
            PostMessageW(main_, WM_CLOSE, 0, 0);
            EXPECT_EQ(client_->exit_code_within(window_patience), std::optional<DWORD>(0));
        }
    }

    HWND item(HWND dialog, int id) const { return GetDlgItem(dialog, id); }

    std::unique_ptr<Cstarted_program> client_;
    HWND main_ = nullptr;
};

TEST_F(client_program, main_window_shows_both_looked_up_addresses_and_both_paths) {
    EXPECT_EQ(shown_address(item(main_, main_controls::community_address)), "127.0.0.1");
    EXPECT_EQ(shown_address(item(main_, main_controls::current_address)), "127.0.0.1");
    EXPECT_EQ(window_text(item(main_, main_controls::hosts_path)), narrow(unix_hosts_file));
    EXPECT_EQ(window_text(item(main_, main_controls::api_path)),
              std::string("C:\\Westwood\\WOLAPI\\"));
}

TEST_F(client_program, login_test_sends_the_picked_account_to_the_login_server_the_list_names) {
    PostMessageW(item(main_, main_controls::test), BM_CLICK, 0, 0);
    const HWND login = find_window(client_->id(), L"Login", window_patience);
    ASSERT_NE(login, nullptr) << "Test opened no \"Login\" window";

    // Games in table order; stored accounts sorted by nick, the one with a short password and
    // the one numbered past 25 left out.
    const HWND games = item(login, login_controls::game);
    const HWND nicks = item(login, login_controls::nick);
    EXPECT_EQ(combo_entries(games), (std::vector<std::string>{"Tiberian Sun", "Red Alert 2",
                                                              "Red Alert 2 Yuri's Revenge"}));
    EXPECT_EQ(combo_entries(nicks), (std::vector<std::string>{"alpha", "player", "raider"}));
    SendMessageW(games, CB_SETCURSEL, 1, 0);
    SendMessageW(nicks, CB_SETCURSEL, 1, 0);

    const login_round plain = press_ok(login);
    EXPECT_EQ(plain.list_request, "whereto 0 0 8448\nquit\n");
    // The 69-byte form: the account's nick and password, then the names query.
    EXPECT_EQ(plain.login_request,
              "cvers 0 8448\nnick player\napgar pa55word 0\nuser\nprivmsg c /names\nquit\n");
    EXPECT_EQ(plain.transcript, "nick: player\r\n" + server_line(plain.login_port) + login_answer);

    // A second press with "Reset Passwords" checked replaces the transcript and unchecks the box.
    const HWND reset_passwords = item(login, login_controls::reset_passwords);
    SendMessageW(reset_passwords, BM_SETCHECK, BST_CHECKED, 0);
    const login_round reset = press_ok(login);
    EXPECT_EQ(reset.list_request, "whereto 0 0 8448\nquit\n");
    EXPECT_EQ(reset.login_request,
              "cvers 0 8448\nnick player\nuser\nprivmsg c :reset passwords\nquit\n");
    EXPECT_EQ(reset.transcript, "nick: player\r\n" + server_line(reset.login_port) + login_answer);
    EXPECT_EQ(SendMessageW(reset_passwords, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    PostMessageW(login, WM_CLOSE, 0, 0);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(login); }, window_patience))
        << "the Login window stayed open";
}

TEST_F(client_program, apply_and_reset_rewrite_only_the_service_lines_of_the_unix_hosts_file) {
    const std::wstring& hosts = unix_hosts_file;
    const std::string original = read_file(hosts);
    // The other tests resolve through this file: it goes back as it was, whatever happens here.
    const std::unique_ptr<const std::string, std::function<void(const std::string*)>> restore(
        &original, [&](const std::string* bytes) { write_file(hosts, *bytes); });
    // Other lines must come back byte for byte, Ctrl-Z, CR and all, with their LF line ends; a
    // line that also names another host keeps that name; a last line without a line end gains
    // one.
    const std::string other_lines =
        "# hosts of the end-to-end test\n# a \x1a in a comment is no end of file\r\n\n";
    // The seeded file's own line for the server-list host, written with a tab, goes too.
    const std::string seeded_service_line = "127.0.0.1\tservserv.westwood.com\n";
    std::string original_kept = original;
    const std::size_t seeded_at = original_kept.find(seeded_service_line);
    ASSERT_NE(seeded_at, std::string::npos);
    original_kept.erase(seeded_at, seeded_service_line.size());
    ASSERT_TRUE(write_file(hosts, original + "198.51.100.4 servserv.westwood.com\n" + other_lines +
                                      "10.0.0.1 gateway irc.westwood.com\n"
                                      " 198.51.100.4 irc.westwood.com # old entry\n::1\tlocalhost"))
        << "cannot seed " << narrow(hosts);
    const std::string kept = original_kept + other_lines + "10.0.0.1 gateway\n::1\tlocalhost\n";

    PostMessageW(main_, WM_COMMAND, MAKEWPARAM(main_menu_commands::apply, 0), 0);
    const std::string applied =
        kept + "127.0.0.1 irc.westwood.com\n127.0.0.1 servserv.westwood.com\n";
    wait_until([&] { return read_file(hosts) == applied; }, window_patience);
    EXPECT_EQ(read_file(hosts), applied);

    PostMessageW(item(main_, main_controls::reset), BM_CLICK, 0, 0);
    wait_until([&] { return read_file(hosts) == kept; }, window_patience);
    EXPECT_EQ(read_file(hosts), kept);
}

}  // namespace
