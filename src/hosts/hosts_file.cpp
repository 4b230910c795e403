#include "hosts/hosts_file.h"

#include "hosts/hosts_file_system.h"
#include "hosts/hosts_text.h"
#include "hosts/line_ends.h"

#include <algorithm>
#include <limits>

namespace {

using pieces = std::vector<std::string_view>;

// Writes `content` from the start of a file now `file_length` bytes long, then cuts off what a
// longer earlier text left behind it. A file that only grows is never cut: a refused cut then
// costs nothing.
bool write_text(Cfile_handle& file, const pieces& content, std::uint64_t& file_length) {
    std::uint64_t length = 0;
    for (const std::string_view piece : content) {
        // Counted before the write: a write that fails may have lengthened the file all the same.
        file_length = std::max(file_length, length + piece.size());
        if (!file.write_at(length, piece)) {
            return false;
        }
        length += piece.size();
    }
    if (file_length > length) {
        if (!file.set_length(length)) {
            return false;
        }
        file_length = length;
    }
    return true;
}

// The new text is made whole beside the old file and swapped in, so that no moment leaves a
// hosts file cut short. A swap that fails halfway may leave the old file under another name:
// `stranded` then names it.
bool replace_whole_file(const std::string& path, const pieces& content, bool exists,
                        std::string& stranded) {
    const std::optional<std::string> target = replacement_target(path);
    if (!target) {
        return false;
    }
    std::optional<temporary_file> temporary = create_file_beside(*target, exists);
    if (!temporary) {
        return false;
    }
    std::uint64_t length = 0;
    const bool written = write_text(temporary->file, content, length) && temporary->file.flush();
    if (temporary->file.close() && written &&
        replace_file(temporary->path, *target, exists, stranded)) {
        return true;
    }
    remove_file(temporary->path);
    return false;
}

enum class left_in_place { new_text, new_text_unconfirmed, old_text, no_whole_text };

constexpr std::uint64_t unknown_length = std::numeric_limits<std::uint64_t>::max();

// For a file that cannot be swapped (a mount point, a directory that takes no new file, a file
// another program holds open): the old text is only overwritten, the length cut once the new text
// is whole, and the old text written back when the new one does not fit. A new text written
// whole stays even when the disk will not confirm it: writing the old one back would need the
// same disk. `file_length` is what the file may hold now.
left_in_place rewrite_in_place(const std::string& path, const pieces& content,
                               std::string_view old_bytes, std::uint64_t file_length) {
    std::optional<Cfile_handle> file = open_for_rewrite(path);
    if (!file) {
        return left_in_place::no_whole_text;
    }
    std::uint64_t length = file_length;
    if (write_text(*file, content, length)) {
        return file->flush() ? left_in_place::new_text : left_in_place::new_text_unconfirmed;
    }
    if (!write_text(*file, {old_bytes}, length)) {
        return left_in_place::no_whole_text;
    }
    file->flush();
    return left_in_place::old_text;
}

// A failed swap left the old file under the name `stranded`. Only once the hosts path holds a
// whole text again may that copy go; until then the old text is brought back, by a move or by
// writing it out.
void settle_stranded(const std::string& path, const std::string& stranded,
                     std::string_view old_bytes, bool path_is_whole) {
    if (!path_is_whole) {
        if (move_over(stranded, path)) {
            return;
        }
        // What the failed rewrite left there may be longer than the old text.
        path_is_whole = rewrite_in_place(path, {old_bytes}, old_bytes, unknown_length) !=
                        left_in_place::no_whole_text;
    }
    if (path_is_whole) {
        remove_file(stranded);
    }
}

bool write_hosts_file(const std::string& path, const pieces& content, std::string_view old_bytes,
                      bool exists) {
    std::string stranded;
    if (replace_whole_file(path, content, exists, stranded)) {
        return true;
    }
    const left_in_place left = rewrite_in_place(path, content, old_bytes, old_bytes.size());
    if (!stranded.empty()) {
        settle_stranded(path, stranded, old_bytes, left != left_in_place::no_whole_text);
    }
    return left == left_in_place::new_text;
}

}  // namespace

int update_hosts_file(const std::string& path, const std::string& address) {
    clear_read_only(path);
    std::string old_bytes;
    bool exists = false;
    bool missing = false;
    if (std::optional<Cfile_handle> file = open_for_reading(path, missing)) {
        // Only a regular file's text is rewritten: a device would be replaced by a file, and a
        // huge file cost its size in memory.
        if (!file->read_all(old_bytes, largest_hosts_file)) {
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
