// Linux side of the seam: plain C library stand-ins for the Win32 calls that
// window-free code makes. Text is single-byte here (no lead bytes).
#include "platform/WinSeam.h"

#ifndef _WIN32

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string lastDebugOutput;

int FdOf(HANDLE file) { return static_cast<int>(reinterpret_cast<intptr_t>(file)) - 1; }
HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd) + 1); }
}  // namespace

int lstrlenA(LPCSTR text) { return text ? static_cast<int>(strlen(text)) : 0; }

LPSTR lstrcpyA(LPSTR dest, LPCSTR src) {
    if (!dest) return nullptr;
    return strcpy(dest, src ? src : "");
}

LPSTR lstrcpynA(LPSTR dest, LPCSTR src, int max) {
    if (!dest || max <= 0) return dest;
    int i = 0;
    for (; src && i < max - 1 && src[i]; ++i) dest[i] = src[i];
    dest[i] = 0;
    return dest;
}

int lstrcmpA(LPCSTR a, LPCSTR b) { return strcmp(a ? a : "", b ? b : ""); }

int lstrcmpiA(LPCSTR a, LPCSTR b) { return strcasecmp(a ? a : "", b ? b : ""); }

LPSTR CharNextA(LPCSTR p) {
    if (!p) return nullptr;
    return const_cast<LPSTR>(*p ? p + 1 : p);
}

LCID GetThreadLocale() { return 0x0409; }

UINT GetACP() { return 1252; }

DWORD GetVersion() { return 0x0A00; }

int MultiByteToWideChar(UINT, DWORD, LPCSTR text, int bytes, WCHAR* out, int room) {
    if (!text) return 0;
    if (bytes < 0) bytes = lstrlenA(text) + 1;
    for (int i = 0; out && i < bytes && i < room; ++i) out[i] = static_cast<unsigned char>(text[i]);
    return out && room < bytes ? 0 : bytes;
}

int WideCharToMultiByte(UINT, DWORD, const WCHAR* units, int count, LPSTR out, int room, LPCSTR defaultChar,
                        BOOL* usedDefault) {
    if (!units) return 0;
    if (usedDefault) *usedDefault = FALSE;
    for (int i = 0; out && i < count && i < room; ++i) {
        bool fits = units[i] < 0x100;
        if (!fits && usedDefault) *usedDefault = TRUE;
        out[i] = fits ? static_cast<char>(units[i]) : (defaultChar ? *defaultChar : '?');
    }
    return out && room < count ? 0 : count;
}

BOOL GetStringTypeExA(LCID, DWORD infoType, LPCSTR src, int count, WORD* types) {
    if (infoType != CT_CTYPE1 || !src || !types) return FALSE;
    if (count < 0) count = lstrlenA(src) + 1;
    for (int i = 0; i < count; ++i) {
        unsigned char c = static_cast<unsigned char>(src[i]);
        WORD t = 0;
        if (c < 0x80 && isspace(c)) t |= C1_SPACE;
        if (c >= '0' && c <= '9') t |= C1_DIGIT;
        types[i] = t;
    }
    return TRUE;
}

LONG InterlockedIncrement(LONG volatile* value) { return __atomic_add_fetch(value, 1, __ATOMIC_SEQ_CST); }

LONG InterlockedDecrement(LONG volatile* value) { return __atomic_sub_fetch(value, 1, __ATOMIC_SEQ_CST); }

void OutputDebugStringA(LPCSTR text) { lastDebugOutput = text ? text : ""; }

const char* SeamLastDebugOutput() { return lastDebugOutput.c_str(); }

void DebugBreak() {}

BOOL IsDebuggerPresent() { return FALSE; }

int wvsprintfA(LPSTR out, LPCSTR format, va_list args) {
    // The Windows formatter writes at most 1024 characters; keep the same limit.
    int n = vsnprintf(out, 1025, format, args);
    if (n < 0) {
        out[0] = 0;
        return 0;
    }
    return n > 1024 ? 1024 : n;
}

int _vsnprintf(char* out, size_t size, const char* format, va_list args) {
    int n = vsnprintf(out, size, format, args);
    return n < 0 || static_cast<size_t>(n) >= size ? -1 : n;
}

int _snprintf(char* out, size_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int n = _vsnprintf(out, size, format, args);
    va_end(args);
    return n;
}

int LoadStringA(HINSTANCE, UINT, LPSTR buffer, int size) {
    if (buffer && size > 0) buffer[0] = 0;
    return 0;
}

DWORD GetFileAttributesA(LPCSTR path) {
    struct stat st;
    if (!path || stat(path, &st) != 0) return INVALID_FILE_ATTRIBUTES;
    return S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

HANDLE CreateFileA(LPCSTR path, DWORD, DWORD, void*, DWORD, DWORD, HANDLE) {
    int fd = path ? open(path, O_RDONLY) : -1;
    return fd < 0 ? INVALID_HANDLE_VALUE : HandleOf(fd);
}

DWORD GetFileSize(HANDLE file, LPDWORD high) {
    struct stat st;
    if (fstat(FdOf(file), &st) != 0) return INVALID_FILE_ATTRIBUTES;
    unsigned long long size = static_cast<unsigned long long>(st.st_size);
    if (high) *high = static_cast<DWORD>(size >> 32);
    return static_cast<DWORD>(size);
}

BOOL ReadFile(HANDLE file, void* buffer, DWORD toRead, LPDWORD read, void*) {
    DWORD total = 0;
    while (total < toRead) {
        ssize_t n = ::read(FdOf(file), static_cast<char*>(buffer) + total, toRead - total);
        if (n < 0) return FALSE;
        if (n == 0) break;
        total += static_cast<DWORD>(n);
    }
    if (read) *read = total;
    return TRUE;
}

BOOL CloseHandle(HANDLE handle) { return close(FdOf(handle)) == 0; }

#endif
