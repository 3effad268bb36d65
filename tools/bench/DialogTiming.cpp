#include "tools/bench/DialogTiming.h"

#include <cstring>

#include "tools/bench/Stopwatch.h"

namespace {
const int CONTROL_IDS[PW_COUNT] = {0, 215, 213, 209, 210};

struct Measurement {
    double start;
    DialogTimes times;
    bool shown;
    WNDPROC dialogProc;  // the dialog window's own procedure, behind WatchDialog
};

Measurement* current = nullptr;

bool IsDialogWindow(HWND window) {
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    return strcmp(className, "#32770") == 0 && !(GetWindowLongA(window, GWL_STYLE) & WS_CHILD);
}

double TimePaint(HWND window, UINT flags) {
    double start = NowMs();
    if (window) RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | flags);
    GdiFlush();
    return NowMs() - start;
}

void OnShown(HWND dialog) {
    current->shown = true;
    current->times.visibleMs = MeasurementElapsedMs();
    current->times.paintMs[PW_DIALOG] = TimePaint(dialog, RDW_NOCHILDREN);
    for (int w = PW_DIALOG + 1; w < PW_COUNT; ++w)
        current->times.paintMs[w] = TimePaint(GetDlgItem(dialog, CONTROL_IDS[w]), 0);
    TimePaint(dialog, RDW_ALLCHILDREN);
    current->times.paintedMs = MeasurementElapsedMs();
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

LRESULT CALLBACK WatchDialog(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = current ? current->dialogProc : DefDlgProcA;
    LRESULT result = CallWindowProcA(previous, window, message, wParam, lParam);
    if (current && !current->shown && message == WM_WINDOWPOSCHANGED &&
        (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW))
        OnShown(window);
    return result;
}

// The dialog window, once made, is watched through its window procedure.
void CALLBACK OnWindowCreated(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
    if (!current || current->dialogProc || object != OBJID_WINDOW || !IsDialogWindow(window)) return;
    current->dialogProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchDialog)));
}
}  // namespace

double MeasurementElapsedMs() { return current ? NowMs() - current->start : -1; }

DialogTimes TimeDialog(const std::function<INT_PTR()>& showDialog) {
    Measurement measurement = {};
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, OnWindowCreated,
                                         GetCurrentProcessId(), GetCurrentThreadId(),
                                         WINEVENT_OUTOFCONTEXT);
    if (!hook) return measurement.times;
    current = &measurement;
    measurement.start = NowMs();
    measurement.times.result = showDialog();
    current = nullptr;
    UnhookWinEvent(hook);
    return measurement.times;
}
