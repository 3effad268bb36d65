// How long a modal dialog of this thread takes from the call that runs it
// until it is initialised, until it is visible, and until it and its controls
// are painted, with the time each window's paint took. A hook sees the dialog
// window being shown, paints it at once, and asks it to close (WM_SYSCOMMAND
// SC_CLOSE), so every run ends by itself.
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
    double initStartMs = -1;   // WM_INITDIALOG arrives
    double captionSetMs = -1;  // the dialog's caption is set during WM_INITDIALOG (-1: never)
    double initialisedMs = -1; // WM_INITDIALOG handled
    double visibleMs = -1;     // -1: the dialog was never shown
    double paintedMs = -1;
    double paintMs[PW_COUNT] = {};  // time spent in each window's WM_PAINT
    INT_PTR result = 0;             // what the call returned
};

// Runs `showDialog` (which runs one modal dialog and returns its result) and
// times it. Not re-entrant: one measurement at a time per process.
DialogTimes TimeDialog(const std::function<INT_PTR()>& showDialog);
