#include "util/FileUtils.h"

#include <memory>
#include <new>

namespace {

// Owns an open file handle for the length of one read.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    ~FileHandle() {
        if (IsOpen()) CloseHandle(m_handle);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

}  // namespace

char* UnquotedCopy(const char* path) {
    if (!path) return nullptr;
    int length = lstrlenA(path);
    if (length <= 1) return nullptr;
    char* copy = new (std::nothrow) char[static_cast<size_t>(length) + 1];
    if (!copy) return nullptr;
    if (path[0] == '"' && path[length - 1] == '"') {
        copy[0] = 0;
        lstrcpynA(copy, path + 1, length - 1);
    } else {
        lstrcpyA(copy, path);
    }
    return copy;
}

DWORD GetFileAttributesUnquoted(const char* path) {
    std::unique_ptr<char[]> unquoted(UnquotedCopy(path));
    if (!unquoted) return INVALID_FILE_ATTRIBUTES;
    return GetFileAttributesA(unquoted.get());
}

int FileExists(const char* path) {
    if (!path || !*path) return 0;
    DWORD attributes = GetFileAttributesUnquoted(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The buffer holds the file and a terminator, and lengths elsewhere are int:
// sizes from 2 GB up (and the all-ones failure value) are refused.
bool IsReadableFileSize(DWORD low, DWORD high) { return high == 0 && low < 0x7FFFFFFFu; }

char* ReadFileBytes(const char* path, DWORD* size) {
    if (size) *size = 0;
    if (!FileExists(path)) return nullptr;
    return ReadOpenFile(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr),
                        size);
}

char* ReadOpenFile(HANDLE handle, DWORD* size) {
    if (size) *size = 0;
    FileHandle file(handle);
    if (!file.IsOpen()) return nullptr;
    DWORD high = 0;
    DWORD fileSize = GetFileSize(file.Get(), &high);
    if (!IsReadableFileSize(fileSize, high)) return nullptr;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[static_cast<size_t>(fileSize) + 1]);
    if (!buffer) return nullptr;
    DWORD read = 0;
    if (!ReadFile(file.Get(), buffer.get(), fileSize, &read, nullptr) || read != fileSize) return nullptr;
    buffer[fileSize] = 0;
    if (size) *size = fileSize;
    return buffer.release();
}

CMsString ReadFileToString(const char* path) {
    std::unique_ptr<char[]> bytes(ReadFileBytes(path));
    return CMsString(bytes.get());
}

int AddBackslash(CMsString& path) {
    path.TrimRight('\\');
    path += '\\';
    return 1;
}

int RemoveTrailingBackslashes(CMsString& path) {
    path.TrimRight('\\');
    return 1;
}
