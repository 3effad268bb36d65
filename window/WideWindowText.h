// Window texts beyond the code page. The library's windows are ANSI windows:
// the system passes SetWindowTextW, and a WM_SETTEXT or WM_GETTEXT sent as
// wide, through the code page on the way to their procedures. DefWindowProcW
// called directly stores and reads the UTF-16 itself, as the NT family keeps
// every window text. Captions, buttons and the HTML control's document all
// set and read their wide texts here.
#pragma once
#include <windows.h>

#include "text/TextEncoding.h"
#include "util/CMsString.h"

// Code-page text through SetWindowTextA as always. UTF-8 is stored as UTF-16,
// and the window then answers WM_GETTEXT and WM_GETTEXTLENGTH from it: the
// system draws a caption, and a Unicode client reads a window's text, through
// those messages.
void SetWindowTextIn(HWND window, const char* text, TextEncoding encoding);

// Stores UTF-8 text as the window's UTF-16 text, nothing more: for a text
// that only the library itself reads back.
void StoreWideWindowText(HWND window, const char* text);

// The first UTF-16 unit of the window's text, 0 when it has none.
WCHAR FirstWindowTextUnit(HWND window);

// The window's text as the system keeps it in UTF-16, returned in UTF-8.
CMsString ReadWindowTextAsUtf8(HWND window);
