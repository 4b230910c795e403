#pragma once
#include <cstdint>
#include <memory>
#include <string>

// The two registry roots the program reads from.
enum class registry_root { local_machine, classes_root };

// Access masks as the platform numbers them.
inline constexpr std::uint32_t key_query_value = 0x0001, key_read = 0x20019;

// 0 for success, else the platform's error number (2: no such key or value).
using registry_status = std::int32_t;

// Owns one open registry key. On Windows this is the platform registry seen through its 32-bit
// view (where the games write); elsewhere it reads the registry files of the Wine prefix.
class Cregistry_key {
  public:
    Cregistry_key();
    ~Cregistry_key();
    Cregistry_key(const Cregistry_key&) = delete;
    Cregistry_key& operator=(const Cregistry_key&) = delete;

    // Closes any key held, then opens `subkey` below `root`; holds no key after a failure.
    registry_status open(registry_root root, const std::string& subkey, std::uint32_t access);

    // Reads the named value (empty name: the default value) as its stored bytes less the last
    // one; `value` is written only on success.
    registry_status query_value(const std::string& name, std::string& value);

    // The same value's stored bytes whole, as the ANSI registry calls give them.
    registry_status query_bytes(const std::string& name, std::string& bytes);

    // Closes the key held, if any; returns 0 when none is held.
    registry_status close();

  private:
    struct open_key;  // each platform's own
    std::unique_ptr<open_key> key_;
};
