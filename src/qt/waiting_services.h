#pragma once
#include "app/system_services.h"

#include <functional>
#include <string>

// The system's services as the main window's commands use them from a worker: before each call
// that may wait long it tells `waiting` what for, and afterwards that it waits no longer (an
// empty text). Everything else is passed on as it is.
class Cwaiting_services : public Csystem_services {
  public:
    using waiting_function = std::function<void(const std::string& what)>;

    Cwaiting_services(Csystem_services& services, waiting_function waiting)
        : services_(services), waiting_(std::move(waiting)) {}

    std::unique_ptr<Cregistry_handle> make_registry_handle() override;
    int exchange_with_server(const std::string& host, std::int32_t port, std::string_view request,
                             std::string& output) override;
    std::optional<std::uint32_t> look_up_host(const std::string& name) override;
    std::string hosts_file_path() override;
    int update_hosts_file(const std::string& path, const std::string& address) override;
    bool may_rewrite_with_rights(const std::string& path) override;
    int update_hosts_file_with_rights(const std::string& address) override;
    void set_prompt_owner(window_id owner) override { services_.set_prompt_owner(owner); }
    std::string wolapi_install_path() override;
    void sleep_ms(unsigned milliseconds) override;
    void open_in_text_editor(const std::string& path) override;
    void open_web_page(const std::string& address) override;

  private:
    // Tells `waiting` what for while `call` runs.
    template <typename Call>
    auto waiting_for(const std::string& what, Call call) -> decltype(call());

    Csystem_services& services_;
    waiting_function waiting_;
};
