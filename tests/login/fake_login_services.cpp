#include "login/fake_login_services.h"

#include <algorithm>

namespace {

class fake_handle : public Cregistry_handle {
  public:
    fake_handle(fake_registry& registry, int number) : registry_(registry), number_(number) {}
    ~fake_handle() override { close(); }

    std::int32_t open(registry_root hive, const std::string& subkey,
                      std::uint32_t access) override {
        close();
        const auto found = registry_.keys.find({hive, subkey});
        std::int32_t status = 2;
        if (access != key_read) {
            status = 5;  // the login lists only ever read
        } else if (found != registry_.keys.end()) {
            status = found->second.open_status;
        }
        record("open " + subkey + (status == 0 ? "" : " failed"));
        if (status == 0) {
            held_ = &found->second;
            path_ = subkey;
            ++registry_.open_keys;
            registry_.most_open_keys = std::max(registry_.most_open_keys, registry_.open_keys);
        }
        return status;
    }

    std::int32_t query_value(const std::string& name, std::string& value) override {
        if (held_ == nullptr) {
            return 6;  // an invalid handle
        }
        const auto found = held_->values.find(name);
        if (found == held_->values.end()) {
            return 2;
        }
        if (found->second.first == 0) {
            value = found->second.second;
        }
        return found->second.first;
    }

    std::int32_t close() override {
        if (held_ != nullptr) {
            record("close " + path_);
            held_ = nullptr;
            --registry_.open_keys;
        }
        return 0;
    }

  private:
    void record(const std::string& what) {
        registry_.log.push_back("h" + std::to_string(number_) + " " + what);
    }

    fake_registry& registry_;
    int number_;
    fake_registry::key* held_ = nullptr;
    std::string path_;
};

}  // namespace

void fake_registry::add_account(int number, const std::string& nick, const std::string& password) {
    const std::string keys_path = "Wchat\\Nick" + std::to_string(number);
    add_default_value(registry_root::classes_root, keys_path + "\\Nick", nick);
    add_default_value(registry_root::classes_root, keys_path + "\\Pass", password);
}

std::unique_ptr<Cregistry_handle> fake_registry::make_handle() {
    return std::make_unique<fake_handle>(*this, ++handles_made);
}

int fake_login_services::exchange_with_server(const std::string& host, std::int32_t port,
                                              std::string_view request, std::string& output) {
    calls.push_back({host, port, std::string(request),
                     view_cursor_depth_ == nullptr ? 0 : *view_cursor_depth_});
    if (script.empty()) {
        return 1;
    }
    auto [result, text] = std::move(script.front());
    script.pop_front();
    output = std::move(text);
    return result;
}
