#include "app/main_dialog_model.h"

#include "app/ip_address_value.h"
#include "login/wait_cursor.h"
#include "support/fixed_texts.h"
#include "support/resolve_host.h"

#include <algorithm>
#include <iterator>
#include <optional>

namespace {
constexpr std::uint32_t no_address_value = 0xFFFFFFFF;
constexpr unsigned wait_after_rewrite_ms = 25;
}  // namespace

Cmain_dialog_model::Cmain_dialog_model(Cmain_view& view, Csystem_services& services)
    : view_(view), services_(services) {}

void Cmain_dialog_model::initialise() {
    show_hosts_path();
    read_api_path();
    look_up_addresses();
}

void Cmain_dialog_model::show_hosts_path() {
    hosts_path_ = services_.hosts_file_path();
    view_.set_hosts_path(hosts_path_);
}

void Cmain_dialog_model::look_up_addresses() {
    const std::optional<std::uint32_t> community =
        services_.look_up_host(community_server_list_host);
    view_.set_community_address(community ? control_value_from_address(*community)
                                          : no_address_value);
    refresh_current_address();
}

void Cmain_dialog_model::read_api_path() {
    api_path_ = services_.wolapi_install_path();
    view_.set_api_path(api_path_);
}

bool is_main_command(int command_id) {
    return std::find(std::begin(main_commands), std::end(main_commands), command_id) !=
           std::end(main_commands);
}

bool Cmain_dialog_model::on_command(int command_id) {
    switch (command_id) {
        case command_apply:
            apply();
            return true;
        case command_reset:
            rewrite_hosts_file("");
            return true;
        case command_edit_hosts:
            services_.open_in_text_editor(hosts_path_);
            return true;
        case command_test:
            test();
            return true;
        case command_ladders:
            services_.open_web_page(ladders_page_address);
            return true;
        default:
            return false;
    }
}

void Cmain_dialog_model::apply() {
    const std::uint32_t address = address_from_control_value(view_.community_address());
    rewrite_hosts_file(address_text(address));
}

void Cmain_dialog_model::rewrite_hosts_file(const std::string& address) {
    int result = services_.update_hosts_file(hosts_path_, address);
    if (result != 0 && services_.may_rewrite_with_rights(hosts_path_)) {
        // The desktop asks the user for the right; the program never sees a password.
        Cwait_cursor wait(view_);
        result = services_.update_hosts_file_with_rights(address);
    }
    if (result != 0) {
        view_.show_error(hosts_update_failed_text);
    }
    // The resolver may still answer from before the rewrite; give it a moment.
    services_.sleep_ms(wait_after_rewrite_ms);
    refresh_current_address();
}

void Cmain_dialog_model::refresh_current_address() {
    const std::optional<std::uint32_t> current = services_.look_up_host(server_list_host);
    if (current) {
        view_.set_current_address(control_value_from_address(*current));
    }
}

void Cmain_dialog_model::test() {
    // The address only decides whether the service can be reached at all.
    if (services_.look_up_host(server_list_host)) {
        view_.run_login_dialog();
    }
}
