#include "registry/wine_prefix_choice.h"

#include "registry/wine_prefix_registry.h"

#include <utility>

void use_wine_prefix(std::string directory) {
    Cwine_prefix_registry::instance().use_prefix(std::move(directory));
}

bool wine_prefix_holds_key(const std::string& directory, const std::string& subkey) {
    Cwine_prefix_registry registry(directory);
    wine_open_key key;
    return registry.open(registry_root::local_machine, subkey, key) == 0;
}

std::u16string text_from_prefix_code_page(std::string_view bytes) {
    return Cwine_prefix_registry::instance().code_page()->to_utf16(bytes);
}
