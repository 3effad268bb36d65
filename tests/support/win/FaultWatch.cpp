#include "support/win/FaultWatch.h"

#include <windows.h>

#include <cstdio>

namespace {

bool IsFault(DWORD code) {
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_STACK_OVERFLOW:
        return true;
    default:
        return false;
    }
}

// Whether the address lies in the image of this program, or in no module at
// all (a call through a dead object's table lands in data or on the stack).
// Faults inside system modules are left to them: they guard some calls, such
// as lstrlenA on a null pointer, and carry on.
bool OwnFaultAddress(const void* address) {
    HMODULE module = nullptr;
    DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    if (!GetModuleHandleExA(flags, static_cast<LPCSTR>(address), &module)) return true;
    return module == GetModuleHandleA(nullptr);
}

LONG CALLBACK ReportOwnFault(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (!IsFault(record->ExceptionCode) || !OwnFaultAddress(record->ExceptionAddress)) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    fprintf(stderr, "fault 0x%08lx at %p, in the program's own code or outside every module\n",
            record->ExceptionCode, record->ExceptionAddress);
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void WatchOwnFaults() {
    static PVOID handler = AddVectoredExceptionHandler(1, ReportOwnFault);
    (void)handler;
}
