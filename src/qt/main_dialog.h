#pragma once
#include "app/main_dialog_model.h"
#include "app/main_view.h"
#include "app/system_services.h"
#include "prefixes/wine_prefix_discovery.h"
#include "qt/dialog_units.h"
#include "qt/template_controls.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class Cip_address_edit;

// The main dialog: the two addresses, the hosts-file and API paths, the buttons (with Apply in
// the button column's free slot), and below them the Wine prefix row. Every command goes through
// on_command: a button's, the context menu's (apply, open the hosts file), and a double-click on
// the hosts path (open it). It is an ordinary top-level window with no default button. The
// registry is read from the prefix the row shows.
class Cqt_main_dialog : public QDialog, private Cmain_view {
  public:
    explicit Cqt_main_dialog(Csystem_services& services, const wine_prefix_search& prefixes = {},
                             QWidget* parent = nullptr);

    // The dialog's command entry. Returns false for an identifier it does not know.
    bool on_command(int command_id);

    // Shows the window and returns once it is closed: by its close box, Escape or Enter.
    void run();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void set_community_address(std::uint32_t control_value) override;
    std::uint32_t community_address() const override;
    void set_current_address(std::uint32_t control_value) override;
    void set_hosts_path(const std::string& path) override;
    void set_api_path(const std::string& path) override;
    void show_error(const std::string& text) override;
    void begin_wait_cursor() override;
    void end_wait_cursor() override;
    void run_login_dialog() override;

    void connect_button(QPushButton* button, int command_id);
    void add_menu_commands();

    Cdialog_units units_;
    Ctemplate_controls controls_;
    Cip_address_edit* community_address_;
    Cip_address_edit* current_address_;
    QLineEdit* hosts_path_;
    QLineEdit* api_path_;
    Csystem_services& services_;
    Cmain_dialog_model model_;
};
