// Layout of the HTML control: measures every content element with the style in
// effect at its place, breaks the sequence into lines at the control's width,
// aligns each line, sets the vertical scroll range, and fits the control's
// height to its content. It runs once per text (see EnsureLaidOut).
#include <cstring>

#include "html/CHaleSimpleHtmlCtrl.h"
#include "html/HtmlElementBuffer.h"
#include "html/HtmlFormatStack.h"
#include "html/ResourceImages.h"
#include "util/SaturatingMath.h"
#include "html/TransparentDraw.h"
#include "window/DcScopes.h"
#include "window/DpiScale.h"

namespace {
// The box of an image whose bitmap cannot be loaded.
const int MISSING_IMAGE_SIZE = 11;

// Sizes written in markup and a bitmap's own size are 96-DPI pixels; painting
// stretches the bitmap to the box.
void MeasureImage(HINSTANCE module, CHtmlElement& element, const DpiScale& scale) {
    int w = element.GetAttribNumber("width", 0, AT_INT);
    int h = element.GetAttribNumber("height", 0, AT_INT);
    int hs = element.GetAttribNumber("hspace", 0, AT_INT);
    int vs = element.GetAttribNumber("vspace", 0, AT_INT);
    if (w < 1 || h < 1) {
        HBITMAP bitmap = LoadElementBitmap(module, element);
        SIZE size = BitmapSize(bitmap);
        w = bitmap ? size.cx : MISSING_IMAGE_SIZE;
        h = bitmap ? size.cy : MISSING_IMAGE_SIZE;
        if (bitmap) DeleteObject(bitmap);
    }
    // Spacings from markup may be as large as an int: the sums saturate.
    hs = scale.X(hs);
    vs = scale.Y(vs);
    element.cx = SatAdd(scale.X(w), SatAdd(hs, hs));
    element.cy = SatAdd(scale.Y(h), SatAdd(vs, vs));
}

void MeasureText(CHtmlElement& element, DeviceContext& dc, TextEncoding encoding) {
    SIZE size;
    if (element.kind == HEK_TEXT) {
        CMsString text = element.GetAttrib("value");
        if (text.IsEmpty()) return;
        size = dc.GetTextExtent(text, text.GetLength(), encoding);
    } else {
        size = dc.GetTextExtent(" ", 1);
    }
    element.cx = element.kind == HEK_BR ? 0 : size.cx;
    element.cy = size.cy;
}

void MeasureElement(HINSTANCE module, CHtmlElement& element, DeviceContext& dc, const DpiScale& scale,
                    TextEncoding encoding) {
    element.cx = 0;
    element.cy = 0;
    if (element.kind == HEK_IMG) {
        MeasureImage(module, element, scale);
    } else {
        MeasureText(element, dc, encoding);
    }
    element.lineCy = element.cy;
    element.dx = 0;
}

// Places elements on the current line and closes lines. x and the limit are
// window coordinates; the limit subtracts the left margin a second time, so
// lines break that much before the right margin while alignment measures free
// space up to the right margin itself.
class LineBuilder {
public:
    LineBuilder(int windowWidth, int leftMargin, int rightMargin, int topMargin)
        : alignRight(SatSub(windowWidth, rightMargin)),
          limit(SatSub(alignRight, leftMargin)),
          lineStart(leftMargin),
          x(leftMargin),
          y(topMargin),
          lineHeight(0),
          line(false) {}

    void Place(CHtmlElement& element, int align) {
        // A space at the start of a line takes no room and stays unplaced.
        if (element.kind == HEK_SPACE && x <= lineStart) return;
        // The element counts towards the height of the line it may close.
        RaiseLine(element);
        if (element.kind == HEK_BR) {
            FinishLine(align);
        } else if (SatAdd(x, element.cx) > limit) {
            FinishLine(align);
            // The line it opens must be as tall as the element too, or the
            // next line is drawn over the element's lower part. A space that
            // wraps is dropped from that line and gives it no height.
            if (element.kind != HEK_SPACE) RaiseLine(element);
        }
        line.Add(&element);
        element.x = x;
        element.y = y;
        x = SatAdd(x, element.cx);
    }

    void FinishLine(int align) {
        int shift = 0;
        if (align == HTML_ALIGN_CENTER) shift = SatSub(alignRight, x) / 2;
        if (align == HTML_ALIGN_RIGHT) shift = SatSub(alignRight, x);
        int first = 0;
        int end = line.Count();
        if (DropEdgeSpace(first, end)) ++first;
        if (end > first && DropEdgeSpace(end - 1, end)) --end;
        for (int i = first; i < end; ++i) {
            CHtmlElement* element = line.GetAt(i);
            element->lineCy = lineHeight;
            element->dx = shift;
        }
        line.Reuse();
        x = lineStart;
        y = SatAdd(y, lineHeight);
        lineHeight = 0;
    }

private:
    void RaiseLine(const CHtmlElement& element) {
        if (element.cy > lineHeight) lineHeight = element.cy;
    }

    // A space at either end of a line is unplaced and the rest of the line,
    // up to end, closes up over it. True when the element was such a space.
    bool DropEdgeSpace(int index, int end) {
        CHtmlElement* space = line.GetAt(index);
        if (!space || space->kind != HEK_SPACE) return false;
        space->x = -1;
        space->y = -1;
        for (int i = index + 1; i < end; ++i) {
            CHtmlElement* element = line.GetAt(i);
            element->x = SatSub(element->x, space->cx);
        }
        return true;
    }

    int alignRight;
    int limit;
    int lineStart;
    int x;
    int y;
    int lineHeight;
    // The elements placed on the current line; the storage is kept from line
    // to line, so placing an element allocates nothing.
    CHtmlElementBuffer line;
};

RECT UnitedBox(RECT a, const RECT& b) {
    if (IsRectEmpty(&b)) return a;
    if (IsRectEmpty(&a)) return b;
    RECT united = {a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
                   a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom};
    return united;
}

RECT WindowRectAtOrigin(HWND window) {
    RECT rect = {0, 0, 0, 0};
    if (!GetWindowRect(window, &rect)) return rect;
    OffsetRect(&rect, -rect.left, -rect.top);
    return rect;
}
}  // namespace

void CHaleSimpleHtmlCtrl::MeasureElements(DeviceContext& dc) {
    CHtmlFormatStack stack(this, &dc);
    const DpiScale scale(dc.AttributeDc());
    for (int i = 0; i < elements.count; ++i) {
        CHtmlElement* element = elements.GetAt(i);
        if (!element) continue;
        stack.SelectFont();
        stack.ApplyElement(element);
        if (element->IsContent()) MeasureElement(instance, *element, dc, scale, stack.Encoding());
    }
}

void CHaleSimpleHtmlCtrl::LayoutLines(DeviceContext& dc) {
    RECT window = WindowRectAtOrigin(hwnd);
    const DpiScale scale(dc.AttributeDc());
    LineBuilder lines(window.right, scale.X(GetBodyAttribNumber("leftmargin", 0, AT_INT)),
                      scale.X(GetBodyAttribNumber("rightmargin", 0, AT_INT)),
                      scale.Y(GetBodyAttribNumber("topmargin", 0, AT_INT)));
    CHtmlFormatStack stack(this, &dc);
    int align = HTML_ALIGN_LEFT;
    for (int i = 0; i < elements.count; ++i) {
        CHtmlElement* element = elements.GetAt(i);
        if (!element) continue;
        // A line takes the alignment in effect before the element that ends it.
        align = stack.CurrentAlignment();
        stack.ApplyElement(element);
        if (element->IsContent()) lines.Place(*element, align);
    }
    lines.FinishLine(align);

    RECT content = {0, 0, 0, 0};
    for (int i = 0; i < elements.count; ++i) content = UnitedBox(content, ElementBox(GetElement(i), 0));
    SCROLLINFO info;
    ResetScrollInfo(info);
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = content.bottom;
    info.nPage = window.bottom;
    SetScrollInfoAndRedraw(info);
    ShowScrollBar(hwnd, SB_VERT, content.bottom > window.bottom && GetBodyAttribBool("scroll"));
}

int CHaleSimpleHtmlCtrl::FitHeightToContent() {
    if (!hwnd || !IsWindow(hwnd)) return 0;
    WindowDcScope dc(this);
    // The body's own attributes are known only once the text is parsed, so
    // the fixed-height test comes after laying out.
    EnsureLaidOut(dc);
    if (GetBodyAttribNumber("height", 0, AT_INT) > 0) return 0;
    int bottom = 0;
    for (int i = 0; i < elements.count; ++i) {
        const CHtmlElement* element = GetElement(i);
        if (!element || !element->IsContent()) continue;
        RECT box = ElementBox(element, 0);
        if (box.bottom > bottom) bottom = box.bottom;
    }
    if (bottom <= 0) return 0;
    ResizeControl(-1, bottom);
    return 1;
}

void CHaleSimpleHtmlCtrl::ResizeControl(int cx, int cy) {
    RECT window = WindowRectAtOrigin(hwnd);
    if (cx < 1) cx = window.right;
    if (cy < 1) cy = window.bottom;
    SetWindowPos(hwnd, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT CHaleSimpleHtmlCtrl::ElementBox(const CHtmlElement* element, int shift) const {
    RECT box = {-1, -1, -1, -1};
    if (!element) return box;
    int height = element->cy > element->lineCy ? element->cy : element->lineCy;
    box.left = SatAdd(element->x, element->dx);
    box.top = SatAdd(element->y, shift);
    box.right = SatAdd(box.left, element->cx);
    box.bottom = SatAdd(box.top, height);
    return box;
}

bool CHaleSimpleHtmlCtrl::BoxIntersects(const CHtmlElement* element, const RECT& rect) const {
    if (!element || element->x < 0 || element->y < 0) return false;
    RECT box = ElementBox(element, 0);
    // A zero-width break still counts for one pixel.
    if (element->kind == HEK_BR) box.right = SatAdd(box.left, 1);
    RECT common;
    return IntersectRect(&common, &box, &rect) != FALSE;
}

bool CHaleSimpleHtmlCtrl::IsVisibleIn(const CHtmlElement* element, const RECT& rect) const {
    return element && element->IsContent() && BoxIntersects(element, rect);
}

void CHaleSimpleHtmlCtrl::SetScrollInfoAndRedraw(SCROLLINFO& info) {
    SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
    InvalidateRect(hwnd, nullptr, FALSE);
}

void CHaleSimpleHtmlCtrl::ResetScrollInfo(SCROLLINFO& info) {
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
}
