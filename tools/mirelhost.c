/*
 * Console host for MirelDialog.dll: shows the dialog for a parameter file or
 * parameter text, prints "result: N" and exits with N.
 *
 *   mirelhost [--answer yes|no|close] [--screenshot FILE.bmp] PARAMETERS
 *
 * With --answer a second thread waits for the dialog to become visible,
 * optionally saves a picture of it, and answers it; it gives up after 20 s.
 */
#include <stdio.h>
#include <string.h>

#include "MirelDialog.h"

#define WAIT_LIMIT_MS 20000
#define POLL_MS 50
#define SETTLE_MS 500

typedef int(WINAPI* RunMirelDialogFn)(const char* parameters);

enum Answer { ANSWER_NONE, ANSWER_YES, ANSWER_NO, ANSWER_CLOSE };

typedef struct Options {
    enum Answer answer;
    const char* screenshot;
    const char* parameters;
} Options;

typedef struct FindState {
    DWORD processId;
    HWND found;
} FindState;

static BOOL CALLBACK MatchDialog(HWND window, LPARAM lParam) {
    FindState* state = (FindState*)lParam;
    DWORD processId = 0;
    char className[16];
    GetWindowThreadProcessId(window, &processId);
    if (processId != state->processId || !IsWindowVisible(window)) return TRUE;
    if (!GetClassNameA(window, className, sizeof className)) return TRUE;
    if (strcmp(className, "#32770") != 0) return TRUE;
    state->found = window;
    return FALSE;
}

static HWND WaitForVisibleDialog(void) {
    FindState state;
    DWORD waited;
    state.processId = GetCurrentProcessId();
    for (waited = 0; waited < WAIT_LIMIT_MS; waited += POLL_MS) {
        state.found = NULL;
        EnumWindows(MatchDialog, (LPARAM)&state);
        if (state.found) return state.found;
        Sleep(POLL_MS);
    }
    return NULL;
}

static int WriteAll(HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, NULL) && written == size;
}

static int WriteBitmapFile(const char* path, const BITMAPINFOHEADER* info, const void* bits) {
    BITMAPFILEHEADER header;
    HANDLE file;
    int ok;
    memset(&header, 0, sizeof header);
    header.bfType = 0x4D42; /* "BM" */
    header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    header.bfSize = header.bfOffBits + info->biSizeImage;
    file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;
    ok = WriteAll(file, &header, sizeof header) && WriteAll(file, info, sizeof *info) &&
         WriteAll(file, bits, info->biSizeImage);
    CloseHandle(file);
    return ok;
}

/* Copies the dialog's window rectangle from the screen into a 24-bit BMP. */
static int SaveScreenshot(HWND dialog, const char* path) {
    RECT rect;
    BITMAPINFO info;
    void* bits = NULL;
    HDC screen, memory;
    HBITMAP bitmap;
    HGDIOBJ previous;
    int width, height, ok = 0;
    if (!GetWindowRect(dialog, &rect)) return 0;
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    if (width < 1 || height < 1) return 0;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = (DWORD)(((width * 3 + 3) & ~3) * height);
    screen = GetDC(NULL);
    if (!screen) return 0;
    memory = CreateCompatibleDC(screen);
    bitmap = memory ? CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0) : NULL;
    if (bitmap) {
        previous = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY)) {
            GdiFlush();
            ok = WriteBitmapFile(path, &info.bmiHeader, bits);
        }
        SelectObject(memory, previous);
        DeleteObject(bitmap);
    }
    if (memory) DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return ok;
}

static void Answer(HWND dialog, enum Answer answer) {
    if (answer == ANSWER_CLOSE) {
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        return;
    }
    HWND button = GetDlgItem(dialog, answer == ANSWER_YES ? 209 : 210);
    if (button) PostMessageA(button, BM_CLICK, 0, 0);
}

static DWORD WINAPI Responder(LPVOID parameter) {
    const Options* options = (const Options*)parameter;
    HWND dialog = WaitForVisibleDialog();
    if (!dialog) {
        fprintf(stderr, "mirelhost: no dialog became visible within %d s\n", WAIT_LIMIT_MS / 1000);
        return 1;
    }
    Sleep(SETTLE_MS);
    if (options->screenshot) {
        RedrawWindow(dialog, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(SETTLE_MS);
        if (!SaveScreenshot(dialog, options->screenshot))
            fprintf(stderr, "mirelhost: could not save %s\n", options->screenshot);
    }
    Answer(dialog, options->answer);
    return 0;
}

static int ParseAnswer(const char* text, enum Answer* answer) {
    if (strcmp(text, "yes") == 0) *answer = ANSWER_YES;
    else if (strcmp(text, "no") == 0) *answer = ANSWER_NO;
    else if (strcmp(text, "close") == 0) *answer = ANSWER_CLOSE;
    else return 0;
    return 1;
}

static int ParseOptions(int argc, char** argv, Options* options) {
    int i;
    memset(options, 0, sizeof *options);
    for (i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--answer") == 0 && i + 1 < argc) {
            if (!ParseAnswer(argv[++i], &options->answer)) return 0;
        } else if (strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
            options->screenshot = argv[++i];
        } else if (!options->parameters) {
            options->parameters = argv[i];
        } else {
            return 0;
        }
    }
    if (options->screenshot && options->answer == ANSWER_NONE) options->answer = ANSWER_CLOSE;
    return options->parameters != NULL;
}

/* Like the installers that load the DLL (Inno Setup 6, NSIS with
 * ManifestDPIAware), the host is DPI-aware, so that at more than 96 dots per
 * inch the dialog is drawn at the screen's real size. Looked up at run time:
 * Windows before Vista lacks it. */
static void BecomeDpiAware(void) {
    typedef BOOL(WINAPI * SetAwareFn)(void);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    SetAwareFn setAware = user32 ? (SetAwareFn)(void*)GetProcAddress(user32, "SetProcessDPIAware") : NULL;
    if (setAware) setAware();
}

/* MirelDialog.dll from the folder of this program. */
static HMODULE LoadLibraryBesideHost(void) {
    char path[MAX_PATH + 32];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    char* slash;
    if (length == 0 || length >= MAX_PATH) return NULL;
    path[length] = '\0';
    slash = strrchr(path, '\\');
    slash = slash ? slash + 1 : path;
    strcpy(slash, "MirelDialog.dll");
    return LoadLibraryA(path);
}

int main(int argc, char** argv) {
    Options options;
    HMODULE library;
    RunMirelDialogFn run;
    HANDLE responder = NULL;
    int result;
    if (!ParseOptions(argc, argv, &options)) {
        fprintf(stderr, "usage: mirelhost [--answer yes|no|close] [--screenshot FILE.bmp] "
                        "PARAMETER-FILE-OR-TEXT\n");
        return MIREL_RESULT_FAILED;
    }
    BecomeDpiAware();
    library = LoadLibraryBesideHost();
    if (!library) {
        fprintf(stderr, "mirelhost: cannot load MirelDialog.dll (error %lu)\n", GetLastError());
        return MIREL_RESULT_FAILED;
    }
    run = (RunMirelDialogFn)(void*)GetProcAddress(library, "RunMirelDialog");
    if (!run) {
        fprintf(stderr, "mirelhost: MirelDialog.dll has no RunMirelDialog\n");
        FreeLibrary(library);
        return MIREL_RESULT_FAILED;
    }
    if (options.answer != ANSWER_NONE)
        responder = CreateThread(NULL, 0, Responder, &options, 0, NULL);
    result = run(options.parameters);
    printf("result: %d\n", result);
    fflush(stdout);
    /* A responder still waiting for a dialog that was never shown ends with
     * the process. */
    if (responder) CloseHandle(responder);
    FreeLibrary(library);
    return result;
}
