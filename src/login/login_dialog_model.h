#pragma once
#include "login/login_entries.h"
#include "login/login_services.h"
#include "login/login_view.h"

#include <cstdint>
#include <string>
#include <vector>

// What the login dialog does: it offers the installed games and the stored accounts, and its
// OK button tests a login against the game service. The dialog itself only draws.
class Clogin_dialog_model {
  public:
    // The server list is reached at `server_list_host`:`server_list_port`; the program passes
    // its fixed host and port, tests a loopback server.
    Clogin_dialog_model(Clogin_view& view, Clogin_services& services, std::string server_list_host,
                        std::int32_t server_list_port);

    // Fills the controls when the dialog opens, after its layout is in place.
    void open();

    // The OK button: one login test. The dialog stays open.
    void on_ok();

    // Offers the game whose key opens; the dialog's lists are filled with it.
    void add_game(const std::string& key_path, int game_number, std::int32_t service_code);

    const std::vector<game_entry>& games() const { return games_; }
    const std::vector<account_entry>& accounts() const { return accounts_; }
    const std::string& transcript() const { return transcript_; }
    std::int32_t reset_passwords() const { return reset_passwords_; }

  private:
    void add_stored_accounts();
    bool read_stored_account(int number, account_entry& account);
    void add_account(const account_entry& account);

    Clogin_view& view_;
    Clogin_services& services_;
    std::string server_list_host_;
    std::int32_t server_list_port_;

    std::string transcript_;
    std::vector<game_entry> games_;
    std::vector<account_entry> accounts_;
    std::int32_t reset_passwords_ = 0;
};
