/*
 * MirelDialog.dll: one modal consent dialog for installers.
 *
 * Three exports:
 *   int WINAPI RunMirelDialog(const char* parameters);      ordinal 1
 *   MirelConsentDialog* WINAPI GetDialogObject(void);       ordinal 2
 *   int WINAPI RunMirelDialogW(const wchar_t* parameters);  ordinal 3
 *
 * RunMirelDialog takes the path of a parameter file or the parameter text
 * itself, shows the dialog and returns one of the MIREL_RESULT_ codes.
 * RunMirelDialogW is the same call for a path or a text in UTF-16: a file is
 * opened with the wide file functions, so any folder name works, and a text
 * is a UTF offer.
 *
 * Encodings. A parameter file, or a text, that begins with the UTF-8
 * byte-order mark, or that is well-formed UTF-8 throughout with at least one
 * character beyond ASCII, is read as UTF-8; a file that begins with the
 * UTF-16 LE byte-order mark is read as UTF-16; anything else is text in the
 * system's ANSI code page, as before.
 *
 * GetDialogObject returns a new dialog object (null when memory runs out) that
 * the host drives itself through its table of operations (MirelDialogVtbl) and
 * releases with slot 0 and flag 1:
 *
 *   MirelConsentDialog* d = GetDialogObject();
 *   d->observer = MyObserver;                      optional, before running
 *   d->vtbl->SetParameters(MIREL_SELF(d), "...");
 *   int answer = (int)d->vtbl->DoModal(MIREL_SELF(d));
 *   d->vtbl->Destroy(MIREL_SELF(d), 1);
 *
 * A modeless window (CreateModeless) must be gone (ended with destroy-on-end,
 * or DestroyWnd) before the object is released.
 *
 * Calling convention of the operations: on 32-bit x86 they are thiscall (the
 * object in ECX, the other arguments on the stack, popped by the callee). GCC
 * and Clang declare that directly. MSVC cannot declare thiscall in C, so for
 * MSVC C the pointers are declared __fastcall with a dummy second parameter
 * that occupies EDX, which leaves the stack exactly as thiscall expects. Pass
 * the object with MIREL_SELF(object), which supplies the dummy where needed.
 * On 64-bit Windows there is only one calling convention and no dummy.
 *
 * The structures below describe the object's memory, field by field, so that a
 * host can read its state and set `observer` and `observerData`. Fields other
 * than those two are the library's; a host only reads them.
 */
#ifndef MIREL_DIALOG_H
#define MIREL_DIALOG_H

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Result codes of RunMirelDialog, DoModal and EndWith. */
#define MIREL_RESULT_YES 1        /* the Yes button */
#define MIREL_RESULT_NO 2         /* the No button */
#define MIREL_RESULT_INCOMPLETE 3 /* title, message or disclaimer empty, or width below 1 */
#define MIREL_RESULT_CLOSED 8     /* closed from the title bar, Alt+F4 or the system menu */
#define MIREL_RESULT_FAILED (-1)  /* the dialog could not be created */

/* Called after each message the dialog dispatched (never for the close command
 * that ends it with MIREL_RESULT_CLOSED); the result is ignored. */
typedef LONG(CALLBACK* MessageObserver)(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        DWORD observerData);

#if defined(_M_IX86) || defined(__i386__)
#if defined(__GNUC__) || defined(__clang__)
#define MIREL_METHOD __attribute__((thiscall))
#define MIREL_THIS(type) type* self
#define MIREL_SELF(object) (object)
#else
#define MIREL_METHOD __fastcall
#define MIREL_THIS(type) type *self, void *unusedEdx
#define MIREL_SELF(object) (object), 0
#endif
#else
#define MIREL_METHOD
#define MIREL_THIS(type) type* self
#define MIREL_SELF(object) (object)
#endif

typedef struct MirelConsentDialog MirelConsentDialog;

/* The dialog object's operations, in table order. */
typedef struct MirelDialogVtbl {
    /* Runs the destructor chain; frees the object when bit 0 of flags is set. */
    MirelConsentDialog*(MIREL_METHOD* Destroy)(MIREL_THIS(MirelConsentDialog), unsigned flags);
    ATOM(MIREL_METHOD* RegisterWndClass)(MIREL_THIS(MirelConsentDialog), WNDCLASSA* windowClass);
    BOOL(MIREL_METHOD* CreateWnd)(MIREL_THIS(MirelConsentDialog), DWORD exStyle, LPCSTR className,
                                  LPCSTR windowName, DWORD style, int x, int y, int width,
                                  int height, HWND parent, HMENU menuOrId, HINSTANCE instance);
    BOOL(MIREL_METHOD* DestroyWnd)(MIREL_THIS(MirelConsentDialog));
    BOOL(MIREL_METHOD* Attach)(MIREL_THIS(MirelConsentDialog), HWND window);
    LRESULT(MIREL_METHOD* WindowProc)(MIREL_THIS(MirelConsentDialog), UINT message, WPARAM wParam,
                                      LPARAM lParam);
    void(MIREL_METHOD* OnFirstShow)(MIREL_THIS(MirelConsentDialog));
    void(MIREL_METHOD* OnBeforeAttach)(MIREL_THIS(MirelConsentDialog));
    INT_PTR(MIREL_METHOD* DoModal)(MIREL_THIS(MirelConsentDialog));
    HWND(MIREL_METHOD* CreateModeless)(MIREL_THIS(MirelConsentDialog), BOOL destroyOnEnd);
    void(MIREL_METHOD* Reserved)(MIREL_THIS(MirelConsentDialog), DWORD first, DWORD second);
    INT_PTR(MIREL_METHOD* DialogProc)(MIREL_THIS(MirelConsentDialog), UINT message, WPARAM wParam,
                                      LPARAM lParam);
    void(MIREL_METHOD* EndWith)(MIREL_THIS(MirelConsentDialog), int code);
    BOOL(MIREL_METHOD* OnInitDialog)(MIREL_THIS(MirelConsentDialog));
    HBRUSH(MIREL_METHOD* OnCtlColor)(MIREL_THIS(MirelConsentDialog), HDC dc, HWND control, int kind);
    void(MIREL_METHOD* OnPaint)(MIREL_THIS(MirelConsentDialog), HDC dc, PAINTSTRUCT* paint);
    LONG(MIREL_METHOD* OnCommand)(MIREL_THIS(MirelConsentDialog), UINT id, UINT code);
    void(MIREL_METHOD* OnTimer)(MIREL_THIS(MirelConsentDialog), UINT_PTR timerId);
    LONG(MIREL_METHOD* OnNotify)(MIREL_THIS(MirelConsentDialog), int id, NMHDR* header);
    void(MIREL_METHOD* OnDrawItem)(MIREL_THIS(MirelConsentDialog), int id, DRAWITEMSTRUCT* item);
    /* Takes a parameter file path or the parameter text (in the code page, or
     * UTF-8 as under Encodings above), reads the fields and, on a live
     * dialog, arranges it at once. */
    void(MIREL_METHOD* SetParameters)(MIREL_THIS(MirelConsentDialog), const char* parameters);
} MirelDialogVtbl;

/* Fields every window object starts with, after its table pointer. */
typedef struct MirelWindowFields {
    HWND hwnd;
    WNDPROC prevWndProc;
    DWORD shownOnce;
} MirelWindowFields;

/* A growable pointer array: table pointer, elements, count, release function. */
typedef struct MirelPtrArray {
    const void* vtbl;
    void** items;
    LONG count;
    void (*release)(void* element);
} MirelPtrArray;

typedef struct MirelElementList {
    MirelPtrArray array;
    LONG textSeen;
} MirelElementList;

/* The HTML control that shows the message or the disclaimer. */
typedef struct MirelHtmlCtrl {
    const void* vtbl;
    MirelWindowFields window;
    HINSTANCE instance;
    HCURSOR handCursor;
    LONG needsParse;
    MirelPtrArray fontNames;
    LONG wheelDelta;
    LONG browserType;
    MirelPtrArray bodyAttribs;
    MirelPtrArray hostAttribs;
    MirelElementList elements;
} MirelHtmlCtrl;

/* An owner-drawn button (Yes or No). */
typedef struct MirelButton {
    const void* vtbl;
    MirelWindowFields window;
    DWORD controlId;
    DWORD frameStyle;
    DWORD hovering;
} MirelButton;

/* Strings are one pointer to zero-terminated text, owned by the object. For a
 * UTF offer (see Encodings above) they hold UTF-8: sourceText then begins with
 * the UTF-8 byte-order mark (EF BB BF), which is how to tell; title, message
 * and disclaimer have none. Otherwise they hold code-page text. */
struct MirelConsentDialog {
    const MirelDialogVtbl* vtbl;
    MirelWindowFields window;

    /* dialog */
    HINSTANCE instance;
    DWORD templateId;
    HWND ownerWindow;
    DWORD unusedValue1;
    COLORREF textColor;
    COLORREF backColor;
    HBRUSH backBrush;
    DWORD unusedValue2;
    DWORD keepSysMenu;
    int result;
    DWORD runFlags; /* bit 0: modeless; bit 1: destroy the window when it ends */

    /* host */
    const char* sourceText;
    MessageObserver observer; /* set by the host */
    DWORD observerData;       /* set by the host; handed to the observer */

    /* consent dialog */
    MirelHtmlCtrl messageCtrl;
    MirelHtmlCtrl disclaimerCtrl;
    MirelButton yesButton;
    MirelButton noButton;
    const char* title;
    const char* message;
    const char* disclaimer;
    LONG location; /* 0 Top-Left ... 4 Center-Center ... 8 Bottom-Right */
    LONG width;
    LONG initialWindowWidth;
    LONG sideAllowance;
};

int WINAPI RunMirelDialog(const char* parameters);
MirelConsentDialog* WINAPI GetDialogObject(void);
int WINAPI RunMirelDialogW(const wchar_t* parameters);

#ifdef __cplusplus
}
#endif

#endif
