#include "registry/wine_prefix_choice.h"

#include "registry/wine_prefix_registry.h"

#include <utility>

void use_wine_prefix(std::string directory) {
    Cwine_prefix_registry::instance().use_prefix(std::move(directory));
}

std::vector<bool> wine_prefix_keys_held(const std::string& directory,
                                        const std::vector<std::string>& subkeys) {
    // One registry for all the keys: it parses a file again only when it changes.
    Cwine_prefix_registry registry(directory);
    std::vector<bool> held;
    for (const std::string& subkey : subkeys) {
        wine_open_key key;
        held.push_back(registry.open(registry_root::local_machine, subkey, key) == 0);
    }
    return held;
}

std::u16string text_from_prefix_code_page(std::string_view bytes) {
    return Cwine_prefix_registry::instance().code_page()->to_utf16(bytes);
}
