#pragma once
#include "registry/ansi_code_page.h"
#include "registry/registry_key.h"
#include "registry/wine_registry_file.h"

#include <sys/stat.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The registry of a Wine prefix as a 64-bit Windows program sees it through the 32-bit view:
// HKEY_LOCAL_MACHINE from system.reg; HKEY_CLASSES_ROOT as the user's classes (user.reg) over
// the machine's. Read only.

// An open key: where it was found, user's classes before the machine's.
struct wine_open_key {
    struct place {
        std::shared_ptr<const Cwine_registry> file;
        std::u16string path;
    };
    std::shared_ptr<const Cansi_code_page> code_page;
    std::vector<place> places;
};

// The machine's file and the user's; either may be missing.
using wine_registry_files = std::array<std::shared_ptr<const Cwine_registry>, 2>;

// A registry file larger than this counts as unreadable: a fresh prefix's is under 2 MiB.
inline constexpr unsigned long long wine_registry_file_limit = 256ULL << 20;

// The bytes of the registry file that stat described as `seen`: none for one that is not a regular
// file, is larger than wine_registry_file_limit or too large for memory, or shrinks while being
// read (it counts as missing until it can be read whole).
std::optional<std::string> read_wine_registry_file(const std::string& file,
                                                   const struct stat& seen);

// The prefix's registry files, each parsed once and again only when it changes on disk; a file
// that is missing, not a regular file, larger than wine_registry_file_limit or too large for
// memory counts as missing.
class Cwine_prefix_registry {
  public:
    // $WINEPREFIX, else ~/.wine; empty when neither can be named.
    static std::string prefix_directory();

    // The one instance the program reads through.
    static Cwine_prefix_registry& instance();

    // Reads the prefix `directory`; an empty one is prefix_directory().
    explicit Cwine_prefix_registry(std::string directory = {}) : directory_(std::move(directory)) {}

    // Reads the prefix `directory` from now on (empty: prefix_directory()).
    void use_prefix(std::string directory) { directory_ = std::move(directory); }

    // The machine's file and the user's of the prefix it reads; empty when none can be named.
    std::array<std::string, 2> file_paths() const;

    // The prefix's ANSI code page (1252 where it names none), read again when system.reg changes.
    std::shared_ptr<const Cansi_code_page> code_page();

    registry_status open(registry_root root, const std::string& subkey, wine_open_key& key);

    // The value's bytes as the ANSI registry calls return them (strings converted to the
    // prefix's ANSI code page, terminator included).
    static registry_status query(const wine_open_key& key, const std::string& name,
                                 std::string& data);

  private:
    // A registry file as last read, with what the disk said of it then.
    struct cached_file {
        std::string path;
        struct stat seen {};
        std::shared_ptr<const Cwine_registry> registry;

        // The file at `file` (none when empty), read again only when it changed.
        std::shared_ptr<const Cwine_registry> load(const std::string& file);
    };
    // Brings the files and the code page up to date with the disk.
    wine_registry_files refresh();

    std::string directory_;
    cached_file machine_;
    cached_file user_;
    std::shared_ptr<const Cwine_registry> code_page_source_;
    std::shared_ptr<const Cansi_code_page> code_page_;
};
