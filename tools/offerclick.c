/*
 * Answers the consent dialog of another program, as a user would: starts the
 * program, waits until a dialog ("#32770") with the given caption shows in any
 * process (an installer's loader may run the real installer as a child),
 * clicks Yes or No or closes it from the title bar, waits for the program to
 * end and exits with the program's exit code.
 *
 *   offerclick [--host-disabled] TITLE yes|no|close|install-twice SECONDS PROGRAM [ARGUMENT...]
 *
 * --host-disabled: the dialog's thread must show at least one other top-level
 * window, and none of them may be enabled while the dialog asks.
 * install-twice: the program shows a wizard whose "&Install" button asks; it
 * is clicked with real mouse input, clicked again while the dialog asks, and
 * the dialog is answered No with the mouse too. Every dialog that opens is
 * then closed; more than one is a failure.
 *
 * SECONDS bounds each wait. Its own failures end with codes above 100:
 * 100 usage, 101 the program did not start, 102 no such dialog appeared,
 * 103 the program did not end (it is then terminated), 104 a window of the
 * dialog's thread stayed enabled, 105 a second dialog opened, 106 no
 * "&Install" button appeared.
 */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define EXIT_USAGE 100
#define EXIT_NOT_STARTED 101
#define EXIT_NO_DIALOG 102
#define EXIT_NOT_ENDED 103
#define EXIT_HOST_ENABLED 104
#define EXIT_SECOND_DIALOG 105
#define EXIT_NO_BUTTON 106

#define ID_YES 209
#define ID_NO 210
#define MAX_DIALOGS 8
/* How long a click on Install may take to bring the dialog up before the
 * button is clicked again. */
#define RECLICK_MS 3000
/* The wizard button that asks, as Setup captions it in English. */
#define INSTALL_BUTTON "&Install"

enum Answer { ANSWER_YES, ANSWER_NO, ANSWER_CLOSE, ANSWER_INSTALL_TWICE };

typedef struct FindState {
    const char* className;
    const char* text;
    HWND found;
} FindState;

/* Stops the enumeration (FALSE) at a visible window with the state's text
 * and, when one is given, its class. */
static BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam) {
    FindState* state = (FindState*)lParam;
    char className[32] = "";
    char text[256] = "";
    if (!IsWindowVisible(window)) return TRUE;
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, text, sizeof text);
    if (state->className && strcmp(className, state->className) != 0) return TRUE;
    if (strcmp(text, state->text) != 0) return TRUE;
    state->found = window;
    return FALSE;
}

static BOOL CALLBACK MatchChildOf(HWND window, LPARAM lParam) {
    FindState* state = (FindState*)lParam;
    if (IsWindowVisible(window) && IsWindowEnabled(window)) EnumChildWindows(window, MatchWindow, lParam);
    return state->found == NULL;
}

static HWND FindDialog(const char* title) {
    FindState state = {"#32770", NULL, NULL};
    state.text = title;
    EnumWindows(MatchWindow, (LPARAM)&state);
    return state.found;
}

/* A visible button with that text in an enabled top-level window. */
static HWND FindButton(const char* text) {
    FindState state = {NULL, NULL, NULL};
    state.text = text;
    EnumWindows(MatchChildOf, (LPARAM)&state);
    return state.found;
}

/* Null when the process ends or the time runs out first. */
static HWND WaitFor(HWND (*find)(const char*), const char* text, HANDLE process, DWORD limitMs) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < limitMs) {
        HWND found = find(text);
        if (found) return found;
        if (WaitForSingleObject(process, 50) == WAIT_OBJECT_0) return NULL;
    }
    return NULL;
}

typedef struct HostState {
    HWND dialog;
    int shown;
    int enabled;
} HostState;

static BOOL CALLBACK CountHostWindow(HWND window, LPARAM lParam) {
    HostState* state = (HostState*)lParam;
    if (window == state->dialog || !IsWindowVisible(window)) return TRUE;
    ++state->shown;
    if (IsWindowEnabled(window)) ++state->enabled;
    return TRUE;
}

/* True when the dialog's thread shows other top-level windows, all disabled. */
static int HostWaits(HWND dialog) {
    HostState state = {NULL, 0, 0};
    state.dialog = dialog;
    EnumThreadWindows(GetWindowThreadProcessId(dialog, NULL), CountHostWindow, (LPARAM)&state);
    printf("offerclick: %d other window(s) of the dialog's thread shown, %d enabled\n", state.shown, state.enabled);
    return state.shown > 0 && state.enabled == 0;
}

/* A left click at the window's centre, through the input queue as a mouse gives it. */
static void ClickWithMouse(HWND window) {
    RECT rect;
    INPUT input[3];
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    GetWindowRect(window, &rect);
    memset(input, 0, sizeof input);
    input[0].type = input[1].type = input[2].type = INPUT_MOUSE;
    input[0].mi.dx = ((rect.left + rect.right) / 2) * 65535 / (width - 1);
    input[0].mi.dy = ((rect.top + rect.bottom) / 2) * 65535 / (height - 1);
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, input, sizeof input[0]);
}

static void Answer(HWND dialog, enum Answer answer) {
    if (answer == ANSWER_CLOSE) {
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        return;
    }
    PostMessageA(GetDlgItem(dialog, answer == ANSWER_YES ? ID_YES : ID_NO), BM_CLICK, 0, 0);
}

static int ParseAnswer(const char* text, enum Answer* answer) {
    if (strcmp(text, "yes") == 0) *answer = ANSWER_YES;
    else if (strcmp(text, "no") == 0) *answer = ANSWER_NO;
    else if (strcmp(text, "close") == 0) *answer = ANSWER_CLOSE;
    else if (strcmp(text, "install-twice") == 0) *answer = ANSWER_INSTALL_TWICE;
    else return 0;
    return 1;
}

/* The arguments joined into one command line; those with blanks are quoted
 * (none of ours carries a quote of its own). Null when out of memory. */
static char* JoinCommandLine(int count, char** arguments) {
    size_t length = 1;
    char* line;
    int i;
    for (i = 0; i < count; ++i) length += strlen(arguments[i]) + 3;
    line = (char*)malloc(length);
    if (!line) return NULL;
    line[0] = '\0';
    for (i = 0; i < count; ++i) {
        int quote = strpbrk(arguments[i], " \t") != NULL;
        if (i) strcat(line, " ");
        if (quote) strcat(line, "\"");
        strcat(line, arguments[i]);
        if (quote) strcat(line, "\"");
    }
    return line;
}

static int Start(int count, char** arguments, PROCESS_INFORMATION* process) {
    STARTUPINFOA startup;
    char* line = JoinCommandLine(count, arguments);
    BOOL started;
    if (!line) return 0;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    started = CreateProcessA(NULL, line, NULL, NULL, FALSE, 0, NULL, NULL, &startup, process);
    free(line);
    return started;
}

typedef struct Run {
    HANDLE process;
    const char* title;
    DWORD limitMs;
    int checkHost;
} Run;

/* The program's exit code, or EXIT_NOT_ENDED once it is terminated. */
static int WaitForEnd(const Run* run, const char* program) {
    DWORD exitCode = 0;
    if (WaitForSingleObject(run->process, run->limitMs) != WAIT_OBJECT_0) {
        fprintf(stderr, "offerclick: %s did not end after the answer\n", program);
        TerminateProcess(run->process, EXIT_NOT_ENDED);
        return EXIT_NOT_ENDED;
    }
    GetExitCodeProcess(run->process, &exitCode);
    printf("offerclick: %s ended with %ld\n", program, (long)(LONG)exitCode);
    return (int)exitCode;
}

/* The dialog once it shows; null after reporting that it did not. */
static HWND WaitForDialog(const Run* run) {
    HWND dialog = WaitFor(FindDialog, run->title, run->process, run->limitMs);
    if (!dialog) {
        fprintf(stderr, "offerclick: no dialog \"%s\" appeared\n", run->title);
        TerminateProcess(run->process, EXIT_NO_DIALOG);
    }
    return dialog;
}

/* False (reported) when the host's windows do not wait for the dialog. */
static int HostChecked(const Run* run, HWND dialog) {
    if (!run->checkHost || HostWaits(dialog)) return 1;
    fprintf(stderr, "offerclick: the dialog's host is not disabled while it asks\n");
    return 0;
}

typedef struct DialogSet {
    const char* title;
    HWND seen[MAX_DIALOGS];
    int count;
} DialogSet;

/* Notes each dialog with the title; closes every one after the first, and
 * the first too once a second one was seen. */
static BOOL CALLBACK CloseFurtherDialog(HWND window, LPARAM lParam) {
    DialogSet* set = (DialogSet*)lParam;
    FindState state = {"#32770", NULL, NULL};
    int i;
    state.text = set->title;
    if (MatchWindow(window, (LPARAM)&state)) return TRUE; /* not one of them */
    for (i = 0; i < set->count && set->seen[i] != window; ++i) continue;
    if (i == set->count && set->count < MAX_DIALOGS) set->seen[set->count++] = window;
    if (window != set->seen[0] || set->count > 1) PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return TRUE;
}

/* Until the program ends, further dialogs with the title are closed (the
 * first one's answer is on its way as mouse input). Returns how many
 * different dialogs showed. */
static int CloseFurtherDialogs(const Run* run, HWND first) {
    DialogSet set;
    DWORD start = GetTickCount();
    set.title = run->title;
    set.seen[0] = first;
    set.count = 1;
    while (GetTickCount() - start < run->limitMs && WaitForSingleObject(run->process, 50) != WAIT_OBJECT_0) {
        EnumWindows(CloseFurtherDialog, (LPARAM)&set);
    }
    printf("offerclick: %d dialog(s) \"%s\" showed\n", set.count, run->title);
    return set.count;
}

/* Clicks the button until the dialog shows, as a user clicks again when
 * nothing happened: a click that lands while the wizard is still being
 * placed or activated is lost. Null after reporting that no dialog showed. */
static HWND ClickUntilDialog(const Run* run, HWND button) {
    DWORD start = GetTickCount();
    int clicks = 0;
    while (GetTickCount() - start < run->limitMs) {
        DWORD clicked = GetTickCount();
        if (clicks++) printf("offerclick: no dialog after click %d on the button; clicking again\n", clicks - 1);
        ClickWithMouse(button);
        while (GetTickCount() - clicked < RECLICK_MS) {
            HWND dialog = FindDialog(run->title);
            if (dialog) return dialog;
            if (WaitForSingleObject(run->process, 50) == WAIT_OBJECT_0) break;
        }
        if (WaitForSingleObject(run->process, 0) == WAIT_OBJECT_0) break;
    }
    fprintf(stderr, "offerclick: no dialog \"%s\" appeared\n", run->title);
    TerminateProcess(run->process, EXIT_NO_DIALOG);
    return NULL;
}

/* Clicks Install, clicks it again while the dialog asks, answers No. */
static int InstallTwice(const Run* run, const char* program) {
    HWND dialog, install = WaitFor(FindButton, INSTALL_BUTTON, run->process, run->limitMs);
    int hostWaits, dialogs, code;
    if (!install) {
        fprintf(stderr, "offerclick: no \"%s\" button appeared\n", INSTALL_BUTTON);
        TerminateProcess(run->process, EXIT_NO_BUTTON);
        return EXIT_NO_BUTTON;
    }
    dialog = ClickUntilDialog(run, install);
    if (!dialog) return EXIT_NO_DIALOG;
    hostWaits = HostChecked(run, dialog);
    ClickWithMouse(install);
    ClickWithMouse(GetDlgItem(dialog, ID_NO));
    dialogs = CloseFurtherDialogs(run, dialog);
    code = WaitForEnd(run, program);
    if (dialogs > 1) return EXIT_SECOND_DIALOG;
    return hostWaits ? code : EXIT_HOST_ENABLED;
}

/* Waits for the dialog, answers it and waits for the program's end. */
static int Drive(const Run* run, enum Answer answer, const char* program) {
    HWND dialog;
    int hostWaits, code;
    if (answer == ANSWER_INSTALL_TWICE) return InstallTwice(run, program);
    dialog = WaitForDialog(run);
    if (!dialog) return EXIT_NO_DIALOG;
    hostWaits = HostChecked(run, dialog);
    Answer(dialog, answer);
    code = WaitForEnd(run, program);
    return hostWaits ? code : EXIT_HOST_ENABLED;
}

int main(int argc, char** argv) {
    enum Answer answer;
    PROCESS_INFORMATION process;
    Run run;
    int result;
    run.checkHost = argc > 1 && strcmp(argv[1], "--host-disabled") == 0;
    argc -= run.checkHost;
    argv += run.checkHost;
    if (argc < 5 || !ParseAnswer(argv[2], &answer) || atoi(argv[3]) < 1) {
        fprintf(stderr, "usage: offerclick [--host-disabled] TITLE yes|no|close|install-twice SECONDS PROGRAM [ARGUMENT...]\n");
        return EXIT_USAGE;
    }
    if (!Start(argc - 4, argv + 4, &process)) {
        fprintf(stderr, "offerclick: cannot start %s (error %lu)\n", argv[4], GetLastError());
        return EXIT_NOT_STARTED;
    }
    run.process = process.hProcess;
    run.title = argv[1];
    run.limitMs = (DWORD)atoi(argv[3]) * 1000;
    result = Drive(&run, answer, argv[4]);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}
