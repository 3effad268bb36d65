#include <gtest/gtest.h>

#include <cstring>

#include "dialog/ConsentButton.h"
#include "support/win/ButtonHost.h"
#include "support/win/GdiObjectCounter.h"
#include "support/win/MemoryCanvas.h"
#include "window/DcScopes.h"

namespace {

const int kId = 209;
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kGreen = RGB(0, 160, 0);
const RECT kContent = {4, 4, 356, 56};

// The caption fonts built here independently of the library, so that the
// expected positions follow this machine's font metrics.
class Font {
public:
    Font(HDC dc, int points, bool bold)
        : handle(CreateFontA(-MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0,
                             bold ? 700 : 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial")) {}
    ~Font() { DeleteObject(handle); }
    HFONT handle;
};

struct Measured {
    int cx;
    int cy;
    int descent;
};

Measured Measure(HDC dc, const Font& font, const char* text) {
    HGDIOBJ previous = SelectObject(dc, font.handle);
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &size);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    return {size.cx, size.cy, metrics.tmDescent};
}

struct Boxes {
    RECT head;
    RECT tail;
};

// Where the two opaque text boxes must land for a caption split into head and
// tail inside kContent.
Boxes ExpectedBoxes(HDC dc, const char* head, const char* tail) {
    Font bold(dc, 12, true);
    Font normal(dc, 8, false);
    Measured h = Measure(dc, bold, head);
    Measured s = Measure(dc, bold, " ");
    Measured t = Measure(dc, normal, tail);
    const int contentWidth = kContent.right - kContent.left;
    const int contentHeight = kContent.bottom - kContent.top;
    const int x0 = kContent.left + (contentWidth - (h.cx + s.cx + t.cx)) / 2;
    const int y0 = kContent.top + (contentHeight - h.cy) / 2;
    const int headBaseline = y0 + h.cy - h.descent;
    const int x1 = x0 + h.cx + s.cx;
    const int y1 = headBaseline - (t.cy - t.descent);
    return {{x0, y0, x0 + h.cx, y0 + h.cy}, {x1, y1, x1 + t.cx, y1 + t.cy}};
}

bool Inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

DRAWITEMSTRUCT Item(HDC dc, HWND button) {
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = kId;
    item.hwndItem = button;
    item.hDC = dc;
    item.rcItem = {0, 0, 360, 60};
    return item;
}

// Draws only the caption of `button`'s window into a white canvas whose
// background colour is green, so the opaque boxes show.
void DrawCaption(ConsentButton& button, HWND window, MemoryCanvas& canvas) {
    SetBkColor(canvas.Dc(), kGreen);
    SetTextColor(canvas.Dc(), kBlack);
    BorrowedDcScope dc(canvas.Dc());
    DRAWITEMSTRUCT item = Item(canvas.Dc(), window);
    button.DrawContent(dc, &item, kContent);
}

void ExpectOnlyBoxesPainted(const MemoryCanvas& canvas, const Boxes& boxes) {
    int wrong = 0;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const bool boxed = Inside(boxes.head, x, y) || Inside(boxes.tail, x, y);
            if (boxed == (canvas.Pixel(x, y) != kWhite)) continue;
            if (++wrong <= 5) ADD_FAILURE() << "pixel " << x << "," << y << (boxed ? " unpainted" : " painted");
        }
    }
    EXPECT_EQ(0, wrong);
}

TEST(ConsentButton, CaptionFontsAreArialTwelvePointBoldAndEightPointNormal) {
    MemoryCanvas canvas(10, 10, kWhite);
    BorrowedDcScope dc(canvas.Dc());
    const int dpi = GetDeviceCaps(canvas.Dc(), LOGPIXELSY);
    HFONT bold = ConsentButton::CreateCaptionFont(dc, true);
    HFONT normal = ConsentButton::CreateCaptionFont(dc, false);
    LOGFONTA b = {};
    LOGFONTA n = {};
    ASSERT_EQ(static_cast<int>(sizeof(b)), GetObjectA(bold, sizeof(b), &b));
    ASSERT_EQ(static_cast<int>(sizeof(n)), GetObjectA(normal, sizeof(n), &n));
    EXPECT_STREQ("Arial", b.lfFaceName);
    EXPECT_STREQ("Arial", n.lfFaceName);
    EXPECT_EQ(-MulDiv(12, dpi, 72), b.lfHeight);
    EXPECT_EQ(-MulDiv(8, dpi, 72), n.lfHeight);
    EXPECT_EQ(700, b.lfWeight);
    EXPECT_EQ(0, n.lfWeight);
    EXPECT_EQ(0, n.lfItalic + n.lfUnderline + n.lfWidth + n.lfCharSet);
    DeleteObject(bold);
    DeleteObject(normal);
}

TEST(ConsentButton, MeasureTextReportsSizeAndDescentAndKeepsTheDcFont) {
    MemoryCanvas canvas(10, 10, kWhite);
    BorrowedDcScope dc(canvas.Dc());
    Font bold(canvas.Dc(), 12, true);
    Measured expected = Measure(canvas.Dc(), bold, "Install");
    HGDIOBJ before = GetCurrentObject(canvas.Dc(), OBJ_FONT);
    int descent = -1;
    RECT size = ConsentButton::MeasureText(dc, bold.handle, "Install", &descent);
    EXPECT_EQ(0, size.left);
    EXPECT_EQ(0, size.top);
    EXPECT_EQ(expected.cx, size.right);
    EXPECT_EQ(expected.cy, size.bottom);
    EXPECT_EQ(expected.descent, descent);
    EXPECT_GT(descent, 0);
    EXPECT_EQ(before, GetCurrentObject(canvas.Dc(), OBJ_FONT));
}

TEST(ConsentButton, HeadAndTailBoxesSitWhereTheFontMetricsPutThem) {
    ConsentButton button;
    ButtonHost host("Yes\t(Accept and Install)", kId, 10, 10, 200, 40);
    MemoryCanvas canvas(360, 60, kWhite);
    DrawCaption(button, host.Button(), canvas);
    ExpectOnlyBoxesPainted(canvas, ExpectedBoxes(canvas.Dc(), "Yes", "(Accept and Install)"));
}

TEST(ConsentButton, GroupIsCentredAndHeadAndTailShareOneBaseline) {
    ConsentButton button;
    ButtonHost host("HEAD\tTAIL", kId, 10, 10, 200, 40);
    MemoryCanvas boxes(360, 60, kWhite);
    DrawCaption(button, host.Button(), boxes);
    const RECT all = {0, 0, 360, 60};
    const RECT group = boxes.InkBounds(all, kWhite);
    EXPECT_LE(abs((group.left - kContent.left) - (kContent.right - group.right)), 1);

    // Black letters on white: capitals without descenders end on the baseline.
    MemoryCanvas ink(360, 60, kWhite);
    SetBkColor(ink.Dc(), kWhite);
    BorrowedDcScope dc(ink.Dc());
    DRAWITEMSTRUCT item = Item(ink.Dc(), host.Button());
    button.DrawContent(dc, &item, kContent);
    const Boxes expected = ExpectedBoxes(ink.Dc(), "HEAD", "TAIL");
    const RECT headInk = ink.InkBounds(expected.head, kWhite);
    const RECT tailInk = ink.InkBounds(expected.tail, kWhite);
    ASSERT_GT(headInk.bottom, 0);
    ASSERT_GT(tailInk.bottom, 0);
    EXPECT_EQ(headInk.bottom, tailInk.bottom);
    EXPECT_LT(tailInk.bottom - tailInk.top, headInk.bottom - headInk.top) << "tail in the smaller font";
    EXPECT_LE(abs((expected.head.top - kContent.top) - (kContent.bottom - expected.head.bottom)), 1);
}

TEST(ConsentButton, CaptionWithoutTextAfterATabDrawsTheHeadAlone) {
    const char* captions[] = {"Solo", "Solo\t"};
    for (const char* caption : captions) {
        ConsentButton button;
        ButtonHost host(caption, kId, 10, 10, 200, 40);
        MemoryCanvas canvas(360, 60, kWhite);
        DrawCaption(button, host.Button(), canvas);
        Boxes boxes = ExpectedBoxes(canvas.Dc(), "Solo", "");
        boxes.tail = {0, 0, 0, 0};
        ExpectOnlyBoxesPainted(canvas, boxes);
    }
}

TEST(ConsentButton, EveryDrawCreatesAndDeletesItsTwoFontsAndRestoresTheDcFont) {
    ConsentButton button;
    ButtonHost host("Yes\t(Accept and Install)", kId, 10, 10, 200, 40);
    button.controlId = kId;
    MemoryCanvas canvas(360, 60, kWhite);
    HGDIOBJ before = GetCurrentObject(canvas.Dc(), OBJ_FONT);
    GdiObjectCounter counter;
    ASSERT_TRUE(counter.Installed());
    const int draws = 200;
    for (int i = 0; i < draws; ++i) {
        DRAWITEMSTRUCT item = Item(canvas.Dc(), host.Button());
        item.itemState = (i % 2) ? ODS_FOCUS : ODS_SELECTED;
        ASSERT_EQ(1, button.DrawItem(&item));
    }
    EXPECT_EQ(2 * draws, counter.FontsCreated());
    EXPECT_EQ(0, counter.Live());
    EXPECT_EQ(before, GetCurrentObject(canvas.Dc(), OBJ_FONT));
}

TEST(ConsentButton, FailedFontCreationStillDrawsInTheDcFont) {
    ConsentButton button;
    ButtonHost host("Yes\t(Accept and Install)", kId, 10, 10, 200, 40);
    MemoryCanvas canvas(360, 60, kWhite);
    HGDIOBJ before = GetCurrentObject(canvas.Dc(), OBJ_FONT);
    GdiObjectCounter counter;
    ASSERT_TRUE(counter.Installed());
    counter.FailFontCreation(true);
    DrawCaption(button, host.Button(), canvas);
    EXPECT_EQ(2, counter.FontsCreated());
    EXPECT_EQ(before, GetCurrentObject(canvas.Dc(), OBJ_FONT));
    const RECT all = {0, 0, 360, 60};
    const RECT painted = canvas.InkBounds(all, kWhite);
    EXPECT_GT(painted.right - painted.left, 0);
}

}  // namespace
