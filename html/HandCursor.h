// The pointing-hand cursor the HTML control shows over links: 32 x 32,
// monochrome, hot spot at the tip of the index finger. Where the system's
// cursors are larger (high DPI), it is made at their size, every pixel of the
// shape enlarged, so that it matches the arrow beside it.
#pragma once
#include "platform/WinSeam.h"

enum {
    HAND_CURSOR_SIZE = 32,
    HAND_CURSOR_HOT_X = 5,
    HAND_CURSOR_HOT_Y = 0,
};

// A new cursor owned by the caller (DestroyCursor), or null on failure.
HCURSOR CreateHandCursor(HINSTANCE instance);
