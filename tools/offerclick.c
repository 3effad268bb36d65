/*
 * Answers the consent dialog of another program, as a user would: starts the
 * program, waits until it shows a dialog ("#32770") with the given caption,
 * clicks Yes or No or closes it from the title bar, waits for the program to
 * end and exits with the program's exit code.
 *
 *   offerclick TITLE yes|no|close SECONDS PROGRAM [ARGUMENT...]
 *
 * SECONDS bounds each wait. Its own failures end with codes above 100:
 * 100 usage, 101 the program did not start, 102 no such dialog appeared,
 * 103 the program did not end (it is then terminated).
 */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define EXIT_USAGE 100
#define EXIT_NOT_STARTED 101
#define EXIT_NO_DIALOG 102
#define EXIT_NOT_ENDED 103

enum Answer { ANSWER_YES, ANSWER_NO, ANSWER_CLOSE };

typedef struct FindState {
    DWORD processId;
    const char* title;
    HWND found;
} FindState;

static BOOL CALLBACK MatchDialog(HWND window, LPARAM lParam) {
    FindState* state = (FindState*)lParam;
    DWORD processId = 0;
    char className[16] = "";
    char caption[256] = "";
    GetWindowThreadProcessId(window, &processId);
    if (processId != state->processId || !IsWindowVisible(window)) return TRUE;
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, caption, sizeof caption);
    if (strcmp(className, "#32770") != 0 || strcmp(caption, state->title) != 0) return TRUE;
    state->found = window;
    return FALSE;
}

/* Null when the process ends or the time runs out first. */
static HWND WaitForDialog(HANDLE process, DWORD processId, const char* title, DWORD limitMs) {
    FindState state;
    DWORD start = GetTickCount();
    state.processId = processId;
    state.title = title;
    while (GetTickCount() - start < limitMs) {
        state.found = NULL;
        EnumWindows(MatchDialog, (LPARAM)&state);
        if (state.found) return state.found;
        if (WaitForSingleObject(process, 50) == WAIT_OBJECT_0) return NULL;
    }
    return NULL;
}

static void Answer(HWND dialog, enum Answer answer) {
    if (answer == ANSWER_CLOSE) {
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        return;
    }
    PostMessageA(GetDlgItem(dialog, answer == ANSWER_YES ? 209 : 210), BM_CLICK, 0, 0);
}

static int ParseAnswer(const char* text, enum Answer* answer) {
    if (strcmp(text, "yes") == 0) *answer = ANSWER_YES;
    else if (strcmp(text, "no") == 0) *answer = ANSWER_NO;
    else if (strcmp(text, "close") == 0) *answer = ANSWER_CLOSE;
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

/* Waits for the dialog, answers it and waits for the program's end. */
static int Drive(const PROCESS_INFORMATION* process, const char* title, enum Answer answer,
                 DWORD limitMs, const char* program) {
    DWORD exitCode = 0;
    HWND dialog = WaitForDialog(process->hProcess, process->dwProcessId, title, limitMs);
    if (!dialog) {
        fprintf(stderr, "offerclick: no dialog \"%s\" appeared\n", title);
        TerminateProcess(process->hProcess, EXIT_NO_DIALOG);
        return EXIT_NO_DIALOG;
    }
    Answer(dialog, answer);
    if (WaitForSingleObject(process->hProcess, limitMs) != WAIT_OBJECT_0) {
        fprintf(stderr, "offerclick: %s did not end after the answer\n", program);
        TerminateProcess(process->hProcess, EXIT_NOT_ENDED);
        return EXIT_NOT_ENDED;
    }
    GetExitCodeProcess(process->hProcess, &exitCode);
    printf("offerclick: %s ended with %ld\n", program, (long)(LONG)exitCode);
    return (int)exitCode;
}

int main(int argc, char** argv) {
    enum Answer answer;
    PROCESS_INFORMATION process;
    int result;
    if (argc < 5 || !ParseAnswer(argv[2], &answer) || atoi(argv[3]) < 1) {
        fprintf(stderr, "usage: offerclick TITLE yes|no|close SECONDS PROGRAM [ARGUMENT...]\n");
        return EXIT_USAGE;
    }
    if (!Start(argc - 4, argv + 4, &process)) {
        fprintf(stderr, "offerclick: cannot start %s (error %lu)\n", argv[4], GetLastError());
        return EXIT_NOT_STARTED;
    }
    result = Drive(&process, argv[1], answer, (DWORD)atoi(argv[3]) * 1000, argv[4]);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}
