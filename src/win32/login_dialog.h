#pragma once
#include "login/login_dialog_model.h"
#include "login/login_view.h"
#include "win32/layout_dialog.h"
#include "win32/wait_cursor_win32.h"

#include <cstdint>
#include <string>

// A drop-down list control seen through the login logic's eyes.
class Cwin32_combo : public Ccombo_view {
  public:
    void attach(HWND control) { control_ = control; }

    int add_string(const std::string& text) override;
    void set_item_data(int index, std::int64_t data) override;
    void set_selection(int index) override;
    int selected_index() const override;
    std::int64_t item_data(int index) const override;

  private:
    HWND control_ = nullptr;
};

// The login dialog: games and stored accounts to pick, and the transcript of a login test.
// It can be resized; its panes keep the lists and the check box above the transcript and OK in
// the top right corner.
class Cdlg_login : public VaqLayoutDialog, private Clogin_view {
  public:
    Cdlg_login(Clogin_services& services, std::string server_list_host,
               std::int32_t server_list_port);

  protected:
    void do_data_exchange(Cdata_exchange& exchange) override;
    BOOL on_init_dialog() override;
    void on_ok() override;

  private:
    Ccombo_view& game_combo() override { return game_combo_; }
    Ccombo_view& nick_combo() override { return nick_combo_; }
    bool read_controls(std::int32_t& reset_passwords, std::string& transcript) override;
    void show_in_controls(std::int32_t reset_passwords, const std::string& transcript) override;
    void begin_wait_cursor() override { wait_cursor_.begin(); }
    void end_wait_cursor() override { wait_cursor_.end(); }

    Cwin32_combo game_combo_;
    Cwin32_combo nick_combo_;
    std::string transcript_;
    int reset_passwords_ = 0;
    Cwin32_wait_cursor wait_cursor_;
    Clogin_dialog_model model_;
};
