// Path and whole-file helpers for parameter loading and the browser launcher.
// Heap buffers returned here come from new[] and are released by the caller
// with delete[].
#pragma once
#include "platform/WinSeam.h"
#include "util/CMsString.h"

// Copy of the path without one pair of surrounding double quotes; null for a
// null path, a path shorter than 2 characters, or when memory runs out.
char* UnquotedCopy(const char* path);

// GetFileAttributesA of the unquoted path; INVALID_FILE_ATTRIBUTES when no
// copy could be made.
DWORD GetFileAttributesUnquoted(const char* path);

// 1 when the (possibly quoted) path names an existing object that is not a
// directory, else 0.
int FileExists(const char* path);

// True when a file of this size (GetFileSize's low and high parts) can be read
// into one buffer with a terminator.
bool IsReadableFileSize(DWORD low, DWORD high);

// The whole file followed by one zero byte, or null. The path is opened as
// given (quotes included). size, if given, receives the number of file bytes.
char* ReadFileBytes(const char* path, DWORD* size = nullptr);

// The same for a file opened for reading, which it closes; null for an
// invalid handle.
char* ReadOpenFile(HANDLE file, DWORD* size);

// The file's text up to its first zero byte; empty when it cannot be read.
CMsString ReadFileToString(const char* path);

// Makes the path end in exactly one backslash; always returns 1.
int AddBackslash(CMsString& path);

// Removes every trailing backslash; always returns 1.
int RemoveTrailingBackslashes(CMsString& path);
