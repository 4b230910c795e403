#pragma once
#include "app/main_dialog_model.h"
#include "app/main_view.h"
#include "app/system_services.h"
#include "prefixes/wine_prefix_discovery.h"
#include "qt/dialog_units.h"
#include "qt/gui_link.h"
#include "qt/template_controls.h"

#include <QDialog>
#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

class QLineEdit;
class QPushButton;
class Cip_address_edit;
class Cqt_prefix_row;

// The main dialog: the two addresses, the hosts-file and API paths, the buttons (with Apply in
// the button column's free slot), and below them the Wine prefix row. Every command goes through
// on_command: a button's, the context menu's (apply, open the hosts file), and a double-click on
// the hosts path (open it). It is an ordinary top-level window with no default button. The
// registry is read from the prefix the row shows.
//
// The window never waits itself: the start-up lookups, the prefix search and every command run
// on workers, and the window says meanwhile what it waits for and fills each answer in as it
// comes. One command runs at a time; while it does, the buttons and menu entries are disabled and
// the wait cursor shows over the window. `services` must outlive every worker the window started
// (see background_work_running): a worker may go on after the window has gone.
class Cqt_main_dialog : public QDialog, private Cmain_view {
  public:
    using prefix_search_function = std::function<wine_prefix_search()>;

    // `find_prefixes` runs on a worker; without one the row offers only another folder.
    explicit Cqt_main_dialog(Csystem_services& services, prefix_search_function find_prefixes = {},
                             QWidget* parent = nullptr);
    ~Cqt_main_dialog() override;

    // The dialog's command entry. Returns false for an identifier it does not know; a command
    // given while another runs is refused (and true returned).
    bool on_command(int command_id);

    // Whether a command (the start-up lookups among them) runs now.
    bool busy() const { return busy_; }

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

    struct session;

    void connect_button(QPushButton* button, int command_id);
    void add_menu_commands();
    void describe_controls(QWidget* apply);
    void start_prefix_search(prefix_search_function find_prefixes);
    void show_prefixes(const wine_prefix_search& search);
    void show_waiting(const std::string& what);
    void fit_to_prefix_row();
    void run_command(std::function<void(Cmain_dialog_model&)> command);
    void set_busy(bool busy);

    Cdialog_units units_;
    Ctemplate_controls controls_;
    Cip_address_edit* community_address_;
    Cip_address_edit* current_address_;
    QLineEdit* hosts_path_;
    QLineEdit* api_path_;
    Cqt_prefix_row* prefix_row_ = nullptr;
    std::vector<QWidget*> command_buttons_;
    Csystem_services& services_;
    std::shared_ptr<Cgui_link> link_;
    // The logic and what it sees of the window; workers share it.
    std::shared_ptr<session> session_;
    bool busy_ = false;
    // Where the focus was when a command began: disabling its button moves it.
    QPointer<QWidget> focus_before_command_;
};
