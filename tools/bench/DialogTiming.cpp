#include "tools/bench/DialogTiming.h"

#include <cstring>

#include "tools/bench/Stopwatch.h"

namespace {
struct Measurement {
    double start;
    DialogTimes times;
    bool shown;
    bool initialising;
    double paintStart[PW_COUNT];
};

Measurement* current = nullptr;
HHOOK beforeHook = nullptr;
HHOOK afterHook = nullptr;

bool IsDialogWindow(HWND window) {
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    return strcmp(className, "#32770") == 0 && !(GetWindowLongA(window, GWL_STYLE) & WS_CHILD);
}

// PW_COUNT for a window whose paint is not timed.
int PaintedWindowOf(HWND window) {
    if (IsDialogWindow(window)) return PW_DIALOG;
    switch (GetDlgCtrlID(window)) {
    case 215:
        return PW_MESSAGE;
    case 213:
        return PW_DISCLAIMER;
    case 209:
        return PW_YES;
    case 210:
        return PW_NO;
    default:
        return PW_COUNT;
    }
}

double Elapsed() { return NowMs() - current->start; }

void OnShown(HWND dialog) {
    current->shown = true;
    current->times.visibleMs = Elapsed();
    RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    current->times.paintedMs = Elapsed();
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

LRESULT CALLBACK BeforeMessage(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && current) {
        if (call->message == WM_INITDIALOG && IsDialogWindow(call->hwnd)) {
            current->initialising = true;
            current->times.initStartMs = Elapsed();
        }
        if (call->message == WM_SETTEXT && current->initialising && current->times.captionSetMs < 0 &&
            IsDialogWindow(call->hwnd))
            current->times.captionSetMs = Elapsed();
        int painted = call->message == WM_PAINT ? PaintedWindowOf(call->hwnd) : PW_COUNT;
        if (painted < PW_COUNT) current->paintStart[painted] = NowMs();
    }
    return CallNextHookEx(beforeHook, code, wParam, lParam);
}

LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam) {
    const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && current) {
        if (call->message == WM_INITDIALOG && IsDialogWindow(call->hwnd)) {
            current->initialising = false;
            current->times.initialisedMs = Elapsed();
        }
        int painted = call->message == WM_PAINT ? PaintedWindowOf(call->hwnd) : PW_COUNT;
        if (painted < PW_COUNT) current->times.paintMs[painted] += NowMs() - current->paintStart[painted];
        if (!current->shown && call->message == WM_WINDOWPOSCHANGED) {
            const WINDOWPOS* position = reinterpret_cast<const WINDOWPOS*>(call->lParam);
            if ((position->flags & SWP_SHOWWINDOW) && IsDialogWindow(call->hwnd)) OnShown(call->hwnd);
        }
    }
    return CallNextHookEx(afterHook, code, wParam, lParam);
}

void Unhook() {
    if (beforeHook) UnhookWindowsHookEx(beforeHook);
    if (afterHook) UnhookWindowsHookEx(afterHook);
    beforeHook = afterHook = nullptr;
}
}  // namespace

DialogTimes TimeDialog(const std::function<INT_PTR()>& showDialog) {
    Measurement measurement = {};
    DWORD thread = GetCurrentThreadId();
    beforeHook = SetWindowsHookExA(WH_CALLWNDPROC, BeforeMessage, nullptr, thread);
    afterHook = SetWindowsHookExA(WH_CALLWNDPROCRET, AfterMessage, nullptr, thread);
    if (!beforeHook || !afterHook) {
        Unhook();
        return measurement.times;
    }
    current = &measurement;
    measurement.start = NowMs();
    measurement.times.result = showDialog();
    current = nullptr;
    Unhook();
    return measurement.times;
}
