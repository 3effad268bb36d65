// Hands the library a replacement for a function it looks up at run time
// (test programs link the library's objects, so their GetProcAddress import
// is the library's); other look-ups get the system's function. For one name
// the newest live hook wins; hooks go in the reverse order of their making.
#pragma once
#include <windows.h>

#include "support/win/ImportHook.h"

class RuntimeFunctionHook {
public:
    RuntimeFunctionHook(const char* functionName, void* replacement);
    ~RuntimeFunctionHook();
    bool Installed() const { return hook.Installed(); }

    // The system's function, for replacements that pass calls on.
    template <typename Function>
    static Function System(const char* moduleName, const char* functionName) {
        return reinterpret_cast<Function>(
            reinterpret_cast<void (*)()>(systemLookup(GetModuleHandleA(moduleName), functionName)));
    }

private:
    static FARPROC WINAPI Lookup(HMODULE module, LPCSTR name);

    static decltype(&GetProcAddress) systemLookup;
    ImportHook hook;
};
