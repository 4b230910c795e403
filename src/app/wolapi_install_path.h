#pragma once
#include <string>

// The key the game-service API's installer leaves under HKEY_LOCAL_MACHINE.
inline constexpr char wolapi_key_path[] = "SOFTWARE\\Westwood\\WOLAPI";

// The game-service API's install path from the registry, or empty text. Never fails.
std::string wolapi_install_path();
