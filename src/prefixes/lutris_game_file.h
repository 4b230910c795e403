#pragma once
#include <optional>
#include <string>

// The Wine prefix a Lutris game file names (its `game: prefix:`), with a leading "~/" taken as
// `home`; none when the text is no YAML or names none.
std::optional<std::string> lutris_game_prefix(const std::string& yaml_text,
                                              const std::string& home);
