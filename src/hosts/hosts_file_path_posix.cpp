#include "hosts/hosts_file.h"

// The resolver that Wine's programs use reads this file too.
std::string hosts_file_path() {
    return "/etc/hosts";
}
