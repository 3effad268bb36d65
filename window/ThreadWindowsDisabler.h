// While a modal dialog without an owner asks, the other top-level windows of
// its thread wait, as they do behind a task-modal message box: the dialog's
// loop dispatches their messages too, and a click on the host's own buttons
// must not start the host's work (or a second dialog) meanwhile. What one
// dialog disabled hangs on that dialog window, so nested runs each enable
// exactly their own windows again.
#pragma once
#include "platform/WinSeam.h"

// Disables every visible, enabled top-level window of the calling thread
// other than the dialog, and records them on the dialog.
void DisableThreadWindows(HWND dialog);

// Enables again what DisableThreadWindows recorded on the dialog, skipping
// windows that are gone or no longer of this thread; later calls do nothing.
void EnableThreadWindows(HWND dialog);
