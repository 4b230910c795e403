#include "hosts/injected_faults.h"

#include "hosts/file_calls_win32.h"

namespace {

const win32_file_calls real = file_calls();

// A failing call has no effect and reports an I/O error, as a failing disk would.
bool failing(const char* name, call_group group) {
    if (!active_faults()->fails(name, group)) {
        return false;
    }
    SetLastError(ERROR_IO_DEVICE);
    return true;
}

// The swap's worst failure: the old file has gone to the backup name, the new one is still
// under its own.
BOOL failing_halfway(LPCSTR replaced, LPCSTR backup) {
    if (real.move_file(replaced, backup, MOVEFILE_WRITE_THROUGH)) {
        SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
    } else {
        SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT);
    }
    return FALSE;
}

}  // namespace

void install_fault_wrappers() {
    file_calls() = win32_file_calls{
        [](LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
           DWORD disposition, DWORD flags, HANDLE model) {
            return failing("CreateFileA", call_group::open)
                       ? INVALID_HANDLE_VALUE
                       : real.create_file(path, access, share, security, disposition, flags, model);
        },
        [](HANDLE file, LPVOID into, DWORD most, LPDWORD got, LPOVERLAPPED at) {
            return failing("ReadFile", call_group::read)
                       ? FALSE
                       : real.read_file(file, into, most, got, at);
        },
        [](HANDLE file, LPCVOID bytes, DWORD count, LPDWORD put, LPOVERLAPPED at) {
            return failing("WriteFile", call_group::write)
                       ? FALSE
                       : real.write_file(file, bytes, count, put, at);
        },
        [](HANDLE file) {
            return failing("GetFileType", call_group::status) ? DWORD{FILE_TYPE_UNKNOWN}
                                                              : real.get_file_type(file);
        },
        [](HANDLE file, LPBY_HANDLE_FILE_INFORMATION information) {
            return failing("GetFileInformationByHandle", call_group::status)
                       ? FALSE
                       : real.get_file_information(file, information);
        },
        [](HANDLE file, LARGE_INTEGER to, PLARGE_INTEGER now, DWORD from) {
            return failing("SetFilePointerEx", call_group::length)
                       ? FALSE
                       : real.set_file_pointer(file, to, now, from);
        },
        [](HANDLE file) {
            return failing("SetEndOfFile", call_group::length) ? FALSE : real.set_end_of_file(file);
        },
        [](HANDLE file) {
            return failing("FlushFileBuffers", call_group::flush) ? FALSE
                                                                  : real.flush_file_buffers(file);
        },
        [](HANDLE handle) {
            // A failed close still gives the handle back.
            const bool fails = failing("CloseHandle", call_group::close);
            const BOOL closed = real.close_handle(handle);
            return fails ? FALSE : closed;
        },
        [](LPCSTR path) {
            return failing("GetFileAttributesA", call_group::status)
                       ? INVALID_FILE_ATTRIBUTES
                       : real.get_file_attributes(path);
        },
        [](LPCSTR path, DWORD attributes) {
            return failing("SetFileAttributesA", call_group::status)
                       ? FALSE
                       : real.set_file_attributes(path, attributes);
        },
        [](LPCSTR directory, LPCSTR prefix, UINT unique, LPSTR name) {
            return failing("GetTempFileNameA", call_group::open)
                       ? 0u
                       : real.get_temp_file_name(directory, prefix, unique, name);
        },
        [](LPCSTR replaced, LPCSTR replacement, LPCSTR backup, DWORD flags, LPVOID exclude,
           LPVOID reserved) {
            return failing("ReplaceFileA", call_group::rename)
                       ? failing_halfway(replaced, backup)
                       : real.replace_file(replaced, replacement, backup, flags, exclude, reserved);
        },
        [](LPCSTR from, LPCSTR to, DWORD flags) {
            return failing("MoveFileExA", call_group::rename) ? FALSE
                                                              : real.move_file(from, to, flags);
        },
        [](LPCSTR path) {
            return failing("DeleteFileA", call_group::remove) ? FALSE : real.delete_file(path);
        },
    };
}

void remove_fault_wrappers() {
    file_calls() = real;
}
