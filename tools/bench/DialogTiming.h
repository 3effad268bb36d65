// How long a modal dialog of this thread takes from the call that runs it
// until it is initialised, until it is visible, and until it and its controls are painted. A hook sees
// the dialog window being shown, paints it at once, and asks it to close
// (WM_SYSCOMMAND SC_CLOSE), so every run ends by itself.
#pragma once
#include <windows.h>

#include <functional>

struct DialogTimes {
    double initialisedMs = -1;  // WM_INITDIALOG handled
    double visibleMs = -1;      // -1: the dialog was never shown
    double paintedMs = -1;
    INT_PTR result = 0;  // what the call returned
};

// Runs `showDialog` (which runs one modal dialog and returns its result) and
// times it. Not re-entrant: one measurement at a time per process.
DialogTimes TimeDialog(const std::function<INT_PTR()>& showDialog);
