#pragma once
#include "app/privileged_hosts_rewrite.h"
#include "app/system_services.h"

// The system as it is: the resolver, the hosts file, the registry, sockets and the desktop.
class Cplatform_services : public Csystem_services {
  public:
    // `hosts_helper`: the privileged helper that rewrites the hosts file, where the platform
    // has one.
    explicit Cplatform_services(std::string hosts_helper = installed_hosts_helper_path());

    std::unique_ptr<Cregistry_handle> make_registry_handle() override;
    int exchange_with_server(const std::string& host, std::int32_t port, std::string_view request,
                             std::string& output) override;
    std::optional<std::uint32_t> look_up_host(const std::string& name) override;
    std::string hosts_file_path() override;
    int update_hosts_file(const std::string& path, const std::string& address) override;
    bool may_rewrite_with_rights(const std::string& path) override;
    int update_hosts_file_with_rights(const std::string& address) override;
    void set_prompt_owner(window_id owner) override;
    std::string wolapi_install_path() override;
    void sleep_ms(unsigned milliseconds) override;
    void open_in_text_editor(const std::string& path) override;
    void open_web_page(const std::string& address) override;

  private:
    std::string hosts_helper_;
    window_id prompt_owner_ = window_id::none;
};
