// main() of every test program. Under Wine an unhandled exception would start
// the debugger, which waits for ever: report it and end the process instead.
// Faults inside window procedures, which the system may swallow, end the
// program too.
#include <cstdio>
#include <cstdlib>
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

// A run meant for another ANSI code page (MIREL_EXPECT_ACP) that did not get
// it fails, rather than skipping the cases written for that code page.
bool HasExpectedCodePage() {
    char expected[16] = "";
    if (!GetEnvironmentVariableA("MIREL_EXPECT_ACP", expected, sizeof expected)) return true;
    if (GetACP() == static_cast<UINT>(atoi(expected))) return true;
    fprintf(stderr, "the ANSI code page is %u, not the %s this run is for\n", GetACP(), expected);
    return false;
}
}  // namespace
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(ReportAndExit);
    WatchOwnFaults();
    if (!HasExpectedCodePage()) return 4;
#endif
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
