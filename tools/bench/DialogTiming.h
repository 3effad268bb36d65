// How long a modal dialog of this thread takes from the call that runs it
// until it is visible, and until it and its controls are painted, with the
// time each window's paint took. A window-event hook sees the dialog window
// being made and puts a window procedure in front of the dialog's own, which
// sees the window being shown; the windows are then painted one by one, and
// the dialog is asked to close (WM_SYSCOMMAND SC_CLOSE), so every run ends by
// itself.
//
// No message hook is installed: Wine asks its server about the hook chain for
// every message sent while one is, and a dialog that sends more messages would
// be charged for that too.
#pragma once
#include <windows.h>

#include <functional>

// The windows whose paints are timed one by one.
enum PaintedWindow {
    PW_DIALOG,      // the dialog itself (background and caption)
    PW_MESSAGE,     // control 215
    PW_DISCLAIMER,  // control 213
    PW_YES,         // control 209, with the WM_DRAWITEM it sends
    PW_NO,          // control 210
    PW_COUNT
};

struct DialogTimes {
    double visibleMs = -1;  // -1: the dialog was never shown
    double paintedMs = -1;
    double paintMs[PW_COUNT] = {};
    INT_PTR result = 0;  // what the call returned
};

// Runs `showDialog` (which runs one modal dialog and returns its result) and
// times it. Not re-entrant: one measurement at a time per process.
DialogTimes TimeDialog(const std::function<INT_PTR()>& showDialog);

// Milliseconds since the current measurement started, for stamps taken by
// dialog procedures; -1 outside a measurement.
double MeasurementElapsedMs();
