/*
 * A host written in C that knows the library only through MirelDialog.h:
 * it loads the DLL, drives a GetDialogObject object through the table of
 * operations and its fields, and checks what comes back. Exit code 0 when
 * every check held, else the number of failed checks.
 */
#include <stdio.h>
#include <string.h>

#include "MirelDialog.h"

#define DIALOG_TIMEOUT_MS 10000

static const char COMPLETE[] =
    "<TITLE>C host</TITLE><WIDTH>360</WIDTH><LOCATION>top-left</LOCATION>"
    "<MESSAGE>Message</MESSAGE><DISCLAIMER>Disclaimer</DISCLAIMER>";

static int failures = 0;
static int observed = 0;
static int observedWithOtherData = 0;

#define CHECK(condition)                                                        \
    do {                                                                        \
        if (!(condition)) {                                                     \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            ++failures;                                                         \
        }                                                                       \
    } while (0)

typedef int(WINAPI* RunFn)(const char*);
typedef MirelConsentDialog*(WINAPI* ObjectFn)(void);

static LONG CALLBACK Observe(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                             DWORD data) {
    (void)window;
    (void)message;
    (void)wParam;
    (void)lParam;
    if (data == 0x5EED) ++observed;
    else ++observedWithOtherData;
    return 0;
}

static HMODULE LoadBesideProgram(void) {
    char path[MAX_PATH + 32];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    char* slash;
    if (length == 0 || length >= MAX_PATH) return NULL;
    path[length] = '\0';
    slash = strrchr(path, '\\');
    strcpy(slash ? slash + 1 : path, "MirelDialog.dll");
    return LoadLibraryA(path);
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

static BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM found) {
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (!IsWindowVisible(window) || strcmp(className, "#32770") != 0) return TRUE;
    *(HWND*)found = window;
    return FALSE;
}

/* Clicks Yes on the dialog of the thread given once it is visible. */
static DWORD WINAPI ClickYes(LPVOID threadId) {
    DWORD waited;
    HWND dialog = NULL;
    for (waited = 0; waited < DIALOG_TIMEOUT_MS; waited += 20) {
        EnumThreadWindows((DWORD)(ULONG_PTR)threadId, FindVisibleDialog, (LPARAM)&dialog);
        if (dialog) {
            PostMessageA(GetDlgItem(dialog, 209), BM_CLICK, 0, 0);
            return 0;
        }
        Sleep(20);
    }
    fprintf(stderr, "no dialog became visible\n");
    return 1;
}

static void CheckModeless(MirelConsentDialog* d) {
    char caption[64] = "";
    HWND window = d->vtbl->CreateModeless(MIREL_SELF(d), FALSE);
    CHECK(window != NULL);
    CHECK(d->window.hwnd == window);
    CHECK(d->runFlags == 1);
    GetWindowTextA(window, caption, sizeof caption);
    CHECK(strcmp(caption, "C host") == 0);
    PumpFor(200);
    CHECK(observed > 0);
    CHECK(observedWithOtherData == 0);

    d->vtbl->DialogProc(MIREL_SELF(d), WM_SYSCOMMAND, SC_CLOSE, 0);
    CHECK(d->result == MIREL_RESULT_CLOSED);
    d->vtbl->OnCommand(MIREL_SELF(d), 210, BN_CLICKED);
    CHECK(d->result == MIREL_RESULT_NO);
    d->vtbl->Reserved(MIREL_SELF(d), 1, 2);
    CHECK(IsWindow(window));
    CHECK(d->vtbl->DestroyWnd(MIREL_SELF(d)));
    CHECK(!IsWindow(window));
    CHECK(d->window.hwnd == NULL);

    window = d->vtbl->CreateModeless(MIREL_SELF(d), TRUE);
    CHECK(window != NULL);
    CHECK(d->runFlags == 3);
    d->vtbl->EndWith(MIREL_SELF(d), 5);
    CHECK(d->result == 5);
    CHECK(!IsWindow(window));
    CHECK(d->window.hwnd == NULL);
}

static void CheckModal(MirelConsentDialog* d) {
    HANDLE clicker = CreateThread(NULL, 0, ClickYes, (LPVOID)(ULONG_PTR)GetCurrentThreadId(), 0,
                                  NULL);
    INT_PTR answer = d->vtbl->DoModal(MIREL_SELF(d));
    CHECK(answer == MIREL_RESULT_YES);
    if (clicker) {
        WaitForSingleObject(clicker, DIALOG_TIMEOUT_MS);
        CloseHandle(clicker);
    }
}

int main(void) {
    HMODULE library = LoadBesideProgram();
    RunFn run;
    ObjectFn getObject;
    MirelConsentDialog* d;
    if (!library) {
        fprintf(stderr, "cannot load MirelDialog.dll\n");
        return 100;
    }
    run = (RunFn)(void*)GetProcAddress(library, "RunMirelDialog");
    getObject = (ObjectFn)(void*)GetProcAddress(library, "GetDialogObject");
    CHECK(run != NULL && getObject != NULL);
    if (!run || !getObject) return failures;

    CHECK(run(NULL) == MIREL_RESULT_INCOMPLETE);

    d = getObject();
    CHECK(d != NULL);
    if (!d) return failures;
    CHECK(d->templateId == 202);
    CHECK(d->location == 4);
    CHECK(d->result == MIREL_RESULT_INCOMPLETE);
    CHECK(d->observer == NULL);

    d->observer = Observe;
    d->observerData = 0x5EED;
    d->vtbl->SetParameters(MIREL_SELF(d), COMPLETE);
    CHECK(strcmp(d->title, "C host") == 0);
    CHECK(strcmp(d->message, "Message") == 0);
    CHECK(strcmp(d->disclaimer, "Disclaimer") == 0);
    CHECK(d->width == 360);
    CHECK(d->location == 0);

    CheckModeless(d);
    CheckModal(d);
    CHECK(d->vtbl->Destroy(MIREL_SELF(d), 1) == d);

    d = getObject();
    CHECK(d != NULL);
    if (d) d->vtbl->Destroy(MIREL_SELF(d), 1);

    FreeLibrary(library);
    if (failures) fprintf(stderr, "%d checks failed\n", failures);
    else printf("all checks passed\n");
    return failures;
}
