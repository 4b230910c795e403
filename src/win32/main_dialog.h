#pragma once
#include "app/main_dialog_model.h"
#include "app/main_view.h"
#include "app/system_services.h"
#include "win32/dialog_window.h"
#include "win32/ip_address_control.h"
#include "win32/wait_cursor_win32.h"

#include <string>

// The main dialog: the two addresses, the hosts-file and API paths, and the buttons.
class CVorlaWOLIRCServerClientDlg : public Cdialog_window, private Cmain_view {
  public:
    explicit CVorlaWOLIRCServerClientDlg(Csystem_services& services);

  protected:
    void do_data_exchange(Cdata_exchange& exchange) override;
    BOOL on_init_dialog() override;
    bool on_command(WORD id, WORD notification) override;
    bool on_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

  private:
    void set_community_address(std::uint32_t control_value) override;
    std::uint32_t community_address() const override;
    void set_current_address(std::uint32_t control_value) override;
    void set_hosts_path(const std::string& path) override;
    void set_api_path(const std::string& path) override;
    void show_error(const std::string& text) override;
    void begin_wait_cursor() override { wait_cursor_.begin(); }
    void end_wait_cursor() override { wait_cursor_.end(); }
    void run_login_dialog() override;

    void paint_minimised_icon();

    Cip_address_control current_address_;
    Cip_address_control community_address_;
    std::string hosts_path_;
    std::string api_path_;
    HICON icon_;
    Cwin32_wait_cursor wait_cursor_;
    Csystem_services& services_;
    Cmain_dialog_model model_;
};
