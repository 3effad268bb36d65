#include "window/DialogBase.h"

#include "window/ThreadWindowsDisabler.h"

namespace {
const int CTLCOLOR_DIALOG_KIND = WM_CTLCOLORDLG - WM_CTLCOLORMSGBOX;
const int CTLCOLOR_STATIC_KIND = WM_CTLCOLORSTATIC - WM_CTLCOLORMSGBOX;

bool IsCtlColorMessage(UINT message) {
    return message >= WM_CTLCOLOREDIT && message <= WM_CTLCOLORSTATIC;
}

bool IsOkOrCancel(UINT id) { return id == IDOK || id == IDCANCEL; }

bool IsCloseCommand(WPARAM wParam) { return (wParam & 0xFFF0) == SC_CLOSE; }

LPCSTR TemplateName(DWORD templateId) { return MAKEINTRESOURCEA(templateId & 0xFFFF); }
}  // namespace

DialogBase::DialogBase(HINSTANCE instance, DWORD templateId, HWND ownerWindow, DWORD unusedValue1,
                       DWORD unusedValue2, COLORREF textColor, COLORREF backColor)
    : instance(instance),
      templateId(templateId),
      ownerWindow(ownerWindow),
      unusedValue1(unusedValue1),
      textColor(textColor),
      backColor(backColor),
      backBrush(CreateSolidBrush(backColor)),
      unusedValue2(unusedValue2),
      keepSysMenu(1),
      result(DIALOG_RESULT_UNSET),
      runFlags(0) {}

DialogBase::~DialogBase() {
    if (backBrush) DeleteObject(backBrush);
}

DialogBase* DialogBase::Destroy(unsigned flags) {
    this->~DialogBase();
    if (flags & 1) ::operator delete(this);
    return this;
}

INT_PTR DialogBase::DoModal() {
    runFlags &= ~static_cast<DWORD>(DRF_MODELESS);
    return DialogBoxParamA(instance, TemplateName(templateId), ownerWindow, SharedDialogProc,
                           reinterpret_cast<LPARAM>(this));
}

HWND DialogBase::CreateModeless(BOOL destroyOnEnd) {
    runFlags |= DRF_MODELESS;
    if (destroyOnEnd) runFlags |= DRF_DESTROY_ON_END;
    return CreateDialogParamA(instance, TemplateName(templateId), ownerWindow, SharedDialogProc,
                              reinterpret_cast<LPARAM>(this));
}

void DialogBase::Reserved(DWORD, DWORD) {}

void DialogBase::EndWith(int code) {
    result = code;
    if (!IsModeless()) {
        // Before EndDialog hides the dialog and hands activation on, so that
        // it goes to the host's window and not to another program's.
        EnableThreadWindows(hwnd);
        EndDialog(hwnd, code);
    } else if (DestroysOnEnd()) {
        DestroyWindow(hwnd);
    }
}

void DialogBase::DisableHostWindows() {
    if (!IsModeless() && !ownerWindow) DisableThreadWindows(hwnd);
}

BOOL DialogBase::OnInitDialog() { return TRUE; }

HBRUSH DialogBase::OnCtlColor(HDC dc, HWND, int kind) {
    if (kind != CTLCOLOR_DIALOG_KIND && kind != CTLCOLOR_STATIC_KIND) return nullptr;
    SetTextColor(dc, textColor);
    SetBkColor(dc, backColor);
    return backBrush;
}

void DialogBase::OnPaint(HDC, PAINTSTRUCT*) {}

LONG DialogBase::OnCommand(UINT, UINT) { return 0; }

void DialogBase::OnTimer(UINT_PTR) {}

LONG DialogBase::OnNotify(int, NMHDR*) { return 0; }

void DialogBase::OnDrawItem(int, DRAWITEMSTRUCT*) {}

HBRUSH DialogBase::CtlColorOrNull(UINT message, WPARAM wParam, LPARAM lParam) {
    return OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                      static_cast<int>(message - WM_CTLCOLORMSGBOX));
}

INT_PTR DialogBase::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsCtlColorMessage(message)) {
        if (HBRUSH brush = CtlColorOrNull(message, wParam, lParam))
            return reinterpret_cast<INT_PTR>(brush);
        return WindowBase::WindowProc(message, wParam, lParam);
    }
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        OnPaint(dc, &paint);
        EndPaint(hwnd, &paint);
        return 1;
    }
    case WM_DRAWITEM:
        OnDrawItem(static_cast<int>(wParam), reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return 1;
    case WM_NOTIFY:
        return OnNotify(static_cast<int>(wParam), reinterpret_cast<NMHDR*>(lParam));
    case WM_TIMER:
        OnTimer(wParam);
        return 1;
    case WM_COMMAND: {
        UINT id = LOWORD(wParam);
        if (LONG handled = OnCommand(id, HIWORD(wParam))) return handled;
        if (!IsModeless() || !IsOkOrCancel(id)) return 0;
        EndWith(static_cast<int>(id));
        return DestroysOnEnd() ? 1 : 0;
    }
    case WM_CLOSE:
        if (!IsModeless()) return 0;
        EndWith(IDCANCEL);
        return DestroysOnEnd() ? 0 : 1;
    case WM_SYSCOMMAND:
        if (!IsModeless() || !IsCloseCommand(wParam)) return 0;
        EndWith(IDCANCEL);
        return DestroysOnEnd() ? 0 : 1;
    case WM_DESTROY:
        return 1;
    case WM_NCDESTROY:
        // A run ended without EndWith (EndDialog, DestroyWindow, a quit
        // message) lets the host's windows go here.
        EnableThreadWindows(hwnd);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        hwnd = nullptr;
        return 1;
    case WM_QUERYNEWPALETTE:
        return 0;
    case WM_PALETTECHANGED:
        return 1;
    default:
        return 0;
    }
}

LRESULT DialogBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsCtlColorMessage(message)) {
        if (HBRUSH brush = CtlColorOrNull(message, wParam, lParam))
            return reinterpret_cast<LRESULT>(brush);
        return WindowBase::WindowProc(message, wParam, lParam);
    }
    switch (message) {
    case WM_ACTIVATE:
        if (!keepSysMenu) {
            LONG style = GetWindowLongA(hwnd, GWL_STYLE);
            SetWindowLongA(hwnd, GWL_STYLE, style & ~static_cast<LONG>(WS_SYSMENU));
        }
        break;
    case WM_CLOSE:
        if (IsModeless()) {
            EndWith(IDCANCEL);
            if (DestroysOnEnd()) return 0;
        }
        break;
    case WM_COMMAND: {
        UINT id = LOWORD(wParam);
        if (LONG handled = OnCommand(id, HIWORD(wParam))) return handled;
        if (IsModeless() && IsOkOrCancel(id)) {
            EndWith(static_cast<int>(id));
            if (DestroysOnEnd()) return 0;
        }
        break;
    }
    case WM_SYSCOMMAND:
        if (IsModeless() && IsCloseCommand(wParam)) {
            EndWith(IDCANCEL);
            if (DestroysOnEnd()) return 0;
        }
        break;
    }
    return WindowBase::WindowProc(message, wParam, lParam);
}

INT_PTR CALLBACK SharedDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG && lParam) {
        auto* dialog = reinterpret_cast<DialogBase*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(
                                                     static_cast<WindowBase*>(dialog)));
        dialog->hwnd = window;
    }
    auto* dialog = static_cast<DialogBase*>(WindowObjectFrom(window));
    if (!dialog) return FALSE;
    return dialog->DialogProc(message, wParam, lParam);
}
