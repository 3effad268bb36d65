// Drives a modal dialog that the calling thread is about to run. A second
// thread waits until a visible dialog window (class "#32770") of the calling
// thread exists, runs the action on it, then waits for the window to go. If
// the time-out passes first it closes the dialog, so no test hangs.
//
//   DialogDriver driver([](HWND dialog) { PostMessageA(...); });
//   INT_PTR result = object.DoModal();
//   driver.Finish();
#pragma once
#include <windows.h>

#include <functional>

class DialogDriver {
public:
    using Action = std::function<void(HWND dialog)>;

    explicit DialogDriver(Action action, DWORD timeoutMs = 10000);
    ~DialogDriver();

    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Stops waiting for a dialog that has not appeared and joins the thread.
    void Finish();

    // The driving thread found a visible dialog and ran the action.
    bool ActionRan() const { return actionRan; }
    // The dialog was still there at the time-out and had to be closed.
    bool TimedOut() const { return timedOut; }
    // A dialog window of the calling thread became visible at some moment
    // (seen by a hook, so even a dialog that was shown only briefly counts).
    bool EverShown() const;

private:
    static DWORD WINAPI Run(LPVOID self);
    void Drive();
    HWND WaitForDialog();
    void WaitUntilGone(HWND dialog);
    void CloseLateDialog();
    void ForceClose(HWND dialog);

    Action action;
    DWORD timeoutMs;
    DWORD dialogThreadId;
    HANDLE stopEvent;
    HANDLE thread;
    HHOOK showHook;
    volatile bool actionRan;
    volatile bool timedOut;
};

// A visible "#32770" window of the thread, or null.
HWND FindVisibleDialog(DWORD threadId);
