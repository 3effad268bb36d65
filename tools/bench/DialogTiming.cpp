#include "tools/bench/DialogTiming.h"

#include <cstring>

#include "tools/bench/Stopwatch.h"

namespace {
struct Measurement {
    double start;
    DialogTimes times;
    bool shown;
};

Measurement* current = nullptr;
HHOOK hook = nullptr;

bool IsDialogWindow(HWND window) {
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    return strcmp(className, "#32770") == 0 && !(GetWindowLongA(window, GWL_STYLE) & WS_CHILD);
}

void OnShown(HWND dialog) {
    current->shown = true;
    current->times.visibleMs = NowMs() - current->start;
    RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    current->times.paintedMs = NowMs() - current->start;
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam) {
    const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && current && call->message == WM_INITDIALOG && IsDialogWindow(call->hwnd))
        current->times.initialisedMs = NowMs() - current->start;
    if (code == HC_ACTION && current && !current->shown && call->message == WM_WINDOWPOSCHANGED) {
        const WINDOWPOS* position = reinterpret_cast<const WINDOWPOS*>(call->lParam);
        if ((position->flags & SWP_SHOWWINDOW) && IsDialogWindow(call->hwnd)) OnShown(call->hwnd);
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}
}  // namespace

DialogTimes TimeDialog(const std::function<INT_PTR()>& showDialog) {
    Measurement measurement = {0, DialogTimes(), false};
    hook = SetWindowsHookExA(WH_CALLWNDPROCRET, AfterMessage, nullptr, GetCurrentThreadId());
    if (!hook) return measurement.times;
    current = &measurement;
    measurement.start = NowMs();
    measurement.times.result = showDialog();
    current = nullptr;
    UnhookWindowsHookEx(hook);
    hook = nullptr;
    return measurement.times;
}
