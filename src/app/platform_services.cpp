#include "app/platform_services.h"

#include "app/desktop.h"
#include "app/wolapi_install_path.h"
#include "hosts/hosts_file.h"
#include "registry/registry_key.h"
#include "support/resolve_host.h"
#include "support/tcp_exchange.h"

namespace {

class Creal_registry_handle : public Cregistry_handle {
  public:
    registry_status open(registry_root root, const std::string& subkey,
                         std::uint32_t access) override {
        return key_.open(root, subkey, access);
    }
    registry_status query_value(const std::string& name, std::string& value) override {
        return key_.query_value(name, value);
    }
    registry_status close() override { return key_.close(); }

  private:
    Cregistry_key key_;
};

}  // namespace

Cplatform_services::Cplatform_services(std::string hosts_helper)
    : hosts_helper_(std::move(hosts_helper)) {}

std::unique_ptr<Cregistry_handle> Cplatform_services::make_registry_handle() {
    return std::make_unique<Creal_registry_handle>();
}

int Cplatform_services::exchange_with_server(const std::string& host, std::int32_t port,
                                             std::string_view request, std::string& output) {
    return ::exchange_with_server(host, port, request, output);
}

std::optional<std::uint32_t> Cplatform_services::look_up_host(const std::string& name) {
    return ::look_up_host(name);
}

std::string Cplatform_services::hosts_file_path() {
    return ::hosts_file_path();
}

int Cplatform_services::update_hosts_file(const std::string& path, const std::string& address) {
    return ::update_hosts_file(path, address);
}

bool Cplatform_services::may_rewrite_with_rights(const std::string& path) {
    return ::may_rewrite_with_rights(path);
}

int Cplatform_services::update_hosts_file_with_rights(const std::string& address) {
    return ::update_hosts_file_with_rights(hosts_helper_, address, prompt_owner_);
}

void Cplatform_services::set_prompt_owner(window_id owner) {
    prompt_owner_ = owner;
}

std::string Cplatform_services::wolapi_install_path() {
    return ::wolapi_install_path();
}

void Cplatform_services::sleep_ms(unsigned milliseconds) {
    sleep_milliseconds(milliseconds);
}

void Cplatform_services::open_in_text_editor(const std::string& path) {
    ::open_in_text_editor(path);
}

void Cplatform_services::open_web_page(const std::string& address) {
    ::open_web_page(address);
}
