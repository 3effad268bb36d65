#include "dialog/ConsentDialog.h"
#include "dialog/RunLanguage.h"
#include "window/DcScopes.h"
#include "window/DpiScale.h"

namespace {

const int ADVERTISEMENT_RIGHT_GAP = 5;
const int ADVERTISEMENT_BOTTOM_GAP = 3;

// The dialog's font in the words' character set and face; null for the
// built-in English, which keeps the dialog's font itself.
HFONT CreateAdvertisementFont(const ConsentWords& words) {
    if (&words == CONSENT_WORDS) return nullptr;
    LOGFONTA font = {};
    if (!GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font)) return nullptr;
    font.lfCharSet = words.charSet;
    if (words.face) lstrcpynA(font.lfFaceName, words.face, LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

}  // namespace

// The background itself is erased by the dialog manager with backBrush; only
// the caption in the corner is drawn here.
void ConsentDialog::OnPaint(HDC paintDc, PAINTSTRUCT*) {
    BorrowedDcScope dc(paintDc);
    const ConsentWords& words = RunLanguage(hwnd);
    HFONT languageFont = CreateAdvertisementFont(words);
    HGDIOBJ previousFont = dc.SelectObject(languageFont ? languageFont : GetStockObject(DEFAULT_GUI_FONT));
    COLORREF previousBack = dc.SetBkColor(GetSysColor(COLOR_BTNFACE));
    COLORREF previousText = dc.SetTextColor(GetSysColor(COLOR_BTNTEXT));

    const CMsString caption = WordsText(words, words.advertisement);
    const TextEncoding encoding = WordsEncoding(words);
    const SIZE size = dc.GetTextExtent(caption, caption.GetLength(), encoding);
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    const DpiScale scale(paintDc);
    const int x = client.right - size.cx - scale.X(ADVERTISEMENT_RIGHT_GAP);
    const int y = client.bottom - size.cy - scale.Y(ADVERTISEMENT_BOTTOM_GAP);
    const RECT box = {x, y, x + size.cx, y + size.cy};
    dc.ExtTextOut(x, y, ETO_OPAQUE, &box, caption, caption.GetLength(), encoding);

    dc.SetBkColor(previousBack);
    dc.SetTextColor(previousText);
    dc.SelectObject(previousFont);
    if (languageFont) DeleteObject(languageFont);
}

void ConsentDialog::OnDrawItem(int id, DRAWITEMSTRUCT* item) {
    const DWORD control = static_cast<DWORD>(id);
    if (control == yesButton.controlId) {
        yesButton.DrawItem(item);
        return;
    }
    if (control == noButton.controlId) noButton.DrawItem(item);
}
