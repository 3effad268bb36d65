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

// Whether the address lies in the image of this program.
bool InThisProgram(const void* address) {
    const BYTE* base = reinterpret_cast<const BYTE*>(GetModuleHandleA(nullptr));
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const BYTE* at = static_cast<const BYTE*>(address);
    return at >= base && at < base + nt->OptionalHeader.SizeOfImage;
}

LONG CALLBACK ReportOwnFault(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (!IsFault(record->ExceptionCode) || !InThisProgram(record->ExceptionAddress)) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    fprintf(stderr, "fault 0x%08lx at %p in the program's own code\n", record->ExceptionCode,
            record->ExceptionAddress);
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void WatchOwnFaults() {
    static PVOID handler = AddVectoredExceptionHandler(1, ReportOwnFault);
    (void)handler;
}
