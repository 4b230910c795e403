#pragma once
#include "app/main_view.h"
#include "login/login_view.h"
#include "qt/gui_link.h"

#include <memory>

// The views a dialog's logic sees while its commands run on a worker: every call goes through
// the link to the dialog's own view on the GUI thread. The dialog shows the wait cursor for the
// whole of a command itself, so the logic's own requests for it (one of them from a destructor,
// which must not throw) go nowhere.

class Cmain_view_on_gui_thread : public Cmain_view {
  public:
    Cmain_view_on_gui_thread(std::shared_ptr<Cgui_link> link, Cmain_view& view)
        : link_(std::move(link)), view_(view) {}

    void set_community_address(std::uint32_t control_value) override;
    std::uint32_t community_address() const override;
    void set_current_address(std::uint32_t control_value) override;
    void set_hosts_path(const std::string& path) override;
    void set_api_path(const std::string& path) override;
    void show_error(const std::string& text) override;
    void run_login_dialog() override;
    void begin_wait_cursor() override {}
    void end_wait_cursor() override {}

  private:
    std::shared_ptr<Cgui_link> link_;
    Cmain_view& view_;
};

class Ccombo_view_on_gui_thread : public Ccombo_view {
  public:
    Ccombo_view_on_gui_thread(std::shared_ptr<Cgui_link> link, Ccombo_view& combo)
        : link_(std::move(link)), combo_(combo) {}

    int add_string(const std::string& text) override;
    void set_item_data(int index, std::int64_t data) override;
    void set_selection(int index) override;
    int selected_index() const override;
    std::int64_t item_data(int index) const override;

  private:
    std::shared_ptr<Cgui_link> link_;
    Ccombo_view& combo_;
};

class Clogin_view_on_gui_thread : public Clogin_view {
  public:
    Clogin_view_on_gui_thread(std::shared_ptr<Cgui_link> link, Clogin_view& view)
        : link_(link),
          view_(view),
          game_combo_(link, view.game_combo()),
          nick_combo_(link, view.nick_combo()) {}

    Ccombo_view& game_combo() override { return game_combo_; }
    Ccombo_view& nick_combo() override { return nick_combo_; }
    bool read_controls(std::int32_t& reset_passwords, std::string& transcript) override;
    void show_in_controls(std::int32_t reset_passwords, const std::string& transcript) override;
    void begin_wait_cursor() override {}
    void end_wait_cursor() override {}

  private:
    std::shared_ptr<Cgui_link> link_;
    Clogin_view& view_;
    Ccombo_view_on_gui_thread game_combo_;
    Ccombo_view_on_gui_thread nick_combo_;
};
