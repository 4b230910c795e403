#pragma once
#include "support/fixed_texts.h"

#include <string>

// Hosts-file texts that the rewrite tests share, with LF line ends.

inline const std::string chat{chat_host};
inline const std::string server_list{server_list_host};

// Comment, other names, both service names (one with a comment), two blanks before a service
// name, and a service name after another name.
inline const std::string worked_example =
    "# local names\n127.0.0.1 localhost\n198.51.100.4 " + server_list + "\n198.51.100.4 " + chat +
    " # old entry\n198.51.100.9  " + chat + "\n10.0.0.1 gateway " + chat + "\n";
// What of it a rewrite keeps: the other name stays on its line.
inline const std::string worked_example_kept =
    "# local names\n127.0.0.1 localhost\n10.0.0.1 gateway\n";
