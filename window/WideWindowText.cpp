#include "window/WideWindowText.h"

#include <memory>
#include <new>

#include "text/WideText.h"

namespace {
// The procedure the window had before it answered its text in UTF-16.
const char kOwnProcedure[] = "MirelWideTextProc";

// The text messages are answered from the UTF-16 text itself, a Unicode
// window's messages; the window's own ANSI procedure gets every other
// message, converted by the system.
LRESULT CALLBACK WideTextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC own = reinterpret_cast<WNDPROC>(GetPropA(window, kOwnProcedure));
    if (message == WM_GETTEXT || message == WM_GETTEXTLENGTH) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
        RemovePropA(window, kOwnProcedure);
    }
    return CallWindowProcW(own, window, message, wParam, lParam);
}

// Nothing between the two calls sends the window a message, so the new
// procedure never runs without the old one recorded.
void AnswerTextInUtf16(HWND window) {
    if (GetPropA(window, kOwnProcedure)) return;
    LONG_PTR own = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WideTextProc));
    if (!own || SetPropA(window, kOwnProcedure, reinterpret_cast<HANDLE>(own))) return;
    SetWindowLongPtrW(window, GWLP_WNDPROC, own);
}
}  // namespace

void SetWindowTextIn(HWND window, const char* text, TextEncoding encoding) {
    if (encoding == TEXT_CODE_PAGE) {
        SetWindowTextA(window, text);
        return;
    }
    AnswerTextInUtf16(window);
    StoreWideWindowText(window, text);
}

void StoreWideWindowText(HWND window, const char* text) {
    WideText wide(text, lstrlenA(text), TEXT_UTF8);
    DefWindowProcW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.Units()));
}

WCHAR FirstWindowTextUnit(HWND window) {
    WCHAR first[2] = {0, 0};
    DefWindowProcW(window, WM_GETTEXT, 2, reinterpret_cast<LPARAM>(first));
    return first[0];
}

// Three UTF-8 bytes at most for each unit.
CMsString ReadWindowTextAsUtf8(HWND window) {
    CMsString text;
    LRESULT length = DefWindowProcW(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0 || length > 0x0FFFFFFF) return text;
    int room = static_cast<int>(length) + 1;
    std::unique_ptr<WCHAR[]> units(new (std::nothrow) WCHAR[static_cast<size_t>(room)]);
    char* out = units ? text.GetBuffer(3 * room) : nullptr;
    if (!out) return text;
    int count = static_cast<int>(DefWindowProcW(window, WM_GETTEXT, room, reinterpret_cast<LPARAM>(units.get())));
    text.ReleaseBuffer(Utf16ToUtf8(units.get(), count, out, 3 * room));
    return text;
}
