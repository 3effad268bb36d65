// The nine places of the screen a dialog can be put at, by name.
#pragma once
#include "platform/WinSeam.h"

enum DialogLocation : LONG {
    DL_TOP_LEFT = 0,
    DL_TOP_CENTER = 1,
    DL_TOP_RIGHT = 2,
    DL_CENTER_LEFT = 3,
    DL_CENTER_CENTER = 4,
    DL_CENTER_RIGHT = 5,
    DL_BOTTOM_LEFT = 6,
    DL_BOTTOM_CENTER = 7,
    DL_BOTTOM_RIGHT = 8,
};

// The location a name stands for, ignoring the case of A-Z; Center-Center for
// a null, empty or unknown name.
LONG LocationFromName(const char* name);
