#include "app/fake_system.h"

#include "support/fixed_texts.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

std::uint32_t address_of(unsigned char a, unsigned char b, unsigned char c, unsigned char d) {
    const unsigned char octets[4] = {a, b, c, d};
    std::uint32_t address;
    std::memcpy(&address, octets, sizeof address);
    return address;
}

void fake_main_view::set_current_address(std::uint32_t value) {
    current = value;
    log_.push_back("show current");
}

std::optional<std::uint32_t> fake_system::look_up_host(const std::string& name) {
    log_.push_back("look up " + name);
    if (name == server_list_host && redirected_to) {
        unsigned a, b, c, d;
        if (std::sscanf(redirected_to->c_str(), "%u.%u.%u.%u", &a, &b, &c, &d) == 4) {
            return address_of(static_cast<unsigned char>(a), static_cast<unsigned char>(b),
                              static_cast<unsigned char>(c), static_cast<unsigned char>(d));
        }
    }
    const auto found = resolver.find(name);
    if (found == resolver.end()) {
        return std::nullopt;
    }
    return found->second;
}

int fake_system::update_hosts_file(const std::string& path, const std::string& address) {
    log_.push_back("rewrite " + path + " with \"" + address + "\"");
    return rewrite(address, rewrite_result);
}

bool fake_system::may_rewrite_with_rights(const std::string& path) {
    log_.push_back("may rewrite " + path + " with rights");
    return lacks_rights;
}

int fake_system::update_hosts_file_with_rights(const std::string& address) {
    log_.push_back("helper rewrites with \"" + address + "\"");
    return rewrite(address, helper_result);
}

int fake_system::rewrite(const std::string& address, int result) {
    if (result == 0) {
        redirected_to = address.empty() ? std::nullopt : std::optional<std::string>(address);
    }
    return result;
}

void fake_system::sleep_ms(unsigned milliseconds) {
    log_.push_back("sleep " + std::to_string(milliseconds));
}

std::unique_ptr<Cregistry_handle> fake_system::make_registry_handle() {
    ADD_FAILURE() << "the main dialog reads no registry key of its own";
    return nullptr;
}

int fake_system::exchange_with_server(const std::string&, std::int32_t, std::string_view,
                                      std::string&) {
    ADD_FAILURE() << "the main dialog talks to no server";
    return 1;
}
