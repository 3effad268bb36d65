// Painting of the HTML control, checked by reading the painted pixels back.
#include <gtest/gtest.h>

#include <string>

#include "html/CHaleSimpleHtmlCtrl.h"
#include "html/HtmlFormatStack.h"
#include "support/win/GdiObjectCounter.h"
#include "support/win/HtmlCtrlHost.h"

namespace {
const int LEFT = 10;
const int RIGHT = 12;
const int TOP = 8;
const COLORREF WHITE = RGB(255, 255, 255);
const COLORREF BLACK = RGB(0, 0, 0);
const COLORREF RED = RGB(255, 0, 0);
const COLORREF BLUE = RGB(0, 0, 255);
const COLORREF SENTINEL = RGB(10, 200, 30);

class HtmlPaint : public testing::Test {
protected:
    HtmlPaint() : control(GetModuleHandleA(nullptr)) {}

    // Lays the text out and paints it over a sentinel colour; the control
    // keeps its height unless asked to fit its content.
    void Show(const char* html, int width = 320, int height = 120, bool fit = true) {
        ASSERT_TRUE(control.Attach(host.AddPlaceholder(1, 0, 0, width, height)));
        control.SetMargins(LEFT, RIGHT, TOP);
        control.SetScroll(FALSE);
        control.SetHtml(html);
        if (fit) control.FitHeightToContent();
        PaintNow(control.hwnd);
        FillClient(control.hwnd, SENTINEL);
        PaintNow(control.hwnd);
    }

    const CHtmlElement* Word(const char* word) const {
        for (int i = 0; i < control.elements.count; ++i) {
            const CHtmlElement* element = control.GetElement(i);
            if (element->kind == HEK_TEXT && element->GetAttrib("value").CompareNoCase(word) == 0) {
                return element;
            }
        }
        return nullptr;
    }
    const CHtmlElement* First(int kind) const {
        for (int i = 0; i < control.elements.count; ++i) {
            if (control.GetElement(i)->kind == kind) return control.GetElement(i);
        }
        return nullptr;
    }
    RECT Box(const CHtmlElement* element) const { return control.ElementBox(element, 0); }

    CHaleSimpleHtmlCtrl control;
    HtmlCtrlHost host;
};

// Bounds of a cross of offset d drawn from (0, 0) with the 2-pixel red pen of
// the broken-image mark, as GDI renders it here.
RECT CrossExtent(int d) {
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 32, -32, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP canvas = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previousBitmap = SelectObject(dc, canvas);
    PatBlt(dc, 0, 0, 32, 32, WHITENESS);
    HPEN pen = CreatePen(PS_SOLID, 2, RED);
    HGDIOBJ previousPen = SelectObject(dc, pen);
    const int origin = 8;
    MoveToEx(dc, origin, origin, nullptr);
    LineTo(dc, origin + d, origin + d);
    MoveToEx(dc, origin, origin + d, nullptr);
    LineTo(dc, origin + d, origin);
    RECT bounds = {32, 32, -1, -1};
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (GetPixel(dc, x, y) != RED) continue;
            bounds.left = x < bounds.left ? x : bounds.left;
            bounds.top = y < bounds.top ? y : bounds.top;
            bounds.right = x + 1 > bounds.right ? x + 1 : bounds.right;
            bounds.bottom = y + 1 > bounds.bottom ? y + 1 : bounds.bottom;
        }
    }
    SelectObject(dc, previousPen);
    DeleteObject(pen);
    SelectObject(dc, previousBitmap);
    DeleteObject(canvas);
    DeleteDC(dc);
    OffsetRect(&bounds, -origin, -origin);
    return bounds;
}

}  // namespace

TEST_F(HtmlPaint, WordsAppearInTheirFontColoursOnTheBodyBackground) {
    Show("<body bgcolor=\"#FFFFFF\" text=\"#000000\" link=\"#0000FF\">plain "
         "<font color=\"#FF0000\">red</font> <a href=\"u\">link</a></body>");
    ClientCapture capture(control.hwnd);
    RECT plain = Box(Word("plain"));
    RECT red = Box(Word("red"));
    RECT link = Box(Word("link"));
    EXPECT_GT(capture.Count(plain, BLACK), 0);
    EXPECT_EQ(capture.Count(plain, RED), 0);
    EXPECT_GT(capture.Count(red, RED), 0);
    EXPECT_EQ(capture.Count(red, BLACK), 0);
    EXPECT_GT(capture.Count(link, BLUE), 0);
    EXPECT_EQ(capture.Count(link, BLACK), 0);
    // The link is underlined: one of its rows is blue nearly across the box.
    int widestBlueRow = 0;
    for (int y = link.top; y < link.bottom; ++y) {
        int blue = capture.Count({link.left, y, link.right, y + 1}, BLUE);
        if (blue > widestBlueRow) widestBlueRow = blue;
    }
    EXPECT_GE(widestBlueRow, (link.right - link.left) * 3 / 4);
}

TEST_F(HtmlPaint, SpacesMarginsAndLineGapsAreFilledWithTheBackground) {
    Show("<body bgcolor=\"#FFFFFF\">one two<br><center>three</center></body>", 320, 120, false);
    ClientCapture capture(control.hwnd);
    const CHtmlElement* space = First(HEK_SPACE);
    ASSERT_NE(space, nullptr);
    EXPECT_EQ(capture.CountOther(Box(space), WHITE), 0);
    RECT top = {0, 0, capture.Width(), TOP};
    EXPECT_EQ(capture.CountOther(top, WHITE), 0);
    RECT one = Box(Word("one"));
    RECT leftMargin = {0, one.top, LEFT, one.bottom};
    EXPECT_EQ(capture.CountOther(leftMargin, WHITE), 0);
    RECT two = Box(Word("two"));
    RECT rightOfLine = {two.right, two.top, capture.Width(), two.bottom};
    EXPECT_EQ(capture.CountOther(rightOfLine, WHITE), 0);
    // A centred line: the gap between the margin and the word is filled too.
    RECT three = Box(Word("three"));
    ASSERT_GT(three.left, LEFT);
    RECT gap = {0, three.top, three.left, three.bottom};
    EXPECT_EQ(capture.CountOther(gap, WHITE), 0);
    RECT after = {three.right, three.top, capture.Width(), three.bottom};
    EXPECT_EQ(capture.CountOther(after, WHITE), 0);
    // Below the last line nothing is painted.
    RECT below = {0, three.bottom, capture.Width(), capture.Height()};
    ASSERT_GT(below.bottom, below.top);
    EXPECT_EQ(capture.CountOther(below, SENTINEL), 0);
}

TEST_F(HtmlPaint, BoldAndItalicRunsAreDrawnInTheirFonts) {
    // The upright run has plain stems: a capital I has serifs in some faces
    // (Tahoma), which reach further left at the top.
    Show("<body bgcolor=\"#FFFFFF\" text=\"#000000\">llll <b>llll</b> <i>IIII</i> llll</body>");
    ClientCapture capture(control.hwnd);
    const CHtmlElement* plain = control.GetElement(0);
    const CHtmlElement* bold = control.GetElement(3);
    const CHtmlElement* italic = control.GetElement(7);
    const CHtmlElement* upright = control.GetElement(10);
    ASSERT_EQ(std::string(bold->GetAttrib("value")), "llll");
    ASSERT_EQ(std::string(italic->GetAttrib("value")), "IIII");
    ASSERT_EQ(std::string(upright->GetAttrib("value")), "llll");
    EXPECT_EQ(bold->cx, MeasureBaseText("llll", FW_BOLD).cx);
    EXPECT_EQ(italic->cx, MeasureBaseText("IIII", FW_NORMAL, true).cx);
    EXPECT_GT(capture.CountOther(Box(bold), WHITE), capture.CountOther(Box(plain), WHITE));

    // Upright stems have their ink in the same columns at the top and the
    // bottom; slanted ones lean to the right at the top.
    auto leftmostInk = [&](RECT box, int fromRow, int toRow) {
        box.top += fromRow;
        box.bottom = box.top + (toRow - fromRow);
        return capture.Bounds(box, BLACK).left;
    };
    RECT u = Box(upright);
    RECT s = Box(italic);
    int rows = u.bottom - u.top;
    EXPECT_EQ(leftmostInk(u, rows / 4, rows / 2), leftmostInk(u, rows / 2, rows * 3 / 4));
    EXPECT_GT(leftmostInk(s, rows / 4, rows / 2), leftmostInk(s, rows / 2, rows * 3 / 4));
    EXPECT_GT(capture.Count(s, BLACK), 0);
}

TEST_F(HtmlPaint, ASecondLineUpdatedAloneIsDrawnInTheStyleSetOnTheFirstLine) {
    Show("<body bgcolor=\"#FFFFFF\" text=\"#000000\"><font color=\"#FF0000\">first<br>second</font></body>");
    RECT first = Box(Word("first"));
    RECT second = Box(Word("second"));
    ASSERT_GT(second.top, first.top);
    FillClient(control.hwnd, SENTINEL);
    RECT secondLine = {0, second.top, 1000, second.bottom};
    PaintNow(control.hwnd, &secondLine);
    ClientCapture capture(control.hwnd);
    EXPECT_EQ(capture.CountOther(first, SENTINEL), 0);
    EXPECT_GT(capture.Count(second, RED), 0);
    EXPECT_EQ(capture.Count(second, BLACK), 0);
    EXPECT_EQ(capture.Count(second, SENTINEL), 0);

    // Only the second line's elements are visible in it, each with the
    // style of its place.
    CHtmlFormatStack stack(&control, nullptr);
    int cursor = 0;
    const CHtmlElement* lineBreak = control.NextVisibleElement(cursor, secondLine, &stack);
    ASSERT_NE(lineBreak, nullptr);
    EXPECT_EQ(lineBreak->kind, HEK_BR);
    EXPECT_EQ(control.NextVisibleElement(cursor, secondLine, &stack), Word("second"));
    EXPECT_EQ(stack.CurrentStyle().color, 0x0000FFu);
    EXPECT_EQ(control.NextVisibleElement(cursor, secondLine, &stack), nullptr);
    EXPECT_EQ(stack.EntryCount(), 0);
}

TEST_F(HtmlPaint, ATallerLineDrawsItsSmallWordsOnTheLineBottom) {
    Show("<body bgcolor=\"#FFFFFF\" text=\"#000000\">lll <font point-size=24>BIG</font></body>");
    ClientCapture capture(control.hwnd);
    const CHtmlElement* small = control.GetElement(0);
    RECT box = Box(small);
    ASSERT_GT(small->lineCy, small->cy);
    RECT above = box;
    above.bottom = box.top + (small->lineCy - small->cy);
    EXPECT_EQ(capture.CountOther(above, WHITE), 0);
    RECT text = box;
    text.top = above.bottom;
    EXPECT_GT(capture.Count(text, BLACK), 0);
}

TEST_F(HtmlPaint, AWordThatWrapsAloneOntoTheLastLineIsStillDrawn) {
    const int width = LEFT + RIGHT + LEFT + MeasureBaseText("aaa bbb").cx - 1;
    Show("<body bgcolor=\"#FFFFFF\" text=\"#000000\">aaa bbb</body>", width, 120);
    const CHtmlElement* last = Word("bbb");
    ASSERT_GT(last->y, Word("aaa")->y);
    // The line the word wraps onto is as tall as the word.
    ASSERT_EQ(last->lineCy, last->cy);
    ClientCapture capture(control.hwnd);
    RECT box = Box(last);
    EXPECT_EQ(box.bottom - box.top, last->cy);
    EXPECT_GT(capture.Count(box, BLACK), 0);
    RECT first = Box(Word("aaa"));
    RECT ink = capture.Bounds(box, BLACK);
    RECT firstInk = capture.Bounds(first, BLACK);
    EXPECT_EQ(ink.bottom - box.top, firstInk.bottom - first.top);
}

TEST_F(HtmlPaint, ABrokenImageIsAFramedRedCrossSixPixelsWideAtMost) {
    Show("<body bgcolor=\"#FFFFFF\"><img src=\"rsrc://4242\" width=20 height=20>"
         "<img src=\"rsrc://4242\" width=4 height=4></body>");
    ClientCapture capture(control.hwnd);
    const CHtmlElement* large = control.GetElement(0);
    const CHtmlElement* small = control.GetElement(1);
    RECT big = Box(large);
    RECT tiny = Box(small);
    tiny.bottom = tiny.top + 4;
    RECT bigCross = capture.Bounds(big, RED);
    RECT tinyCross = capture.Bounds(tiny, RED);
    ASSERT_NE(CrossExtent(6).right - CrossExtent(6).left, CrossExtent(5).right - CrossExtent(5).left);
    EXPECT_EQ(bigCross.right - bigCross.left, CrossExtent(6).right - CrossExtent(6).left);
    EXPECT_EQ(bigCross.left - big.left, CrossExtent(6).left + 2);
    EXPECT_EQ(bigCross.top - big.top, CrossExtent(6).top + 3);
    EXPECT_EQ(tinyCross.right - tinyCross.left, CrossExtent(1).right - CrossExtent(1).left);
    // The frame: black outside one pixel below the box top, white inside.
    EXPECT_EQ(capture.At(big.left, big.top + 1), BLACK);
    EXPECT_EQ(capture.At(big.left + 10, big.bottom - 1), BLACK);
    EXPECT_EQ(capture.At(big.left + 1, big.bottom - 3), WHITE);
    EXPECT_EQ(capture.At(big.right - 2, big.top + 10), WHITE);
    EXPECT_EQ(capture.At(big.left + 19, big.top + 10), BLACK);
}

TEST_F(HtmlPaint, AnImageKeepsWhatLiesBeneathItsMagentaAndLeavesTheColoursForTheText) {
    const COLORREF pale = RGB(0xE0, 0xE0, 0xFF);
    Show("<body bgcolor=\"#E0E0FF\" text=\"#FF0000\"><img src=\"rsrc://2104\" hspace=5 vspace=3> word</body>");
    ClientCapture capture(control.hwnd);
    RECT box = Box(control.GetElement(0));
    EXPECT_EQ(box.right - box.left, 18);
    // Drawn at the box's corner, not moved by the spacing.
    EXPECT_EQ(capture.At(box.left, box.top), RGB(0, 255, 0));
    EXPECT_EQ(capture.At(box.left + 7, box.top + 7), RGB(0, 255, 0));
    EXPECT_EQ(capture.At(box.left + 3, box.top + 3), SENTINEL);
    EXPECT_EQ(capture.At(box.left + 8, box.top + 2), SENTINEL);
    // The text after the image keeps the body's colours.
    RECT word = Box(Word("word"));
    EXPECT_GT(capture.Count(word, RED), 0);
    EXPECT_EQ(capture.Count(word, BLACK), 0);
    EXPECT_EQ(capture.Count(word, WHITE), 0);
    EXPECT_GT(capture.Count(word, pale), (word.right - word.left) * (word.bottom - word.top) / 2);
}

TEST_F(HtmlPaint, PaintingReleasesEveryFontPenAndBrushItMakes) {
    GdiObjectCounter counter;
    ASSERT_TRUE(counter.Installed());
    Show("<body bgcolor=\"#FFFFFF\">a <b>b</b> <i>c</i> <font size=5>d</font> "
         "<img src=\"rsrc://4242\" width=9 height=9> <img src=\"rsrc://2104\"> <a href=\"u\">e</a></body>");
    PaintNow(control.hwnd);
    EXPECT_GT(counter.FontsCreated(), 4);
    EXPECT_EQ(counter.Live(), 0);
}
