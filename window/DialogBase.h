// A dialog from a template, run modally or modelessly, whose messages are
// dispatched to one virtual handler per message kind. Follows the slot-0
// Destroy pattern described in window/WindowBase.h.
#pragma once
#include "window/WindowBase.h"

// Bits of DialogBase::runFlags.
enum DialogRunFlags : DWORD {
    DRF_MODELESS = 1,
    DRF_DESTROY_ON_END = 2,
};

// The code a dialog reports until something ends it.
const int DIALOG_RESULT_UNSET = 3;

class DialogBase : public WindowBase {
public:
    DialogBase(HINSTANCE instance, DWORD templateId, HWND ownerWindow, DWORD unusedValue1,
               DWORD unusedValue2, COLORREF textColor, COLORREF backColor);

    DialogBase* Destroy(unsigned flags) override;
    // Used when the object is bound through Attach or CreateWnd instead of
    // through SharedDialogProc.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    virtual INT_PTR DoModal();
    virtual HWND CreateModeless(BOOL destroyOnEnd);
    virtual void Reserved(DWORD first, DWORD second);
    // The dispatcher: one handler call per message kind.
    virtual INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Records the code and ends the run (see the run flags).
    virtual void EndWith(int code);
    virtual BOOL OnInitDialog();
    // kind: message number minus WM_CTLCOLORMSGBOX (4 dialog, 6 static).
    virtual HBRUSH OnCtlColor(HDC dc, HWND control, int kind);
    virtual void OnPaint(HDC dc, PAINTSTRUCT* paint);
    // Non-zero when handled; that value becomes the message's result.
    virtual LONG OnCommand(UINT id, UINT code);
    virtual void OnTimer(UINT_PTR timerId);
    virtual LONG OnNotify(int id, NMHDR* header);
    virtual void OnDrawItem(int id, DRAWITEMSTRUCT* item);

    // A modal run without an owner window: the other windows of the thread
    // wait until the dialog ends (window/ThreadWindowsDisabler.h).
    void DisableHostWindows();

    BOOL IsModeless() const { return (runFlags & DRF_MODELESS) != 0; }
    BOOL DestroysOnEnd() const { return (runFlags & DRF_DESTROY_ON_END) != 0; }

    HINSTANCE instance;
    DWORD templateId;
    HWND ownerWindow;
    DWORD unusedValue1;  // kept for the shared layout; never read
    COLORREF textColor;
    COLORREF backColor;
    HBRUSH backBrush;
    DWORD unusedValue2;  // kept for the shared layout; never read
    DWORD keepSysMenu;
    int result;
    DWORD runFlags;

protected:
    ~DialogBase();

private:
    HBRUSH CtlColorOrNull(UINT message, WPARAM wParam, LPARAM lParam);
};

// The dialog procedure of every dialog of the library.
INT_PTR CALLBACK SharedDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
