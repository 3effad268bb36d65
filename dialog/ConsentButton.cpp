#include "dialog/ConsentButton.h"

#include <cstring>

#include "util/CMsString.h"
#include "window/DcScopes.h"
#include "window/WindowUtils.h"

namespace {

const int HEAD_POINTS = 12;
const int TAIL_POINTS = 8;
const LONG BOLD_WEIGHT = 700;
const char SEPARATOR[] = " ";

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

void DrawOpaqueText(DeviceContext& dc, int x, int y, const char* text, const RECT& size) {
    RECT box = {x, y, x + Width(size), y + Height(size)};
    dc.ExtTextOut(x, y, ETO_OPAQUE, &box, text, static_cast<UINT>(std::strlen(text)), nullptr);
}

}  // namespace

ConsentButton::ConsentButton() : OwnerDrawButton(BFS_RAISED) {}

ConsentButton::~ConsentButton() = default;

ConsentButton* ConsentButton::Destroy(unsigned flags) {
    this->~ConsentButton();
    if (flags & 1) ::operator delete(this);
    return this;
}

HFONT ConsentButton::CreateCaptionFont(DeviceContext& dc, bool bold) {
    LOGFONTA font = {};
    lstrcpynA(font.lfFaceName, "Arial", LF_FACESIZE);
    const int points = bold ? HEAD_POINTS : TAIL_POINTS;
    font.lfHeight = -MulDiv(points, GetDeviceCaps(dc.AttributeDc(), LOGPIXELSY), 72);
    if (bold) font.lfWeight = BOLD_WEIGHT;
    return CreateFontIndirectA(&font);
}

RECT ConsentButton::MeasureText(DeviceContext& dc, HFONT font, const char* text, int* descent) {
    HGDIOBJ previous = dc.SelectObject(font);
    if (descent) {
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc.AttributeDc(), &metrics);
        *descent = metrics.tmDescent;
    }
    SIZE size = dc.GetTextExtent(text, static_cast<int>(std::strlen(text)));
    dc.SelectObject(previous);
    RECT measured = {0, 0, size.cx, size.cy};
    return measured;
}

// Vertical centring uses the head alone; the tail is lowered or raised so that
// its baseline meets the head's.
void ConsentButton::DrawContent(DeviceContext& dc, const DRAWITEMSTRUCT* item, const RECT& content) {
    CMsString caption;
    ReadWindowText(item->hwndItem, caption);
    const int tab = caption.Find('\t');
    const CMsString head = tab < 0 ? caption : caption.Left(tab);
    const CMsString tail = tab < 0 ? CMsString() : caption.Mid(tab + 1, caption.GetLength() - tab - 1);

    HFONT bold = CreateCaptionFont(dc, true);
    HFONT normal = CreateCaptionFont(dc, false);
    HGDIOBJ previous = dc.SelectObject(bold);

    int headDescent = 0;
    int tailDescent = 0;
    const RECT headSize = MeasureText(dc, bold, head, &headDescent);
    const RECT separatorSize = MeasureText(dc, bold, SEPARATOR, nullptr);
    const RECT tailSize = MeasureText(dc, normal, tail, &tailDescent);

    const int groupWidth = Width(headSize) + Width(separatorSize) + Width(tailSize);
    const int x0 = content.left + (Width(content) - groupWidth) / 2;
    const int y0 = content.top + (Height(content) - Height(headSize)) / 2;
    dc.SelectObject(bold);
    DrawOpaqueText(dc, x0, y0, head, headSize);

    const int x1 = x0 + Width(headSize) + Width(separatorSize);
    const int y1 = y0 + (Height(headSize) - headDescent) - (Height(tailSize) - tailDescent);
    dc.SelectObject(normal);
    DrawOpaqueText(dc, x1, y1, tail, tailSize);

    dc.SelectObject(previous);
    DeleteObject(bold);
    DeleteObject(normal);
}
