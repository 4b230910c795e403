#include "prefixes/lutris_game_file.h"

#include <yaml-cpp/yaml.h>

std::optional<std::string> lutris_game_prefix(const std::string& yaml_text,
                                              const std::string& home) {
    std::string prefix;
    try {
        const YAML::Node root = YAML::Load(yaml_text);
        if (!root.IsMap()) {
            return std::nullopt;
        }
        const YAML::Node game = root["game"];
        if (!game.IsMap()) {
            return std::nullopt;
        }
        const YAML::Node named = game["prefix"];
        if (!named.IsScalar()) {
            return std::nullopt;
        }
        prefix = named.Scalar();
    } catch (const YAML::Exception&) {
        // A file Lutris did not write, or wrote only in part.
        return std::nullopt;
    }
    if (prefix.empty()) {
        return std::nullopt;
    }
    if (prefix == "~" || prefix.rfind("~/", 0) == 0) {
        prefix.replace(0, 1, home);
    }
    return prefix;
}
