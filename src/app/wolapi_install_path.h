#pragma once
#include <string>

// The game-service API's install path from the registry, or empty text. Never fails.
std::string wolapi_install_path();
