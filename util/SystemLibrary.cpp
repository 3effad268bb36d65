#include "util/SystemLibrary.h"

HMODULE LoadSystemLibrary(const char* fileName) {
    char path[MAX_PATH];
    UINT folder = GetSystemDirectoryA(path, MAX_PATH);
    int name = lstrlenA(fileName);
    // The folder, one backslash, the name and its terminator must fit.
    if (folder == 0 || folder + 1 + name >= MAX_PATH) return nullptr;
    if (path[folder - 1] != '\\') path[folder++] = '\\';
    lstrcpyA(path + folder, fileName);
    return LoadLibraryA(path);
}
