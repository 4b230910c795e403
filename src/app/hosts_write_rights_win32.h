#pragma once
#include <string>

// Whether this process is refused the rewrite of `path` for want of rights that an administrator
// has: it is not elevated, and opening the file for writing (or, when it is missing, adding a
// file to its directory) is denied. A directory at the path, a missing directory or a disk
// error is no want of rights.
bool rewrite_needs_rights(const std::string& path);
