#pragma once
#include "login/login_services.h"

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A registry of keys and values, each with the status its open or read returns. Paths compare
// exactly, as the callers spell them. Every operation on a handle is logged as
// "h<handle number> open|close <path>", failed opens as "... open <path> failed".
class fake_registry {
  public:
    struct key {
        std::int32_t open_status = 0;
        // value name -> status of the read and the text it gives
        std::map<std::string, std::pair<std::int32_t, std::string>> values;
    };

    key& add_key(registry_root hive, const std::string& path) { return keys[{hive, path}]; }
    void add_default_value(registry_root hive, const std::string& path, const std::string& text) {
        add_key(hive, path).values[""] = {0, text};
    }
    // Stores an account as "Wchat\Nick<n>\Nick" and "...\Pass".
    void add_account(int number, const std::string& nick, const std::string& password);

    std::unique_ptr<Cregistry_handle> make_handle();

    std::map<std::pair<registry_root, std::string>, key> keys;
    std::vector<std::string> log;
    int handles_made = 0;
    int open_keys = 0;
    int most_open_keys = 0;
};

// Login services over a fake registry and a script of exchange results.
class fake_login_services : public Clogin_services {
  public:
    struct exchange_call {
        std::string host;
        std::int32_t port;
        std::string request;
        int cursor_depth;  // of the view, when the call was made
    };

    explicit fake_login_services(const int* view_cursor_depth = nullptr)
        : view_cursor_depth_(view_cursor_depth) {}

    std::unique_ptr<Cregistry_handle> make_registry_handle() override {
        return registry.make_handle();
    }
    int exchange_with_server(const std::string& host, std::int32_t port, std::string_view request,
                             std::string& output) override;

    // The next exchange returns `result` and leaves `output` as given. Without a script an
    // exchange fails with an empty output.
    void then_answer(int result, std::string output) {
        script.emplace_back(result, std::move(output));
    }

    fake_registry registry;
    std::deque<std::pair<int, std::string>> script;
    std::vector<exchange_call> calls;

  private:
    const int* view_cursor_depth_;
};
