#pragma once
#include <string>
#include <vector>

// Where the common game launchers keep their Wine prefixes, below a home folder.
struct launcher_prefix_places {
    // Folders that may be prefixes, in the order they were found (some may be none).
    std::vector<std::string> folders;
    // What was looked at, for the user: "Launcher: folder", in search order.
    std::vector<std::string> searched;
};

// Looks where Lutris, Bottles (also as a Flatpak), Steam's Proton (every library of each Steam
// folder), Heroic, PlayOnLinux and CrossOver keep prefixes, and at ~/.wine. Reads only what
// those launchers write; a file or folder that cannot be read is passed over. Bounded: the first
// 1,024 entries of a folder; the newest 256 game files of a Lutris folder, each of at most 64 KiB
// and 1 MiB in all; the first 256 libraries of a Steam list.
launcher_prefix_places find_launcher_prefix_places(const std::string& home);
