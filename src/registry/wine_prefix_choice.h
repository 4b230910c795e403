#pragma once
#include <string>
#include <string_view>
#include <vector>

// What the Linux program needs of the registry beyond Cregistry_key: its registry is a Wine
// prefix's, so it chooses the prefix and decodes text in that prefix's code page.

// Cregistry_key reads the prefix `directory` from now on; empty: $WINEPREFIX, else ~/.wine.
void use_wine_prefix(std::string directory);

// Which of `subkeys` open below HKEY_LOCAL_MACHINE in the prefix `directory`, as Cregistry_key
// would open them were that prefix chosen. Each of the prefix's registry files is read once,
// however many keys are asked for.
std::vector<bool> wine_prefix_keys_held(const std::string& directory,
                                        const std::vector<std::string>& subkeys);

// Bytes in the chosen prefix's ANSI code page (1252 where it names none) as UTF-16.
std::u16string text_from_prefix_code_page(std::string_view bytes);
