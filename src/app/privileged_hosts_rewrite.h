#pragma once
#include "app/system_services.h"

#include <string>

// The hosts rewrite for a user who may not write the hosts file: a small helper does it with
// the rights the desktop grants after its own prompt (polkit on Linux, the consent prompt on
// Windows).

// Where the helper lies when the program is installed (beside it), or empty text.
std::string installed_hosts_helper_path();

// Whether `path` is the file the helper rewrites and this process may not write the file or
// the directory it lies in.
bool may_rewrite_with_rights(const std::string& path);

// Runs `helper` for the rewrite with `address` (empty: reset) through the desktop's
// authorisation, its prompt owned by `owner` where the platform allows, and waits for it.
// Returns 0 when the helper rewrote the file, else 1.
int update_hosts_file_with_rights(const std::string& helper, const std::string& address,
                                  window_id owner);
