#pragma once
#include "login/login_dialog_model.h"
#include "login/login_view.h"
#include "qt/gui_link.h"
#include "qt/layout_dialog.h"
#include "qt/qt_combo.h"
#include "qt/template_controls.h"

#include <cstdint>
#include <memory>
#include <string>

class QCheckBox;
class QPlainTextEdit;

// The login dialog: games and stored accounts to pick, and the transcript of a login test.
// Its controls start at their template places and the panes arrange them.
//
// A login test runs on a worker; meanwhile OK is disabled and the wait cursor shows over the
// dialog. Closing the dialog (Escape, the close box) ends a test at once: its connection is shut
// down and nothing more reaches the dialog. Its exchanges are the real ones, whatever `services`
// does for them, since only a real socket can be shut down; `services` must outlive the worker.
class Cqt_login_dialog : public Cqt_layout_dialog, private Clogin_view {
  public:
    Cqt_login_dialog(Clogin_services& services, std::string server_list_host,
                     std::int32_t server_list_port, QWidget* parent = nullptr);
    ~Cqt_login_dialog() override;

    // Whether a login test runs now.
    bool busy() const { return busy_; }

    void done(int result) override;

  private:
    struct session;

    void on_ok();
    void set_busy(bool busy);
    void end_test();

    Ccombo_view& game_combo() override { return game_combo_; }
    Ccombo_view& nick_combo() override { return nick_combo_; }
    bool read_controls(std::int32_t& reset_passwords, std::string& transcript) override;
    void show_in_controls(std::int32_t reset_passwords, const std::string& transcript) override;
    void begin_wait_cursor() override;
    void end_wait_cursor() override;

    Cdialog_units units_;
    Ctemplate_controls controls_;
    QCheckBox* reset_passwords_;
    QPlainTextEdit* transcript_;
    Cqt_combo game_combo_;
    Cqt_combo nick_combo_;
    // The bytes the transcript shows: the control is read-only, so they are what it holds.
    std::string transcript_bytes_;
    std::shared_ptr<Cgui_link> link_;
    // The logic and what it sees of the dialog; the worker shares it. Made after the combos,
    // which it reaches.
    std::shared_ptr<session> session_;
    bool busy_ = false;
};
