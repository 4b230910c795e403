#include "qt/views_on_gui_thread.h"

void Cmain_view_on_gui_thread::set_community_address(std::uint32_t control_value) {
    link_->call([&] { view_.set_community_address(control_value); });
}

std::uint32_t Cmain_view_on_gui_thread::community_address() const {
    return link_->call([&] { return view_.community_address(); });
}

void Cmain_view_on_gui_thread::set_current_address(std::uint32_t control_value) {
    link_->call([&] { view_.set_current_address(control_value); });
}

void Cmain_view_on_gui_thread::set_hosts_path(const std::string& path) {
    link_->call([&] { view_.set_hosts_path(path); });
}

void Cmain_view_on_gui_thread::set_api_path(const std::string& path) {
    link_->call([&] { view_.set_api_path(path); });
}

void Cmain_view_on_gui_thread::show_error(const std::string& text) {
    link_->call([&] { view_.show_error(text); });
}

void Cmain_view_on_gui_thread::run_login_dialog() {
    link_->call([&] { view_.run_login_dialog(); });
}

int Ccombo_view_on_gui_thread::add_string(const std::string& text) {
    return link_->call([&] { return combo_.add_string(text); });
}

void Ccombo_view_on_gui_thread::set_item_data(int index, std::int64_t data) {
    link_->call([&] { combo_.set_item_data(index, data); });
}

void Ccombo_view_on_gui_thread::set_selection(int index) {
    link_->call([&] { combo_.set_selection(index); });
}

int Ccombo_view_on_gui_thread::selected_index() const {
    return link_->call([&] { return combo_.selected_index(); });
}

std::int64_t Ccombo_view_on_gui_thread::item_data(int index) const {
    return link_->call([&] { return combo_.item_data(index); });
}

bool Clogin_view_on_gui_thread::read_controls(std::int32_t& reset_passwords,
                                              std::string& transcript) {
    return link_->call([&] { return view_.read_controls(reset_passwords, transcript); });
}

void Clogin_view_on_gui_thread::show_in_controls(std::int32_t reset_passwords,
                                                 const std::string& transcript) {
    link_->call([&] { view_.show_in_controls(reset_passwords, transcript); });
}
