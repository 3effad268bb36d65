#include "support/win/DialogDriver.h"

#include <cstring>

namespace {
const DWORD POLL_MS = 10;
const DWORD CLOSE_GRACE_MS = 1000;

volatile LONG dialogShown = 0;

bool IsDialogWindow(HWND window) {
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    return strcmp(className, "#32770") == 0;
}

bool ShowsWindow(const CWPSTRUCT* call) {
    if (call->message == WM_SHOWWINDOW) return call->wParam != 0;
    if (call->message != WM_WINDOWPOSCHANGING && call->message != WM_WINDOWPOSCHANGED) return false;
    const auto* position = reinterpret_cast<const WINDOWPOS*>(call->lParam);
    return position && (position->flags & SWP_SHOWWINDOW);
}

LRESULT CALLBACK ShowHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (ShowsWindow(call) && IsDialogWindow(call->hwnd)) InterlockedExchange(&dialogShown, 1);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct FindState {
    HWND found;
};

BOOL CALLBACK MatchVisibleDialog(HWND window, LPARAM lParam) {
    if (!IsWindowVisible(window) || !IsDialogWindow(window)) return TRUE;
    reinterpret_cast<FindState*>(lParam)->found = window;
    return FALSE;
}
}  // namespace

HWND FindVisibleDialog(DWORD threadId) {
    FindState state = {nullptr};
    EnumThreadWindows(threadId, MatchVisibleDialog, reinterpret_cast<LPARAM>(&state));
    return state.found;
}

DialogDriver::DialogDriver(Action action, DWORD timeoutMs)
    : action(std::move(action)),
      timeoutMs(timeoutMs),
      dialogThreadId(GetCurrentThreadId()),
      stopEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      thread(nullptr),
      showHook(nullptr),
      actionRan(false),
      timedOut(false) {
    InterlockedExchange(&dialogShown, 0);
    showHook = SetWindowsHookExA(WH_CALLWNDPROC, ShowHook, nullptr, dialogThreadId);
    thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

DialogDriver::~DialogDriver() {
    Finish();
    if (stopEvent) CloseHandle(stopEvent);
}

void DialogDriver::Finish() {
    if (stopEvent) SetEvent(stopEvent);
    if (thread) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        thread = nullptr;
    }
    if (showHook) {
        UnhookWindowsHookEx(showHook);
        showHook = nullptr;
    }
}

bool DialogDriver::EverShown() const { return dialogShown != 0; }

DWORD WINAPI DialogDriver::Run(LPVOID self) {
    static_cast<DialogDriver*>(self)->Drive();
    return 0;
}

void DialogDriver::Drive() {
    HWND dialog = WaitForDialog();
    if (!dialog) {
        CloseLateDialog();
        return;
    }
    action(dialog);
    actionRan = true;
    WaitUntilGone(dialog);
}

// A dialog that comes up only after the time-out is closed at once, so a slow
// dialog fails its test instead of hanging it.
void DialogDriver::CloseLateDialog() {
    while (WaitForSingleObject(stopEvent, POLL_MS) != WAIT_OBJECT_0) {
        HWND dialog = FindVisibleDialog(dialogThreadId);
        if (!dialog) continue;
        timedOut = true;
        ForceClose(dialog);
    }
}

void DialogDriver::ForceClose(HWND dialog) {
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    Sleep(CLOSE_GRACE_MS);
    if (IsWindow(dialog)) EndDialog(dialog, -2);
}

HWND DialogDriver::WaitForDialog() {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (HWND dialog = FindVisibleDialog(dialogThreadId)) return dialog;
        if (WaitForSingleObject(stopEvent, POLL_MS) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

void DialogDriver::WaitUntilGone(HWND dialog) {
    DWORD start = GetTickCount();
    while (IsWindow(dialog)) {
        if (GetTickCount() - start >= timeoutMs) {
            timedOut = true;
            ForceClose(dialog);
            return;
        }
        Sleep(POLL_MS);
    }
}
