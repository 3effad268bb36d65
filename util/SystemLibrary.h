// Libraries the DLL loads at run time come from the system folder by their
// full path. A bare name is looked for in the host program's folder first,
// and elevated installers often run from a Downloads folder where a planted
// copy of, say, oleacc.dll would then load with the installer's rights.
#pragma once
#include <windows.h>

// The library of that file name from the system folder, or null.
HMODULE LoadSystemLibrary(const char* fileName);
