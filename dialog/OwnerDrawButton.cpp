#include "dialog/OwnerDrawButton.h"

#include "window/DcScopes.h"
#include "window/DpiScale.h"

namespace {

const COLORREF BLACK = RGB(0, 0, 0);
// Padding between the frame and the focus rectangle; it grows with the DPI,
// the one-pixel lines do not.
const int RAISED_PADDING = 3;
const int FLAT_PADDING = 2;

void Pad(const DRAWITEMSTRUCT* item, RECT& r, int padding) {
    const DpiScale scale(item->hDC);
    InflateRect(&r, -scale.X(padding), -scale.Y(padding));
}

}  // namespace

OwnerDrawButton::OwnerDrawButton(DWORD style) : controlId(0), frameStyle(style), hovering(0) {}

OwnerDrawButton::~OwnerDrawButton() = default;

OwnerDrawButton* OwnerDrawButton::Destroy(unsigned flags) {
    this->~OwnerDrawButton();
    if (flags & 1) ::operator delete(this);
    return this;
}

BOOL OwnerDrawButton::Attach(HWND window) {
    controlId = static_cast<DWORD>(GetWindowLongA(window, GWL_ID));
    return WindowBase::Attach(window);
}

LRESULT OwnerDrawButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEMOVE) SetHover(true);
    if (message == WM_TIMER && wParam == HOVER_TIMER_ID) CheckCursorStillOver();
    return WindowBase::WindowProc(message, wParam, lParam);
}

void OwnerDrawButton::CheckCursorStillOver() {
    RECT bounds;
    POINT cursor;
    if (!GetWindowRect(hwnd, &bounds) || !GetCursorPos(&cursor)) return;
    if (!PtInRect(&bounds, cursor)) SetHover(false);
}

void OwnerDrawButton::SetHover(bool on) {
    if ((hovering != 0) == on) return;
    hovering = on ? 1 : 0;
    if (on)
        SetTimer(hwnd, HOVER_TIMER_ID, HOVER_TIMER_PERIOD, nullptr);
    else
        KillTimer(hwnd, HOVER_TIMER_ID);
    InvalidateRect(hwnd, nullptr, TRUE);
}

COLORREF OwnerDrawButton::GetColor(int index) {
    switch (index) {
    case BCI_FACE: return GetSysColor(COLOR_BTNFACE);
    case BCI_HIGHLIGHT: return GetSysColor(COLOR_BTNHIGHLIGHT);
    case BCI_SHADOW: return GetSysColor(COLOR_BTNSHADOW);
    case BCI_TEXT: return GetSysColor(COLOR_BTNTEXT);
    default: return 0;
    }
}

int OwnerDrawButton::DrawItem(const DRAWITEMSTRUCT* item) {
    if (!item || item->CtlID != controlId) return 0;
    BorrowedDcScope dc(item->hDC);
    if (frameStyle == BFS_RAISED) return DrawRaised(dc, item);
    if (frameStyle == BFS_FLAT) return DrawFlat(dc, item);
    return 0;
}

// A black outer edge on the bottom and right marks the default-looking,
// unpressed button; a black ring marks the focused one. The content is not
// shifted when pressed.
int OwnerDrawButton::DrawRaised(DeviceContext& dc, const DRAWITEMSTRUCT* item) {
    const bool pressed = (item->itemState & ODS_SELECTED) != 0;
    const bool focused = (item->itemState & ODS_FOCUS) != 0;
    RECT r = item->rcItem;
    dc.FillWithColor(r, GetColor(BCI_FACE));
    if (!pressed) {
        dc.DrawBevel(r, GetColor(BCI_FACE), BLACK);
        r.right -= 1;
        r.bottom -= 1;
    }
    if (focused) {
        dc.DrawBevel(r, BLACK, BLACK);
        InflateRect(&r, -1, -1);
    }
    dc.DrawBevel(r, GetColor(pressed ? BCI_SHADOW : BCI_HIGHLIGHT), GetColor(BCI_SHADOW));
    Pad(item, r, RAISED_PADDING);
    if (focused) DrawFocusRect(item->hDC, &r);
    InflateRect(&r, -1, -1);
    DrawContentInFaceColors(dc, item, r);
    return 1;
}

int OwnerDrawButton::DrawFlat(DeviceContext& dc, const DRAWITEMSTRUCT* item) {
    RECT r = item->rcItem;
    dc.FillWithColor(r, GetColor(BCI_FACE));
    if (hovering) dc.DrawBevel(r, GetColor(BCI_HIGHLIGHT), GetColor(BCI_SHADOW));
    Pad(item, r, FLAT_PADDING);
    if (item->itemState & ODS_FOCUS) DrawFocusRect(item->hDC, &r);
    InflateRect(&r, -1, -1);
    DrawContentInFaceColors(dc, item, r);
    return 1;
}

void OwnerDrawButton::DrawContentInFaceColors(DeviceContext& dc, const DRAWITEMSTRUCT* item,
                                              const RECT& content) {
    COLORREF previousBack = dc.SetBkColor(GetColor(BCI_FACE));
    COLORREF previousText = dc.SetTextColor(GetColor(BCI_TEXT));
    DrawContent(dc, item, content);
    dc.SetBkColor(previousBack);
    dc.SetTextColor(previousText);
}
