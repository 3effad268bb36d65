// The benchmark's plain top-level windows: visible, button-face background,
// default window procedure.
#pragma once
#include <windows.h>

// Registers the class (again is harmless) and creates a popup of that size at
// the screen's origin; null when the window cannot be made.
HWND CreateBenchWindow(const char* className, const char* title, int width, int height);
