// The wide forms of the parameter file helpers, for paths in UTF-16: a folder
// named outside the code page can be read only through them. NT family only;
// on Windows 95, 98 and ME they find no file.
#pragma once
#include <windows.h>

// 1 when the path names an existing object that is not a directory. A path
// in double quotes names none, so it is taken as parameter text, which then
// has no fields: the same answer the narrow call gives for a quoted path,
// whose existence it judges without the quotes but cannot read with them.
int FileExistsW(const WCHAR* path);

// The whole file and a zero byte, from new[]; null when it cannot be read.
char* ReadFileBytesW(const WCHAR* path, DWORD* size);
