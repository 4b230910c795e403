#pragma once
#include <optional>
#include <string>

// What the helper, running as root for any caller, checks and sets before it touches a file.

// Makes a write past the caller's file-size limit fail with an error instead of ending the
// process between creating its temporary file and removing it: ignores SIGXFSZ and raises the
// soft limit to the hard one.
void keep_writes_from_being_killed();

// Why `path` is not a file that only root can change, or none when it is: the file (when it
// exists) must be a regular file owned by root that no one else may write, and every directory
// passed on the way to it, through any symbolic links, must be owned by root and writable by
// no one else. Otherwise another user could choose, or swap, the file that root rewrites.
std::optional<std::string> why_not_root_owned(const std::string& path);
