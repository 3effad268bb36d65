#include "support/win/ButtonHost.h"

#include "dialog/OwnerDrawButton.h"
#include "support/win/TestWindowClass.h"

namespace {
const char HOST_CLASS[] = "MirelTestButtonHost";
}  // namespace

ButtonHost::ButtonHost(const char* caption, int id, int x, int y, int cx, int cy)
    : window(nullptr), button(nullptr), drawer(nullptr), drawItems(0) {
    RegisterTestWindowClass(HOST_CLASS, HostProc);
    window = CreateWindowExA(0, HOST_CLASS, "button host", WS_POPUP | WS_VISIBLE, 50, 50, 400, 200,
                             nullptr, nullptr, GetModuleHandleA(nullptr), this);
    button = CreateWindowExA(0, "BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, x, y, cx,
                             cy, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleA(nullptr), nullptr);
    UpdateWindow(window);
}

ButtonHost::~ButtonHost() {
    DestroyWindow(window);
}

void ButtonHost::RouteDrawingTo(OwnerDrawButton* target) { drawer = target; }

LRESULT CALLBACK ButtonHost::HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* creation = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* host = reinterpret_cast<ButtonHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (host && message == WM_DRAWITEM) {
        ++host->drawItems;
        if (host->drawer) host->drawer->DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpMessagesFor(DWORD milliseconds) {
    PumpMessagesUntil([] { return false; }, milliseconds);
}
