// main() of every test program. Under Wine an unhandled exception would start
// the debugger, which waits for ever: report it and end the process instead.
// Faults inside window procedures, which the system may swallow, end the
// program too.
#include <cstdio>
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include "support/win/FaultWatch.h"

namespace {
LONG WINAPI ReportAndExit(EXCEPTION_POINTERS* info) {
    fprintf(stderr, "unhandled exception 0x%08lx at %p\n", info->ExceptionRecord->ExceptionCode,
            info->ExceptionRecord->ExceptionAddress);
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}
}  // namespace
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(ReportAndExit);
    WatchOwnFaults();
#endif
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
