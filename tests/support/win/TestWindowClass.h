// The window class of the tests' own host windows: a button-face background
// and the given procedure, registered once per class name.
#pragma once
#include <windows.h>

void RegisterTestWindowClass(const char* name, WNDPROC procedure);
