#include "qt/waiting_services.h"

template <typename Call>
auto Cwaiting_services::waiting_for(const std::string& what, Call call) -> decltype(call()) {
    waiting_(what);
    auto result = call();
    waiting_({});
    return result;
}

std::unique_ptr<Cregistry_handle> Cwaiting_services::make_registry_handle() {
    return services_.make_registry_handle();
}

int Cwaiting_services::exchange_with_server(const std::string& host, std::int32_t port,
                                            std::string_view request, std::string& output) {
    return services_.exchange_with_server(host, port, request, output);
}

std::optional<std::uint32_t> Cwaiting_services::look_up_host(const std::string& name) {
    return waiting_for("Looking up " + name + "…", [&] { return services_.look_up_host(name); });
}

std::string Cwaiting_services::hosts_file_path() {
    return services_.hosts_file_path();
}

int Cwaiting_services::update_hosts_file(const std::string& path, const std::string& address) {
    return services_.update_hosts_file(path, address);
}

bool Cwaiting_services::may_rewrite_with_rights(const std::string& path) {
    return services_.may_rewrite_with_rights(path);
}

int Cwaiting_services::update_hosts_file_with_rights(const std::string& address) {
    return waiting_for("Waiting for the permission to rewrite the hosts file…",
                       [&] { return services_.update_hosts_file_with_rights(address); });
}

std::string Cwaiting_services::wolapi_install_path() {
    return services_.wolapi_install_path();
}

void Cwaiting_services::sleep_ms(unsigned milliseconds) {
    services_.sleep_ms(milliseconds);
}

void Cwaiting_services::open_in_text_editor(const std::string& path) {
    services_.open_in_text_editor(path);
}

void Cwaiting_services::open_web_page(const std::string& address) {
    services_.open_web_page(address);
}
