// The system's line breaker: Uniscribe's ScriptItemize and ScriptBreak in
// usp10.dll (Windows 2000 and later; 98 and ME with Internet Explorer 5). The
// library is loaded by its full path from the system folder, at the first run
// that asks, and freed with this object; where it is missing the breaker
// cannot tell and the rule of our own applies (text/LineBreaks.h).
#pragma once
#include <windows.h>
#include <usp10.h>

#include "text/LineBreaks.h"

class UniscribeBreaker {
public:
    UniscribeBreaker();
    ~UniscribeBreaker();

    // For FindLineBreaks and the parser; valid while this object lives.
    const SystemLineBreaker* Breaker() const { return &breaker; }

private:
    UniscribeBreaker(const UniscribeBreaker&) = delete;
    UniscribeBreaker& operator=(const UniscribeBreaker&) = delete;

    typedef HRESULT(WINAPI* ItemizeFunction)(const WCHAR*, int, int, const SCRIPT_CONTROL*, const SCRIPT_STATE*,
                                             SCRIPT_ITEM*, int*);
    typedef HRESULT(WINAPI* BreakFunction)(const WCHAR*, int, const SCRIPT_ANALYSIS*, SCRIPT_LOGATTR*);

    static bool Find(void* self, const WCHAR* text, int count, BYTE* soft);
    bool Load();

    SystemLineBreaker breaker;
    HMODULE module;
    bool loadTried;
    ItemizeFunction itemize;
    BreakFunction breakText;
};
