#include <cstring>

#include "dialog/ConsentDialog.h"
#include "window/DcScopes.h"
#include "window/DpiScale.h"

namespace {

const char ADVERTISEMENT[] = "Advertisement";
const int ADVERTISEMENT_RIGHT_GAP = 5;
const int ADVERTISEMENT_BOTTOM_GAP = 3;

}  // namespace

// The background itself is erased by the dialog manager with backBrush; only
// the caption in the corner is drawn here.
void ConsentDialog::OnPaint(HDC paintDc, PAINTSTRUCT*) {
    BorrowedDcScope dc(paintDc);
    HGDIOBJ previousFont = dc.SelectObject(GetStockObject(DEFAULT_GUI_FONT));
    COLORREF previousBack = dc.SetBkColor(GetSysColor(COLOR_BTNFACE));
    COLORREF previousText = dc.SetTextColor(GetSysColor(COLOR_BTNTEXT));

    const int length = static_cast<int>(std::strlen(ADVERTISEMENT));
    const SIZE size = dc.GetTextExtent(ADVERTISEMENT, length);
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    const DpiScale scale(paintDc);
    const int x = client.right - size.cx - scale.X(ADVERTISEMENT_RIGHT_GAP);
    const int y = client.bottom - size.cy - scale.Y(ADVERTISEMENT_BOTTOM_GAP);
    const RECT box = {x, y, x + size.cx, y + size.cy};
    dc.ExtTextOut(x, y, ETO_OPAQUE, &box, ADVERTISEMENT, static_cast<UINT>(length), nullptr);

    dc.SetBkColor(previousBack);
    dc.SetTextColor(previousText);
    dc.SelectObject(previousFont);
}

void ConsentDialog::OnDrawItem(int id, DRAWITEMSTRUCT* item) {
    const DWORD control = static_cast<DWORD>(id);
    if (control == yesButton.controlId) {
        yesButton.DrawItem(item);
        return;
    }
    if (control == noButton.controlId) noButton.DrawItem(item);
}
