// The one header through which window-free code reaches the operating system.
// On Windows it is <windows.h>. On Linux it maps the handful of text, file and
// interlocked functions that strings, collections, file reading, parameter
// reading and the HTML parser use, so that code can be unit tested, fuzzed and
// run under sanitizers natively. It is a seam, not an emulator: there are no
// windows, no GDI and no registry here.
#pragma once

#ifdef _WIN32

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#else

#include <cctype>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <strings.h>

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef char16_t WCHAR;
typedef unsigned int DWORD;
typedef unsigned int UINT;
typedef int LONG;
typedef unsigned long ULONG_PTR;
typedef long LONG_PTR;
typedef long INT_PTR;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* HANDLE;
typedef void* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef DWORD LCID;
typedef DWORD COLORREF;
typedef DWORD* LPDWORD;

#define TRUE 1
#define FALSE 0
#define WINAPI
#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define GENERIC_READ 0x80000000
#define FILE_SHARE_READ 0x00000001
#define OPEN_EXISTING 3
#define CP_ACP 0
#define CT_CTYPE1 0x00000001
#define C1_DIGIT 0x0004
#define C1_SPACE 0x0008
// Font character sets, which the consent's words name.
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SHIFTJIS_CHARSET 128
#define HANGUL_CHARSET 129
#define GB2312_CHARSET 134
#define CHINESEBIG5_CHARSET 136
#define TURKISH_CHARSET 162
#define HEBREW_CHARSET 177
#define RUSSIAN_CHARSET 204
#define EASTEUROPE_CHARSET 238
#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))

int lstrlenA(LPCSTR text);
LPSTR lstrcpyA(LPSTR dest, LPCSTR src);
LPSTR lstrcpynA(LPSTR dest, LPCSTR src, int max);
int lstrcmpA(LPCSTR a, LPCSTR b);
int lstrcmpiA(LPCSTR a, LPCSTR b);
LPSTR CharNextA(LPCSTR p);
LCID GetThreadLocale();
// The code page of Western Windows, whose bytes map one to one onto U+0000-U+00FF
// here (as ISO 8859-1 does).
UINT GetACP();
// Reports an NT-family system.
DWORD GetVersion();
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int bytes, WCHAR* out, int room);
int WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* units, int count, LPSTR out, int room,
                        LPCSTR defaultChar, BOOL* usedDefault);
BOOL GetStringTypeExA(LCID locale, DWORD infoType, LPCSTR src, int count, WORD* types);
LONG InterlockedIncrement(LONG volatile* value);
LONG InterlockedDecrement(LONG volatile* value);
void OutputDebugStringA(LPCSTR text);
void DebugBreak();
BOOL IsDebuggerPresent();
int wvsprintfA(LPSTR out, LPCSTR format, va_list args);
// The system C runtime's bounded formatters: -1 when the output was cut.
int _vsnprintf(char* out, size_t size, const char* format, va_list args);
int _snprintf(char* out, size_t size, const char* format, ...);
int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size);
DWORD GetFileAttributesA(LPCSTR path);
HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share, void* security, DWORD disposition,
                   DWORD flags, HANDLE templateFile);
DWORD GetFileSize(HANDLE file, LPDWORD high);
BOOL ReadFile(HANDLE file, void* buffer, DWORD toRead, LPDWORD read, void* overlapped);
BOOL CloseHandle(HANDLE handle);

// Debug output is collected here so native tests can see the fixed diagnostics.
const char* SeamLastDebugOutput();

#endif
