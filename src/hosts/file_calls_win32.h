#pragma once
#include <windows.h>

// The Windows calls under the hosts rewrite, reached through one table so that a test can make
// any one of them fail.
struct win32_file_calls {
    decltype(&CreateFileA) create_file;
    decltype(&ReadFile) read_file;
    decltype(&WriteFile) write_file;
    decltype(&GetFileType) get_file_type;
    decltype(&GetFileInformationByHandle) get_file_information;
    decltype(&SetFilePointerEx) set_file_pointer;
    decltype(&SetEndOfFile) set_end_of_file;
    decltype(&FlushFileBuffers) flush_file_buffers;
    decltype(&CloseHandle) close_handle;
    decltype(&GetFileAttributesA) get_file_attributes;
    decltype(&SetFileAttributesA) set_file_attributes;
    decltype(&GetTempFileNameA) get_temp_file_name;
    decltype(&ReplaceFileA) replace_file;
    decltype(&MoveFileExA) move_file;
    decltype(&DeleteFileA) delete_file;
};

win32_file_calls& file_calls();
