#include "hosts/hosts_file.h"

#include "hosts/hosts_file_system.h"
#include "hosts/hosts_text.h"
#include "hosts/line_ends.h"

namespace {

using pieces = std::vector<std::string_view>;

bool write_whole(Cfile_handle& file, const pieces& content) {
    std::uint64_t length = 0;
    for (const std::string_view piece : content) {
        if (!file.write_at(length, piece)) {
            return false;
        }
        length += piece.size();
    }
    return file.set_length(length) && file.flush();
}

// The new text is made whole beside the old file and swapped in, so that no moment leaves a
// hosts file cut short.
bool replace_whole_file(const std::string& path, const pieces& content, bool exists) {
    const std::optional<std::string> target = replacement_target(path);
    if (!target) {
        return false;
    }
    std::optional<temporary_file> temporary = create_file_beside(*target, exists);
    if (!temporary) {
        return false;
    }
    const bool written = write_whole(temporary->file, content);
    if (temporary->file.close() && written && replace_file(temporary->path, *target, exists)) {
        return true;
    }
    remove_file(temporary->path);
    return false;
}

// For a file that cannot be swapped (a mount point, a directory that takes no new file, a file
// another program holds open): the old text is only overwritten, the length cut once the new text
// is whole, and the old text written back when the new one does not fit.
bool rewrite_in_place(const std::string& path, const pieces& content, std::string_view old_bytes) {
    std::optional<Cfile_handle> file = open_for_rewrite(path);
    if (!file) {
        return false;
    }
    if (write_whole(*file, content)) {
        return true;
    }
    write_whole(*file, {old_bytes});
    return false;
}

bool write_hosts_file(const std::string& path, const pieces& content, std::string_view old_bytes,
                      bool exists) {
    return replace_whole_file(path, content, exists) || rewrite_in_place(path, content, old_bytes);
}

}  // namespace

int update_hosts_file(const std::string& path, const std::string& address) {
    clear_read_only(path);
    std::string old_bytes;
    bool exists = false;
    bool missing = false;
    if (std::optional<Cfile_handle> file = open_for_reading(path, missing)) {
        if (!file->read_all(old_bytes)) {
            return 1;
        }
        exists = true;
    } else if (!missing) {
        // A file we cannot read would come back without its lines.
        return 1;
    }
    if (text_files_use_crlf(path)) {
        // Line ends translated by hand: the C runtime's text mode would stop at a Ctrl-Z byte.
        const std::string bytes =
            crlf_line_ends(rewritten_hosts_text(lf_line_ends(old_bytes), address));
        return write_hosts_file(path, {bytes}, old_bytes, exists) ? 0 : 1;
    }
    const Chosts_rewrite rewrite(old_bytes, address);
    return write_hosts_file(path, rewrite.pieces(), old_bytes, exists) ? 0 : 1;
}
