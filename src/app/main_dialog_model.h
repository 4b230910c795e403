#pragma once
#include "app/main_dialog_template.h"
#include "app/main_view.h"
#include "app/system_services.h"

#include <string>

// Command identifiers of the main dialog. Apply and the editor have no control of their own:
// they act when a command message with their identifier reaches the dialog.
enum main_command : int {
    command_apply = main_menu_commands::apply,
    command_reset = main_controls::reset,
    command_edit_hosts = main_menu_commands::open_hosts_file,
    command_test = main_controls::test,
    command_ladders = main_controls::ladders,
};
inline constexpr main_command main_commands[] = {command_apply, command_reset, command_edit_hosts,
                                                 command_test, command_ladders};

// Whether on_command carries out `command_id`.
bool is_main_command(int command_id);

inline constexpr char hosts_update_failed_text[] = "Your hosts file could not be updated.";

// What the main dialog does: it shows where the service host names resolve and rewrites the
// hosts file. The dialog itself only draws.
class Cmain_dialog_model {
  public:
    Cmain_dialog_model(Cmain_view& view, Csystem_services& services);

    // Fills the dialog when it opens: the three steps below, in order. The lookups block until
    // they are done.
    void initialise();
    // Shows where the hosts file lies.
    void show_hosts_path();
    // Shows where the two host names lead: the community's address (all ones when it does not
    // resolve) and the service host's current one.
    void look_up_addresses();

    // Carries out a command. Returns false for an identifier that is not one of ours, which
    // the dialog then handles as it would without us.
    bool on_command(int command_id);

    // Reads the game-service API's install path again (the registry read may have changed) and
    // shows it.
    void read_api_path();

    const std::string& hosts_path() const { return hosts_path_; }
    const std::string& api_path() const { return api_path_; }

  private:
    void rewrite_hosts_file(const std::string& address);
    void refresh_current_address();
    void apply();
    void test();

    Cmain_view& view_;
    Csystem_services& services_;
    std::string hosts_path_;
    std::string api_path_;
};
