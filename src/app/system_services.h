#pragma once
#include "login/login_services.h"

#include <cstdint>
#include <optional>
#include <string>

// A window of the platform's toolkit, by its number; none is 0.
enum class window_id : std::uintptr_t { none = 0 };

// Everything the program asks of the system. The dialogs hand it to their logic; tests hand
// in fakes.
class Csystem_services : public Clogin_services {
  public:
    // The first IPv4 address of the name, in network order, or none. A host that resolves to
    // 255.255.255.255 (as a hosts file may say) yields that address, not "none".
    virtual std::optional<std::uint32_t> look_up_host(const std::string& name) = 0;

    virtual std::string hosts_file_path() = 0;

    // Maps both service host names to `address`, or, with an empty text, only removes their
    // lines. Returns 0 on success, 1 when the file could not be rewritten.
    virtual int update_hosts_file(const std::string& path, const std::string& address) = 0;

    // Whether a rewrite of `path` that failed can be asked of the desktop instead: the platform
    // has a privileged helper for this file, and the user may not write it or its directory.
    virtual bool may_rewrite_with_rights(const std::string& path) = 0;

    // The same rewrite done by the privileged helper once the desktop's own prompt allowed it;
    // blocks until the prompt and the helper are done. Returns 0 on success and 1 for a refused
    // or cancelled prompt, a missing helper or a failed rewrite.
    virtual int update_hosts_file_with_rights(const std::string& address) = 0;

    // The window that the desktop's permission prompt belongs to, from now on (none: no owner).
    // Only a platform whose prompt can have an owner makes use of it.
    virtual void set_prompt_owner(window_id owner) = 0;

    // The game-service API's install path from the registry, or an empty text.
    virtual std::string wolapi_install_path() = 0;

    virtual void sleep_ms(unsigned milliseconds) = 0;

    // Opens a file in the text editor and a page in the web browser; failures are silent.
    virtual void open_in_text_editor(const std::string& path) = 0;
    virtual void open_web_page(const std::string& address) = 0;
};
