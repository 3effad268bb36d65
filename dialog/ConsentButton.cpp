#include "dialog/ConsentButton.h"

#include <cstring>

#include "dialog/RunLanguage.h"
#include "util/CMsString.h"
#include "window/DcScopes.h"
#include "window/WideWindowText.h"
#include "window/WindowUtils.h"

namespace {

const int HEAD_POINTS = 12;
const int TAIL_POINTS = 8;
const LONG BOLD_WEIGHT = 700;
const char SEPARATOR[] = " ";

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

void DrawOpaqueText(DeviceContext& dc, int x, int y, const char* text, const RECT& size, TextEncoding encoding) {
    RECT box = {x, y, x + Width(size), y + Height(size)};
    dc.ExtTextOut(x, y, ETO_OPAQUE, &box, text, static_cast<int>(std::strlen(text)), encoding);
}

// The button's caption as its words were set.
CMsString Caption(HWND button, TextEncoding encoding) {
    if (encoding == TEXT_UTF8) return ReadWindowTextAsUtf8(button);
    CMsString caption;
    ReadWindowText(button, caption);
    return caption;
}

}  // namespace

ConsentButton::ConsentButton() : OwnerDrawButton(BFS_RAISED) {}

ConsentButton::~ConsentButton() = default;

ConsentButton* ConsentButton::Destroy(unsigned flags) {
    this->~ConsentButton();
    if (flags & 1) ::operator delete(this);
    return this;
}

HFONT ConsentButton::CreateCaptionFont(DeviceContext& dc, bool bold, const ConsentWords& words) {
    LOGFONTA font = {};
    lstrcpynA(font.lfFaceName, words.face ? words.face : "Arial", LF_FACESIZE);
    font.lfCharSet = words.charSet;
    const int points = bold ? HEAD_POINTS : TAIL_POINTS;
    font.lfHeight = -MulDiv(points, GetDeviceCaps(dc.AttributeDc(), LOGPIXELSY), 72);
    if (bold) font.lfWeight = BOLD_WEIGHT;
    return CreateFontIndirectA(&font);
}

RECT ConsentButton::MeasureText(DeviceContext& dc, HFONT font, const char* text, int* descent,
                                TextEncoding encoding) {
    HGDIOBJ previous = dc.SelectObject(font);
    if (descent) {
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc.AttributeDc(), &metrics);
        *descent = metrics.tmDescent;
    }
    SIZE size = dc.GetTextExtent(text, static_cast<int>(std::strlen(text)), encoding);
    dc.SelectObject(previous);
    RECT measured = {0, 0, size.cx, size.cy};
    return measured;
}

// Vertical centring uses the head alone; the tail is lowered or raised so that
// its baseline meets the head's.
void ConsentButton::DrawContent(DeviceContext& dc, const DRAWITEMSTRUCT* item, const RECT& content) {
    const ConsentWords& words = RunLanguage(GetParent(item->hwndItem));
    const TextEncoding encoding = WordsEncoding(words);
    const CMsString caption = Caption(item->hwndItem, encoding);
    const int tab = caption.Find('\t', true, 0, encoding);
    const CMsString head = tab < 0 ? caption : caption.Left(tab);
    const CMsString tail = tab < 0 ? CMsString() : caption.Mid(tab + 1, caption.GetLength() - tab - 1);

    HFONT bold = CreateCaptionFont(dc, true, words);
    HFONT normal = CreateCaptionFont(dc, false, words);
    HGDIOBJ previous = dc.SelectObject(bold);

    int headDescent = 0;
    int tailDescent = 0;
    const RECT headSize = MeasureText(dc, bold, head, &headDescent, encoding);
    const RECT separatorSize = MeasureText(dc, bold, SEPARATOR, nullptr);
    const RECT tailSize = MeasureText(dc, normal, tail, &tailDescent, encoding);

    const int groupWidth = Width(headSize) + Width(separatorSize) + Width(tailSize);
    const int x0 = content.left + (Width(content) - groupWidth) / 2;
    const int y0 = content.top + (Height(content) - Height(headSize)) / 2;
    const int tailX = words.rightToLeft ? x0 : x0 + Width(headSize) + Width(separatorSize);
    const int headX = words.rightToLeft ? x0 + Width(tailSize) + Width(separatorSize) : x0;
    dc.SelectObject(bold);
    DrawOpaqueText(dc, headX, y0, head, headSize, encoding);

    const int y1 = y0 + (Height(headSize) - headDescent) - (Height(tailSize) - tailDescent);
    dc.SelectObject(normal);
    DrawOpaqueText(dc, tailX, y1, tail, tailSize, encoding);

    dc.SelectObject(previous);
    DeleteObject(bold);
    DeleteObject(normal);
}
