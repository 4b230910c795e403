#include "hosts/hosts_file_system.h"
#include "hosts/wine_hosts_file.h"

#include "hosts/file_calls_win32.h"

namespace {

std::optional<Cfile_handle> handle_if_open(HANDLE handle) {
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    return Cfile_handle{reinterpret_cast<std::intptr_t>(handle)};
}

std::string directory_of(const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string{"."} : path.substr(0, separator + 1);
}

}  // namespace

std::optional<Cfile_handle> open_for_reading(const std::string& path, bool& missing) {
    // Shared both ways, as the hosts file is opened everywhere, so that an editor holding it
    // open does not stop the rewrite.
    const HANDLE handle =
        file_calls().create_file(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = GetLastError();
    missing = handle == INVALID_HANDLE_VALUE &&
              (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND);
    return handle_if_open(handle);
}

bool text_files_use_crlf(const std::string& path) {
    return !is_wine_unix_hosts_file(path);
}

void clear_read_only(const std::string& path) {
    // Cleared for good: the mark is not put back, not even when the rewrite fails.
    const DWORD attributes = file_calls().get_file_attributes(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        file_calls().set_file_attributes(path.c_str(),
                                         attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
    }
}

std::optional<std::string> replacement_target(const std::string& path) {
    return path;
}

std::optional<temporary_file> create_file_beside(const std::string& target, bool) {
    // The swap keeps the target's access list and gives the new file its attributes.
    char name[MAX_PATH]{};
    if (file_calls().get_temp_file_name(directory_of(target).c_str(), "hst", 0, name) == 0) {
        return std::nullopt;
    }
    std::optional<Cfile_handle> file = handle_if_open(file_calls().create_file(
        name, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        file_calls().delete_file(name);
        return std::nullopt;
    }
    return temporary_file{name, std::move(*file)};
}

bool replace_file(const std::string& replacement, const std::string& target, bool target_exists,
                  std::string& stranded) {
    if (!target_exists) {
        return file_calls().move_file(replacement.c_str(), target.c_str(),
                                      MOVEFILE_WRITE_THROUGH) != 0;
    }
    // The swap does not carry the attributes everywhere (under Wine the new file keeps only its
    // own): the new file takes the old one's, less read-only, or the swap is not made.
    const DWORD attributes = file_calls().get_file_attributes(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        !file_calls().set_file_attributes(replacement.c_str(),
                                          attributes & ~DWORD{FILE_ATTRIBUTE_READONLY})) {
        return false;
    }
    // Named by us, the old file's stand-in: without one, Wine's swap leaves an empty file of its
    // own behind whenever it fails.
    const std::string backup = replacement + ".old";
    const bool replaced =
        file_calls().replace_file(target.c_str(), replacement.c_str(), backup.c_str(),
                                  REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0;
    if (replaced || GetLastError() != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
        file_calls().delete_file(backup.c_str());
        return replaced;
    }
    // The old file already went to the backup name: finish the swap, or put it back. When
    // neither works the backup holds the only copy of the old text.
    if (move_over(replacement, target)) {
        file_calls().delete_file(backup.c_str());
        return true;
    }
    if (!move_over(backup, target)) {
        stranded = backup;
    }
    return false;
}

bool move_over(const std::string& from, const std::string& to) {
    return file_calls().move_file(from.c_str(), to.c_str(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void remove_file(const std::string& path) {
    file_calls().delete_file(path.c_str());
}

std::optional<Cfile_handle> open_for_rewrite(const std::string& path) {
    return handle_if_open(file_calls().create_file(path.c_str(), GENERIC_WRITE,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                   OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}
