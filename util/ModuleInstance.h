// The library's module handle: every window class, dialog template, string and
// bitmap resource is looked up in it.
#pragma once
#include "platform/WinSeam.h"

void SetModuleInstance(HINSTANCE instance);
// The handle recorded at process attach; a program that links the library's
// objects directly (the tests) gets its own executable's handle.
HINSTANCE GetModuleInstance();
