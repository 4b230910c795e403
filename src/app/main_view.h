#pragma once
#include "login/wait_cursor.h"

#include <cstdint>
#include <string>

// The main dialog as its logic sees it. Address values are in the IP-address control's own
// form: the first field in the highest byte. The wait cursor shows only while a rewrite waits
// for the desktop's permission prompt.
class Cmain_view : public Cwait_cursor_view {
  public:
    virtual ~Cmain_view() = default;

    virtual void set_community_address(std::uint32_t control_value) = 0;
    // The value typed into the community-address control; a blank field counts as 0.
    virtual std::uint32_t community_address() const = 0;
    virtual void set_current_address(std::uint32_t control_value) = 0;

    virtual void set_hosts_path(const std::string& path) = 0;
    virtual void set_api_path(const std::string& path) = 0;

    // A message box with the error icon and an OK button; returns when the user closed it.
    virtual void show_error(const std::string& text) = 0;

    // Runs the login dialog modally, owned by the main dialog.
    virtual void run_login_dialog() = 0;
};
