// The elevation type the library reads from the process token while this
// lives; every other token query gets the real answer. Wine gives every
// process a full elevated token: tests of a browser that the library starts
// itself answer kQueryFails, as Windows before Vista does.
#pragma once
#include <windows.h>

#include "support/win/RuntimeFunctionHook.h"

class ElevationAnswer {
public:
    static const int kQueryFails = -1;

    explicit ElevationAnswer(int elevationType);
    ~ElevationAnswer();
    bool Installed() const { return hook.Installed(); }

private:
    static BOOL WINAPI Query(HANDLE token, TOKEN_INFORMATION_CLASS type, LPVOID data, DWORD size, PDWORD written);

    int previous;
    RuntimeFunctionHook hook;
};
