#include "util/WideFileUtils.h"

#include "util/FileUtils.h"

int FileExistsW(const WCHAR* path) {
    if (!path || !*path) return 0;
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A directory does not open without FILE_FLAG_BACKUP_SEMANTICS.
char* ReadFileBytesW(const WCHAR* path, DWORD* size) {
    return ReadOpenFile(
        CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
        size);
}
