#pragma once
#include <cstddef>
#include <string>

// The most a hosts file may hold for a rewrite: far above the largest block lists in use, and a
// bound on the memory a rewrite takes.
inline constexpr std::size_t largest_hosts_file = std::size_t{256} << 20;

// Full path of the platform's hosts file. Never fails: a failed directory query gives a fixed
// fall-back path.
std::string hosts_file_path();

// Drops every line of the hosts file at `path` that maps the chat host or the server-list host
// and, when `address` is not empty, appends one line for each that maps it to `address`.
// Returns 0 on success and 1 on failure; a failed rewrite leaves the file's content as it was.
// Anything but a regular file of at most largest_hosts_file bytes fails at once.
int update_hosts_file(const std::string& path, const std::string& address);
