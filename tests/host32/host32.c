/*
 * A 32-bit installer host written in C. It knows the library only through
 * MirelDialog.h and is linked against the DLL's import library, the way a
 * host built with another compiler would be. Every call through the
 * dialog object's table is checked for a balanced stack, which is what goes
 * wrong first when host and library disagree about the calling convention.
 *
 * Built twice: as is, the header declares the table's operations thiscall;
 * with HOST32_AS_MSVC the header is read as a compiler without GCC's
 * thiscall attribute reads it (fastcall with a dummy EDX argument).
 *
 *   host32 [SECONDS]    seconds to wait for each dialog (default 60)
 *
 * Prints one line per failed check and a summary; the exit code is the
 * number of failed checks, 100 when the checks could not start, 101 after a
 * crash.
 */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef HOST32_AS_MSVC
#pragma push_macro("__GNUC__")
#undef __GNUC__
#include "MirelDialog.h"
#pragma pop_macro("__GNUC__")
#else
#include "MirelDialog.h"
#endif

#if !defined(__i386__)
#error "this host checks the 32-bit calling conventions"
#endif

#ifdef HOST32_AS_MSVC
typedef INT_PTR(__fastcall* DoModalOperation)(MirelConsentDialog*, void*);
#define HOST32_VARIANT "fastcall"
#else
typedef INT_PTR(__thiscall* DoModalOperation)(MirelConsentDialog*);
#define HOST32_VARIANT "thiscall"
#endif
_Static_assert(__builtin_types_compatible_p(DoModalOperation, __typeof__(((MirelDialogVtbl*)0)->DoModal)),
               "the header declares the operations with the expected convention");

#define HOST32_UNUSABLE 100
#define HOST32_CRASHED 101
#define TITLE "Offer for a 32-bit host"
#define OBSERVER_DATA 0x5EEDu

static const char COMPLETE[] =
    "<TITLE>" TITLE "</TITLE><WIDTH>360</WIDTH><LOCATION>Bottom-Right</LOCATION>"
    "<MESSAGE>Would you like <b>Extra Tool</b> as well?</MESSAGE>"
    "<DISCLAIMER>By clicking Yes you accept its licence.</DISCLAIMER>";
static const char NO_WIDTH[] =
    "<TITLE>" TITLE "</TITLE><MESSAGE>Message</MESSAGE><DISCLAIMER>Disclaimer</DISCLAIMER>";
static const wchar_t WIDE_NO_WIDTH[] = L"<TITLE>\u65E5\u672C</TITLE><MESSAGE>M</MESSAGE><DISCLAIMER>D</DISCLAIMER>";

static int checks = 0;
static int failures = 0;
static DWORD waitLimitMs = 60000;

#define CHECK(condition)                                                                    \
    do {                                                                                    \
        ++checks;                                                                           \
        if (!(condition)) {                                                                 \
            fprintf(stderr, "host32 (%s) line %d: check failed: %s\n", HOST32_VARIANT,      \
                    __LINE__, #condition);                                                  \
            ++failures;                                                                     \
        }                                                                                   \
    } while (0)

/* Runs one statement that calls through the table and checks that the stack
 * pointer is where it was: the callee popped exactly what the caller pushed. */
#define BALANCED(statement)                                                 \
    do {                                                                    \
        unsigned long spBefore, spAfter;                                    \
        __asm__ __volatile__("movl %%esp, %0" : "=r"(spBefore));            \
        statement;                                                          \
        __asm__ __volatile__("movl %%esp, %0" : "=r"(spAfter));             \
        CHECK(spBefore == spAfter && #statement);                           \
    } while (0)

/* ---- observing the dialog from the host's side ---- */

static LONG observedMessages = 0;
static LONG observedWithOtherData = 0;
static LONG observedClose = 0;

static LONG CALLBACK Observe(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD data) {
    (void)window;
    (void)lParam;
    if (data != OBSERVER_DATA) ++observedWithOtherData;
    else ++observedMessages;
    if (message == WM_SYSCOMMAND && wParam == SC_CLOSE) ++observedClose;
    return 0;
}

/* Counts dialogs of this thread that were shown, however briefly. */
static LONG dialogsShown = 0;
static HHOOK showHook = NULL;

static LRESULT CALLBACK WatchShow(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* call = (const CWPSTRUCT*)lParam;
    char className[16] = "";
    if (code == HC_ACTION && call->message == WM_SHOWWINDOW && call->wParam) {
        GetClassNameA(call->hwnd, className, sizeof className);
        if (strcmp(className, "#32770") == 0) InterlockedIncrement(&dialogsShown);
    }
    return CallNextHookEx(showHook, code, wParam, lParam);
}

/* ---- answering the dialog from a second thread ---- */

enum Answer { ANSWER_YES, ANSWER_NO, ANSWER_CLOSE };

/* Answers the next dialog of this process; a run that should show nothing is
 * guarded by one too, so that a wrongly shown dialog fails a check instead of
 * waiting for ever. */
typedef struct Responder {
    enum Answer answer;
    HANDLE thread;
    volatile LONG answered;
    volatile LONG stop;
    char caption[64]; /* of the dialog it answered */
} Responder;

typedef struct FindState {
    DWORD processId;
    HWND found;
} FindState;

static BOOL CALLBACK MatchDialog(HWND window, LPARAM lParam) {
    FindState* state = (FindState*)lParam;
    DWORD processId = 0;
    char className[16] = "";
    GetWindowThreadProcessId(window, &processId);
    if (processId != state->processId || !IsWindowVisible(window)) return TRUE;
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32770") != 0) return TRUE;
    state->found = window;
    return FALSE;
}

static HWND WaitForDialog(volatile LONG* stop) {
    FindState state;
    DWORD start = GetTickCount();
    state.processId = GetCurrentProcessId();
    while (!*stop && GetTickCount() - start < waitLimitMs) {
        state.found = NULL;
        EnumWindows(MatchDialog, (LPARAM)&state);
        if (state.found) return state.found;
        Sleep(50);
    }
    return NULL;
}

static DWORD WINAPI Respond(LPVOID parameter) {
    Responder* responder = (Responder*)parameter;
    HWND dialog = WaitForDialog(&responder->stop);
    if (!dialog) return 1;
    GetWindowTextA(dialog, responder->caption, sizeof responder->caption);
    if (responder->answer == ANSWER_CLOSE)
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    else
        PostMessageA(GetDlgItem(dialog, responder->answer == ANSWER_YES ? 209 : 210), BM_CLICK, 0, 0);
    InterlockedExchange(&responder->answered, 1);
    return 0;
}

static void StartResponder(Responder* responder, enum Answer answer) {
    responder->answer = answer;
    responder->answered = 0;
    responder->stop = 0;
    responder->caption[0] = '\0';
    responder->thread = CreateThread(NULL, 0, Respond, responder, 0, NULL);
    CHECK(responder->thread != NULL);
}

/* Whether the responder answered a dialog. */
static int FinishResponder(Responder* responder) {
    InterlockedExchange(&responder->stop, 1);
    if (!responder->thread) return 0;
    WaitForSingleObject(responder->thread, waitLimitMs + 5000);
    CloseHandle(responder->thread);
    responder->thread = NULL;
    return responder->answered != 0;
}

/* ---- the checks ---- */

static void CheckRunMirelDialog(void) {
    Responder responder;
    LONG shownBefore = dialogsShown;

    StartResponder(&responder, ANSWER_CLOSE);
    CHECK(RunMirelDialog(NO_WIDTH) == MIREL_RESULT_INCOMPLETE);
    CHECK(RunMirelDialog(NULL) == MIREL_RESULT_INCOMPLETE);
    BALANCED(CHECK(RunMirelDialogW(WIDE_NO_WIDTH) == MIREL_RESULT_INCOMPLETE));
    CHECK(!FinishResponder(&responder));
    CHECK(dialogsShown == shownBefore);

    StartResponder(&responder, ANSWER_YES);
    CHECK(RunMirelDialog(COMPLETE) == MIREL_RESULT_YES);
    CHECK(FinishResponder(&responder));
    CHECK(strcmp(responder.caption, TITLE) == 0);

    StartResponder(&responder, ANSWER_CLOSE);
    CHECK(RunMirelDialog(COMPLETE) == MIREL_RESULT_CLOSED);
    CHECK(FinishResponder(&responder));
    CHECK(dialogsShown == shownBefore + 2);
}

static void CheckFreshObject(MirelConsentDialog* d) {
    CHECK(d->templateId == 202);
    CHECK(d->location == 4);
    CHECK(d->width == 0);
    CHECK(d->result == MIREL_RESULT_INCOMPLETE);
    CHECK(d->window.hwnd == NULL);
    CHECK(d->observer == NULL);
    CHECK(d->observerData == 0);
}

static void CheckParameters(MirelConsentDialog* d) {
    BALANCED(d->vtbl->SetParameters(MIREL_SELF(d), COMPLETE));
    CHECK(d->title && strcmp(d->title, TITLE) == 0);
    CHECK(d->message && strstr(d->message, "<b>Extra Tool</b>") != NULL);
    CHECK(d->disclaimer && strcmp(d->disclaimer, "By clicking Yes you accept its licence.") == 0);
    CHECK(d->width == 360);
    CHECK(d->location == 8);
}

static void PumpFor(DWORD milliseconds) {
    DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < milliseconds) {
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    }
}

static void CheckModeless(MirelConsentDialog* d) {
    HWND window = NULL;
    LRESULT handled = 0;
    BOOL destroyed = FALSE;
    BALANCED(window = d->vtbl->CreateModeless(MIREL_SELF(d), FALSE));
    CHECK(window != NULL);
    CHECK(d->window.hwnd == window);
    CHECK(d->runFlags == 1);
    PumpFor(300);
    CHECK(observedMessages > 0);

    BALANCED(handled = d->vtbl->DialogProc(MIREL_SELF(d), WM_SYSCOMMAND, SC_CLOSE, 0));
    /* Handled: no WM_CLOSE follows to turn the 8 into a No. */
    CHECK(handled == TRUE);
    CHECK(d->result == MIREL_RESULT_CLOSED);
    CHECK(observedClose == 0);
    BALANCED(d->vtbl->OnCommand(MIREL_SELF(d), 210, BN_CLICKED));
    CHECK(d->result == MIREL_RESULT_NO);
    BALANCED(d->vtbl->Reserved(MIREL_SELF(d), 1, 2));
    CHECK(IsWindow(window));
    BALANCED(destroyed = d->vtbl->DestroyWnd(MIREL_SELF(d)));
    CHECK(destroyed);
    CHECK(!IsWindow(window));
    CHECK(d->window.hwnd == NULL);
}

static void CheckModal(MirelConsentDialog* d) {
    Responder responder;
    INT_PTR answer = 0;
    LONG seenBefore = observedMessages;
    StartResponder(&responder, ANSWER_NO);
    BALANCED(answer = d->vtbl->DoModal(MIREL_SELF(d)));
    CHECK(FinishResponder(&responder));
    CHECK(answer == MIREL_RESULT_NO);
    CHECK(d->result == MIREL_RESULT_NO);
    CHECK(observedMessages > seenBefore);
    CHECK(observedWithOtherData == 0);
}

/* A fresh object without a width never shows its dialog. */
static void CheckIncompleteObject(void) {
    Responder responder;
    INT_PTR answer = 0;
    LONG shownBefore = dialogsShown;
    MirelConsentDialog* d = GetDialogObject();
    CHECK(d != NULL);
    if (!d) return;
    BALANCED(d->vtbl->SetParameters(MIREL_SELF(d), NO_WIDTH));
    CHECK(d->width == 0);
    CHECK(d->title && strcmp(d->title, TITLE) == 0);
    StartResponder(&responder, ANSWER_CLOSE);
    BALANCED(answer = d->vtbl->DoModal(MIREL_SELF(d)));
    CHECK(!FinishResponder(&responder));
    CHECK(answer == MIREL_RESULT_INCOMPLETE);
    CHECK(dialogsShown == shownBefore);
    BALANCED(d->vtbl->Destroy(MIREL_SELF(d), 1));
}

static void CheckObjectDrive(void) {
    MirelConsentDialog* d = GetDialogObject();
    MirelConsentDialog* released = NULL;
    CHECK(d != NULL);
    if (!d) return;
    CheckFreshObject(d);
    d->observer = Observe;
    d->observerData = OBSERVER_DATA;
    CheckParameters(d);
    CheckModeless(d);
    CheckModal(d);
    BALANCED(released = d->vtbl->Destroy(MIREL_SELF(d), 1));
    CHECK(released == d);
    CheckIncompleteObject();
}

/* A crash ends the process with a message instead of starting a debugger
 * that would wait for ever. */
static LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
    fprintf(stderr, "host32 (%s): exception 0x%08lx at %p\n", HOST32_VARIANT,
            info->ExceptionRecord->ExceptionCode, info->ExceptionRecord->ExceptionAddress);
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), HOST32_CRASHED);
    return EXCEPTION_EXECUTE_HANDLER;
}

int main(int argc, char** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(ReportCrash);
    if (argc > 1 && atoi(argv[1]) > 0) waitLimitMs = (DWORD)atoi(argv[1]) * 1000;
    showHook = SetWindowsHookExA(WH_CALLWNDPROC, WatchShow, NULL, GetCurrentThreadId());
    if (!showHook) {
        fprintf(stderr, "host32: cannot watch the dialogs (error %lu)\n", GetLastError());
        return HOST32_UNUSABLE;
    }
    CheckRunMirelDialog();
    CheckObjectDrive();
    UnhookWindowsHookEx(showHook);
    printf("host32 (%s): %d checks, %d failed\n", HOST32_VARIANT, checks, failures);
    return failures;
}
