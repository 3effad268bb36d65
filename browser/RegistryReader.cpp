#include "browser/RegistryReader.h"

#include <new>

namespace {

// Owns an open registry key.
class OpenKey {
public:
    OpenKey(HKEY root, const char* keyPath) : key(nullptr) {
        if (RegOpenKeyExA(root, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) key = nullptr;
    }
    ~OpenKey() {
        if (key) RegCloseKey(key);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    HKEY key;
};

// A zero-filled heap buffer of size bytes, or null.
char* NewZeroed(size_t size) {
    char* buffer = new (std::nothrow) char[size];
    if (buffer) ZeroMemory(buffer, size);
    return buffer;
}

char* CopyOf(const char* text) {
    size_t size = static_cast<size_t>(lstrlenA(text)) + 1;
    char* copy = NewZeroed(size);
    if (copy) lstrcpynA(copy, text, static_cast<int>(size));
    return copy;
}

// REG_SZ data: at most size - 1 characters and a terminator.
char* TextFromString(const char* data, DWORD size) {
    char* text = NewZeroed(static_cast<size_t>(size) + 1);
    if (text) lstrcpynA(text, data, static_cast<int>(size));
    return text;
}

// REG_EXPAND_SZ data with its environment references expanded; null when the
// expansion fails or holds at most one character.
char* TextFromExpandable(const char* data) {
    char scratch[2];
    DWORD needed = ExpandEnvironmentStringsA(data, scratch, sizeof(scratch));
    if (needed <= sizeof(scratch) || needed > 0x7FFFFFFE) return nullptr;
    char* text = NewZeroed(static_cast<size_t>(needed) + 1);
    if (!text) return nullptr;
    DWORD written = ExpandEnvironmentStringsA(data, text, needed);
    if (written >= 1 && written <= needed) return text;
    delete[] text;
    return nullptr;
}

// The value as new text, or null when it is absent, unreadable or of another type.
char* ReadValueText(HKEY key, const char* valueName) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return nullptr;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return nullptr;
    if (size > 0x7FFFFFFE) return nullptr;
    // One spare zero byte: stored text need not be terminated, and the
    // expansion reads up to a terminator.
    char* data = NewZeroed(static_cast<size_t>(size) + 1);
    if (!data) return nullptr;
    char* text = nullptr;
    DWORD readSize = size;
    if (RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(data), &readSize) ==
        ERROR_SUCCESS) {
        if (type == REG_SZ) text = TextFromString(data, size);
        if (type == REG_EXPAND_SZ) text = TextFromExpandable(data);
    }
    delete[] data;
    return text;
}

}  // namespace

int ReadRegistryValue(HKEY root, const char* keyPath, const char* valueName, char** out,
                      const char* defaultValue) {
    if (!out) return 0;
    *out = nullptr;
    if (root && keyPath && *keyPath) {
        OpenKey opened(root, keyPath);
        if (opened.key) *out = ReadValueText(opened.key, valueName);
        if (*out) return 1;
    }
    if (defaultValue) *out = CopyOf(defaultValue);
    return 0;
}

int RegReadString(HKEY root, const char* keyPath, const char* valueName, CMsString& out,
                  const char* defaultValue) {
    char* text = nullptr;
    ReadRegistryValue(root, keyPath, valueName, &text, defaultValue);
    out = text;
    delete[] text;
    return out.GetLength();
}

int RegKeyExists(HKEY root, const char* keyPath) {
    OpenKey opened(root, keyPath);
    return opened.key ? 1 : 0;
}
