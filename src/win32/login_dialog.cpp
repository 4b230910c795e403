#include "win32/login_dialog.h"

#include "layout/login_panes.h"
#include "login/login_dialog_template.h"

#include <utility>

int Cwin32_combo::add_string(const std::string& text) {
    return static_cast<int>(
        SendMessageA(control_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void Cwin32_combo::set_item_data(int index, std::int64_t data) {
    SendMessageA(control_, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
}

void Cwin32_combo::set_selection(int index) {
    SendMessageA(control_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int Cwin32_combo::selected_index() const {
    return static_cast<int>(SendMessageA(control_, CB_GETCURSEL, 0, 0));
}

std::int64_t Cwin32_combo::item_data(int index) const {
    return static_cast<std::int64_t>(
        SendMessageA(control_, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

Cdlg_login::Cdlg_login(Clogin_services& services, std::string server_list_host,
                       std::int32_t server_list_port)
    : VaqLayoutDialog(login_dialog_template.id),
      model_(*this, services, std::move(server_list_host), server_list_port) {}

void Cdlg_login::do_data_exchange(Cdata_exchange& exchange) {
    exchange.control(login_controls::game, game_combo_);
    exchange.control(login_controls::nick, nick_combo_);
    exchange.text(login_controls::transcript, transcript_);
    exchange.check(login_controls::reset_passwords, reset_passwords_);
}

BOOL Cdlg_login::on_init_dialog() {
    VaqLayoutDialog::on_init_dialog();
    // Before the lists are filled, while every control still has its template size: the
    // panes take their minimum sizes from them.
    build_login_panes(*this);
    model_.open();
    return TRUE;
}

void Cdlg_login::on_ok() {
    model_.on_ok();
}

bool Cdlg_login::read_controls(std::int32_t& reset_passwords, std::string& transcript) {
    if (!update_data(true)) {
        return false;
    }
    reset_passwords = reset_passwords_;
    transcript = transcript_;
    return true;
}

void Cdlg_login::show_in_controls(std::int32_t reset_passwords, const std::string& transcript) {
    reset_passwords_ = reset_passwords;
    transcript_ = transcript;
    update_data(false);
}
