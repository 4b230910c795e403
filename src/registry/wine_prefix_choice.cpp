#include "registry/wine_prefix_choice.h"

#include "registry/case_fold.h"
#include "registry/wine_key_name_scan.h"
#include "registry/wine_prefix_registry.h"

#include <sys/stat.h>

#include <algorithm>
#include <utility>

namespace {

// The prefix's registry files looked over without being parsed: most prefixes hold none of the
// keys asked for, and a key opens only if every name on its path is a key written in one of the
// files, which a quick look at their key lines can rule out.
class Cregistry_glance {
  public:
    explicit Cregistry_glance(const std::array<std::string, 2>& files) {
        for (const std::string& file : files) {
            struct stat seen {};
            if (!file.empty() && stat(file.c_str(), &seen) == 0) {
                if (std::optional<std::string> text = read_wine_registry_file(file, seen)) {
                    texts_.push_back(std::move(*text));
                }
            }
        }
    }

    // False when the key cannot open. The names asked for are ASCII, which every ANSI code page
    // keeps as it is; a name beyond ASCII is not looked for.
    bool may_open(const std::string& subkey) {
        if (std::any_of(subkey.begin(), subkey.end(),
                        [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
            return true;
        }
        for (std::size_t from = 0; from < subkey.size();) {
            const std::size_t cut = std::min(subkey.find('\\', from), subkey.size());
            if (cut > from && !may_be_written(subkey.substr(from, cut - from))) {
                return false;
            }
            from = cut + 1;
        }
        return true;
    }

  private:
    bool may_be_written(std::string name) {
        std::transform(name.begin(), name.end(), name.begin(), [](char c) {
            return static_cast<char>(fold_case(static_cast<char16_t>(c)));
        });
        const auto known = std::find_if(names_.begin(), names_.end(),
                                        [&name](const auto& seen) { return seen.first == name; });
        if (known != names_.end()) {
            return known->second;
        }
        const bool written = std::any_of(texts_.begin(), texts_.end(), [&name](const auto& text) {
            return may_hold_key_named(text, name);
        });
        names_.emplace_back(std::move(name), written);
        return written;
    }

    std::vector<std::string> texts_;
    std::vector<std::pair<std::string, bool>> names_;  // the names looked for, and the answers
};

}  // namespace

void use_wine_prefix(std::string directory) {
    Cwine_prefix_registry::instance().use_prefix(std::move(directory));
}

std::vector<bool> wine_prefix_keys_held(const std::string& directory,
                                        const std::vector<std::string>& subkeys) {
    // One registry for all the keys: it parses a file again only when it changes.
    Cwine_prefix_registry registry(directory);
    Cregistry_glance glance(registry.file_paths());
    std::vector<bool> held;
    for (const std::string& subkey : subkeys) {
        wine_open_key key;
        held.push_back(glance.may_open(subkey) &&
                       registry.open(registry_root::local_machine, subkey, key) == 0);
    }
    return held;
}

std::u16string text_from_prefix_code_page(std::string_view bytes) {
    return Cwine_prefix_registry::instance().code_page()->to_utf16(bytes);
}
