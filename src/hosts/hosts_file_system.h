#pragma once
#include <optional>
#include <string>

#include "hosts/file_handle.h"

// What the hosts rewrite needs from the platform's file system. Every function reports failure
// by its result and leaves nothing behind when it fails.

// Opens the file for reading. When it cannot be opened, `missing` tells a file that is not there
// from one that is there but cannot be read.
std::optional<Cfile_handle> open_for_reading(const std::string& path, bool& missing);

// Whether the file at `path` ends its lines in CR LF, which reads as LF, as the platform's text
// files do.
bool text_files_use_crlf(const std::string& path);

// Takes a read-only mark off the file, where the platform has one that would refuse the rewrite.
void clear_read_only(const std::string& path);

// The file that a whole-file replacement must swap: `path` itself or, for a symbolic link, the
// file it points to (the link stays a link). Empty when only an in-place rewrite can follow it.
std::optional<std::string> replacement_target(const std::string& path);

struct temporary_file {
    std::string path;
    Cfile_handle file;
};

// Creates an empty file with an unused name in the directory of `target`. When the target exists
// the new file carries its permissions, owner and extended attributes; empty when they cannot
// all be kept.
std::optional<temporary_file> create_file_beside(const std::string& target, bool target_exists);

// Puts the closed file `replacement` in the place of `target` in one step. A step that fails
// halfway may leave the old file under another name, and `stranded` then names it: the caller
// removes it only once `target` holds a whole text again.
bool replace_file(const std::string& replacement, const std::string& target, bool target_exists,
                  std::string& stranded);

// Moves the file `from` to `to`, over whatever `to` holds.
bool move_over(const std::string& from, const std::string& to);

void remove_file(const std::string& path);

// Opens the file for writing without cutting it short, creating it when it is not there.
std::optional<Cfile_handle> open_for_rewrite(const std::string& path);
