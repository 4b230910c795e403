#include "login/login_dialog_model.h"

#include "login/game_table.h"
#include "login/login_requests.h"
#include "login/login_server_scan.h"
#include "login/wait_cursor.h"

#include <utility>

namespace {

constexpr int highest_account_number = 25;
constexpr std::size_t password_length = 8;

// An answer goes into the transcript as text, which ends at its first NUL.
void append_as_text(std::string& transcript, const std::string& answer) {
    transcript.append(answer, 0, answer.find('\0'));
}

// The entry that `data` names in `list`, or none. Item data that names no entry (none
// selected, or a control that holds data of its own) gives none rather than a read past the
// list.
template <typename Entry>
const Entry* entry_at(const std::vector<Entry>& list, std::int64_t data) {
    if (data < 0 || static_cast<std::uint64_t>(data) >= list.size()) {
        return nullptr;
    }
    return &list[static_cast<std::size_t>(data)];
}

std::int64_t selected_item_data(const Ccombo_view& combo) {
    return combo.item_data(combo.selected_index());
}

}  // namespace

Clogin_dialog_model::Clogin_dialog_model(Clogin_view& view, Clogin_services& services,
                                         std::string server_list_host,
                                         std::int32_t server_list_port)
    : view_(view),
      services_(services),
      server_list_host_(std::move(server_list_host)),
      server_list_port_(server_list_port) {}

void Clogin_dialog_model::open() {
    view_.show_in_controls(reset_passwords_, transcript_);
    for (const known_game& game : known_games) {
        add_game(game.key_path, game.game_number, game.service_code);
    }
    add_stored_accounts();
    // An empty game combo ignores the request and stays without a selection.
    view_.game_combo().set_selection(0);
    view_.nick_combo().set_selection(0);
}

void Clogin_dialog_model::add_game(const std::string& key_path, int game_number,
                                   std::int32_t service_code) {
    if (game_number < 0 || static_cast<std::size_t>(game_number) >= game_titles.size()) {
        return;  // a number outside the table names no game
    }
    std::unique_ptr<Cregistry_handle> key = services_.make_registry_handle();
    if (key->open(registry_root::local_machine, key_path, key_read) != 0) {
        return;
    }
    Ccombo_view& combo = view_.game_combo();
    const int index = combo.add_string(game_titles[static_cast<std::size_t>(game_number)]);
    combo.set_item_data(index, static_cast<std::int64_t>(games_.size()));
    games_.push_back(game_entry{service_code});
    key->close();
}

void Clogin_dialog_model::add_stored_accounts() {
    for (int number = 1; number <= highest_account_number; ++number) {
        account_entry account;
        if (read_stored_account(number, account)) {
            add_account(account);
        }
    }
    if (accounts_.empty()) {
        // The nick combo always offers something, so that OK can run without stored accounts.
        add_account(account_entry{});
    }
}

bool Clogin_dialog_model::read_stored_account(int number, account_entry& account) {
    const std::string keys = "Wchat\\Nick" + std::to_string(number);
    // One handle for both keys: opening the password key closes the nick key first.
    std::unique_ptr<Cregistry_handle> key = services_.make_registry_handle();
    const bool read = key->open(registry_root::classes_root, keys + "\\Nick", key_read) == 0 &&
                      key->query_value("", account.nick) == 0 &&
                      key->open(registry_root::classes_root, keys + "\\Pass", key_read) == 0 &&
                      key->query_value("", account.password) == 0;
    key->close();
    return read && !account.nick.empty() && account.password.size() == password_length;
}

void Clogin_dialog_model::add_account(const account_entry& account) {
    Ccombo_view& combo = view_.nick_combo();
    const int index = combo.add_string(account.nick);
    combo.set_item_data(index, static_cast<std::int64_t>(accounts_.size()));
    accounts_.push_back(account);
}

void Clogin_dialog_model::on_ok() {
    if (!view_.read_controls(reset_passwords_, transcript_)) {
        return;
    }
    const game_entry* game = entry_at(games_, selected_item_data(view_.game_combo()));
    const account_entry* account = entry_at(accounts_, selected_item_data(view_.nick_combo()));
    if (game == nullptr || account == nullptr) {
        return;
    }
    Cwait_cursor wait(view_);
    const std::int32_t number = service_number(game->service_code);

    transcript_ = "nick: " + account->nick + "\r\n";
    std::string answer;
    if (services_.exchange_with_server(server_list_host_, server_list_port_,
                                       server_list_request(number), answer) != 0) {
        append_as_text(transcript_, answer);
        view_.show_in_controls(reset_passwords_, transcript_);
        return;
    }

    const login_server server = find_login_server(answer);
    answer.clear();
    // A failed login exchange reports itself in its answer, which the transcript shows.
    services_.exchange_with_server(server.host, server.port,
                                   login_request(number, *account, reset_passwords_), answer);
    append_as_text(transcript_, answer);
    reset_passwords_ = 0;
    view_.show_in_controls(reset_passwords_, transcript_);
}
