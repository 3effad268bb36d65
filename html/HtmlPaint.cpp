// Painting of the HTML control: one pass over the element sequence with a
// format stack, drawing only the elements that meet the update rectangle, each
// in the style in effect at its place, and filling the margins and the gaps
// around every drawn line with the body background.
#include "html/CHaleSimpleHtmlCtrl.h"
#include "html/HtmlFormatStack.h"
#include "html/ResourceImages.h"
#include "util/SaturatingMath.h"
#include "html/TransparentDraw.h"
#include "window/DcScopes.h"
#include "window/DpiScale.h"

namespace {
const COLORREF MARK_FRAME_OUTER = 0x000000;
const COLORREF MARK_FRAME_INNER = 0xFFFFFF;
const COLORREF MARK_CROSS = 0x0000FF;
const int MARK_CROSS_MAX = 6;
const int MARK_PEN_WIDTH = 2;

// An inverted band (content reaching into a margin) fills nothing.
void FillBand(DeviceContext& dc, int left, int top, int right, int bottom, COLORREF color) {
    if (right <= left || bottom <= top) return;
    RECT band = {left, top, right, bottom};
    dc.FillWithColor(band, color);
}

void FrameWithColor(HDC dc, const RECT& rect, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FrameRect(dc, &rect, brush);
    DeleteObject(brush);
}

// A framed red cross for an image whose bitmap cannot be loaded. The frames
// are one-pixel lines; the cross's size and pen grow with the DPI.
void DrawBrokenImage(DeviceContext& dc, RECT box, const DpiScale& scale) {
    box.top = SatAdd(box.top, 1);
    FrameWithColor(dc.OutputDc(), box, MARK_FRAME_OUTER);
    InflateRect(&box, -1, -1);
    FrameWithColor(dc.OutputDc(), box, MARK_FRAME_INNER);
    int width = SatSub(box.right, box.left);
    int height = SatSub(box.bottom, box.top);
    int d = width < height ? width : height;
    const int crossMax = scale.X(MARK_CROSS_MAX);
    if (d > crossMax) d = crossMax;
    InflateRect(&box, -1, -1);
    HPEN pen = CreatePen(PS_SOLID, scale.X(MARK_PEN_WIDTH), MARK_CROSS);
    HGDIOBJ previous = dc.SelectObject(pen);
    dc.MoveTo(box.left, box.top);
    dc.LineTo(SatAdd(box.left, d), SatAdd(box.top, d));
    dc.MoveTo(box.left, SatAdd(box.top, d));
    dc.LineTo(SatAdd(box.left, d), box.top);
    dc.SelectObject(previous);
    DeleteObject(pen);
}

// The bitmap at its own size in 96-DPI pixels, as layout measured it.
void DrawImage(DeviceContext& dc, HBITMAP bitmap, const RECT& box, const DpiScale& scale) {
    COLORREF background = GetBkColor(dc.AttributeDc());
    COLORREF text = GetTextColor(dc.AttributeDc());
    const SIZE size = BitmapSize(bitmap);
    DrawStretchedTransparent(dc.OutputDc(), bitmap, box.left, box.top, scale.X(size.cx),
                             scale.Y(size.cy), IMAGE_TRANSPARENT_COLOR);
    dc.SetBkColor(background);
    dc.SetTextColor(text);
}
}  // namespace

LRESULT CHaleSimpleHtmlCtrl::OnPaint() {
    PaintDcScope dc(this);
    EnsureLaidOut(dc);
    int pos = GetScrollPos(hwnd, SB_VERT);
    RECT update = dc.Paint().rcPaint;
    update.top = SatAdd(update.top, pos);
    update.bottom = SatAdd(update.bottom, pos);
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);

    COLORREF bg = GetBodyAttribNumber("bgcolor", 0, AT_HEXCOLOR);
    const DpiScale scale(dc.AttributeDc());
    int top = scale.Y(GetBodyAttribNumber("topmargin", 0, AT_INT));
    int left = SatAdd(client.left, scale.X(GetBodyAttribNumber("leftmargin", 0, AT_INT)));
    int right = SatSub(client.right, scale.X(GetBodyAttribNumber("rightmargin", 0, AT_INT)));
    dc.SetBkColor(bg);
    // The top band stays at the top of the client area whatever the scroll
    // position; elements drawn later paint over it.
    FillBand(dc, client.left, client.top, client.right, SatAdd(client.top, top), bg);

    CHtmlFormatStack stack(this, &dc);
    int cursor = 0;
    int prevTop = -1;
    int shift = SatNeg(pos);
    for (CHtmlElement* e = NextVisibleElement(cursor, update, &stack); e;
         e = NextVisibleElement(cursor, update, &stack)) {
        int peek = cursor;
        RECT box = ElementBox(e, shift);
        RECT next = ElementBox(NextVisibleElement(peek, update, nullptr), shift);
        if (box.top != prevTop) {
            FillBand(dc, client.left, box.top, left, box.bottom, bg);
            FillBand(dc, left, box.top, box.left, box.bottom, bg);
        }
        stack.SelectFont();
        PaintElement(e, dc, shift, scale, stack.Encoding());
        if (next.top != box.top) {
            FillBand(dc, box.right, box.top, right, box.bottom, bg);
            FillBand(dc, right, box.top, client.right, box.bottom, bg);
        }
        prevTop = box.top;
    }
    return 0;
}

CHtmlElement* CHaleSimpleHtmlCtrl::NextVisibleElement(int& cursor, const RECT& rect,
                                                      CHtmlFormatStack* stack) const {
    while (CHtmlElement* element = GetElement(cursor)) {
        ++cursor;
        if (stack) stack->ApplyElement(element);
        if (IsVisibleIn(element, rect)) return element;
    }
    return nullptr;
}

void CHaleSimpleHtmlCtrl::PaintElement(const CHtmlElement* element, DeviceContext& dc, int shift,
                                       const DpiScale& scale, TextEncoding encoding) {
    if (!element || element->x < 0 || element->y < 0) return;
    RECT box = ElementBox(element, shift);
    if (IsRectEmpty(&box)) return;
    if (element->kind == HEK_IMG) {
        HBITMAP bitmap = LoadElementBitmap(instance, *element);
        if (!bitmap) {
            DrawBrokenImage(dc, box, scale);
            return;
        }
        DrawImage(dc, bitmap, box, scale);
        DeleteObject(bitmap);
        return;
    }
    CMsString text = element->GetAttrib("value");
    if (text.IsEmpty() && element->kind != HEK_SPACE) return;
    if (text.IsEmpty()) text = " ";
    // The text sits on the bottom of its box; the box is filled with the
    // background colour and nothing outside it is touched. A line opened by
    // the element that wrapped onto it can be lower than that element (its
    // height went to the line it left), so the box, at least as tall as the
    // element, is what the text sits in: otherwise the text would be drawn
    // above its box and clipped away.
    int textTop = SatSub(box.bottom, element->cy);
    dc.ExtTextOut(box.left, textTop, ETO_OPAQUE | ETO_CLIPPED, &box, text, text.GetLength(), encoding);
}
