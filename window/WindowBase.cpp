#include "window/WindowBase.h"

#include "window/WindowUtils.h"

namespace {
void BindObject(HWND window, WindowBase* object) {
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
}
}  // namespace

WindowBase::WindowBase() : hwnd(nullptr), prevWndProc(nullptr), shownOnce(0) {}

WindowBase::~WindowBase() = default;

WindowBase* WindowBase::Destroy(unsigned flags) {
    this->~WindowBase();
    if (flags & 1) ::operator delete(this);
    return this;
}

ATOM WindowBase::RegisterWndClass(WNDCLASSA* windowClass) {
    if (!windowClass) return 0;
    windowClass->lpfnWndProc = SharedWindowProc;
    return RegisterClassA(windowClass);
}

BOOL WindowBase::CreateWnd(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                           int y, int width, int height, HWND parent, HMENU menuOrId,
                           HINSTANCE instance) {
    HWND window = CreateWindowExA(exStyle, className, windowName, style, x, y, width, height,
                                  parent, menuOrId, instance, this);
    return window != nullptr;
}

BOOL WindowBase::DestroyWnd() { return DestroyWindow(hwnd); }

BOOL WindowBase::Attach(HWND window) {
    if (prevWndProc) return FALSE;
    hwnd = window;
    OnBeforeAttach();
    LONG_PTR previous = SetWindowLongPtrA(window, GWLP_WNDPROC,
                                          reinterpret_cast<LONG_PTR>(SharedWindowProc));
    prevWndProc = reinterpret_cast<WNDPROC>(previous);
    if (!prevWndProc) return FALSE;
    if (prevWndProc == SharedWindowProc) {
        // The window is already one of ours: chaining to it would call
        // SharedWindowProc from itself for ever.
        prevWndProc = nullptr;
        return FALSE;
    }
    BindObject(window, this);
    return TRUE;
}

LRESULT WindowBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SHOWWINDOW:
        if (wParam && !shownOnce) {
            shownOnce = 1;
            OnFirstShow();
        }
        return 0;
    case WM_DESTROY:
        return 0;
    case WM_NCDESTROY:
        BindObject(hwnd, nullptr);
        if (prevWndProc) {
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prevWndProc));
            prevWndProc = nullptr;
        }
        hwnd = nullptr;
        return 0;
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED:
        return 0;
    default:
        return DefaultHandling(message, wParam, lParam);
    }
}

void WindowBase::OnFirstShow() {}

void WindowBase::OnBeforeAttach() {}

LRESULT WindowBase::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    if (prevWndProc) return CallWindowProcA(prevWndProc, hwnd, message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void WindowBase::ScreenRectToClient(RECT* rect) const { ::ScreenRectToClient(hwnd, rect); }

void WindowBase::ScreenRectToClient(HWND window, RECT* rect) { ::ScreenRectToClient(window, rect); }

void WindowBase::ScreenPointToClient(POINT* point) const {
    if (point) ScreenToClient(hwnd, point);
}

BOOL WindowBase::ClientToWindowRect(RECT* rect, BOOL dropClientEdge) const {
    if (!rect) return FALSE;
    DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    DWORD exStyle = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE));
    if (dropClientEdge) exStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    return AdjustWindowRectEx(rect, style, FALSE, exStyle);
}

WindowBase* WindowObjectFrom(HWND window) {
    return reinterpret_cast<WindowBase*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE && lParam) {
        auto* creation = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* object = static_cast<WindowBase*>(creation->lpCreateParams);
        if (object) {
            BindObject(window, object);
            object->hwnd = window;
        }
    }
    WindowBase* object = WindowObjectFrom(window);
    if (!object) return DefWindowProcA(window, message, wParam, lParam);
    return object->WindowProc(message, wParam, lParam);
}
