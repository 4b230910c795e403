#pragma once
// Where the hosts file lies for the Windows program. Under Wine the file that counts is the Unix
// /etc/hosts, which Wine's resolver reads; the prefix's drivers\etc\hosts is read by nothing.
#include <optional>
#include <string>

// The Windows way: the system directory's drivers\etc\hosts (the Windows directory's hosts
// outside the NT family), or a fixed path when the directory query fails.
std::string windows_hosts_file_path();

// Under Wine, the DOS path of the Unix /etc/hosts on the drive Wine maps it to (as
// Z:\etc\hosts); none on Windows, or when no drive maps it.
std::optional<std::string> wine_unix_hosts_path();

// Whether `path` is the Unix /etc/hosts seen through Wine, whose LF line ends must stay (the Unix
// resolver would read a CR as part of a name).
bool is_wine_unix_hosts_file(const std::string& path);
