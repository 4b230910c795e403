#include "hosts/file_calls_win32.h"

win32_file_calls& file_calls() {
    static win32_file_calls calls{CreateFileA,
                                  ReadFile,
                                  WriteFile,
                                  GetFileType,
                                  GetFileInformationByHandle,
                                  SetFilePointerEx,
                                  SetEndOfFile,
                                  FlushFileBuffers,
                                  CloseHandle,
                                  GetFileAttributesA,
                                  SetFileAttributesA,
                                  GetTempFileNameA,
                                  ReplaceFileA,
                                  MoveFileExA,
                                  DeleteFileA};
    return calls;
}
