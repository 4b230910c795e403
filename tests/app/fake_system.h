#pragma once
#include "app/main_view.h"
#include "app/system_services.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// Network-order address from its four octets, first octet first in memory.
std::uint32_t address_of(unsigned char a, unsigned char b, unsigned char c, unsigned char d);

// One log for view and system, so that tests see the order of what happened.
using event_log = std::vector<std::string>;

class fake_main_view : public Cmain_view {
  public:
    explicit fake_main_view(event_log& log) : log_(log) {}

    void set_community_address(std::uint32_t value) override { community = value; }
    std::uint32_t community_address() const override { return community; }
    void set_current_address(std::uint32_t value) override;
    void set_hosts_path(const std::string& path) override { hosts_path = path; }
    void set_api_path(const std::string& path) override { api_path = path; }
    void show_error(const std::string& text) override { log_.push_back("message " + text); }
    void run_login_dialog() override { log_.push_back("login dialog"); }
    void begin_wait_cursor() override { log_.push_back("wait cursor on"); }
    void end_wait_cursor() override { log_.push_back("wait cursor off"); }

    std::uint32_t community = 0;
    std::optional<std::uint32_t> current;  // empty until set, as the control starts
    std::string hosts_path;
    std::string api_path;

  private:
    int rewrite(const std::string& address, int result);

    event_log& log_;
};

// A system whose resolver answers from a table and whose hosts file is a variable: a
// successful rewrite, direct or through the privileged helper, maps the server-list host to the
// written address, or unmaps it.
class fake_system : public Csystem_services {
  public:
    explicit fake_system(event_log& log) : log_(log) {}

    std::optional<std::uint32_t> look_up_host(const std::string& name) override;
    std::string hosts_file_path() override { return "/etc/hosts"; }
    int update_hosts_file(const std::string& path, const std::string& address) override;
    bool may_rewrite_with_rights(const std::string& path) override;
    int update_hosts_file_with_rights(const std::string& address) override;
    void set_prompt_owner(window_id) override {}
    std::string wolapi_install_path() override { return "C:\\WOLAPI"; }
    void sleep_ms(unsigned milliseconds) override;
    void open_in_text_editor(const std::string& path) override { log_.push_back("edit " + path); }
    void open_web_page(const std::string& address) override { log_.push_back("web " + address); }
    std::unique_ptr<Cregistry_handle> make_registry_handle() override;
    int exchange_with_server(const std::string& host, std::int32_t port, std::string_view request,
                             std::string& output) override;

    std::map<std::string, std::uint32_t> resolver;
    std::optional<std::string> redirected_to;  // what the hosts file maps the service names to
    int rewrite_result = 0;
    // The user may not write the file; the helper's rewrite gives `helper_result`.
    bool lacks_rights = false;
    int helper_result = 0;

  private:
    int rewrite(const std::string& address, int result);

    event_log& log_;
};
