// Vertical scrolling of the HTML control: the scroll range set by layout,
// scroll-bar requests, the mouse wheel, and painting at a scrolled position.
#include <gtest/gtest.h>

#include <string>

#include "html/CHaleSimpleHtmlCtrl.h"
#include "support/win/HtmlCtrlHost.h"

namespace {
const COLORREF SENTINEL = RGB(10, 200, 30);
const COLORREF PALE = RGB(0xE0, 0xE0, 0xFF);
const COLORREF RED = RGB(255, 0, 0);

int LineHeight() { return MeasureBaseText(" ").cy; }

std::string Lines(int count) {
    std::string html;
    for (int i = 0; i < count; ++i) html += "line<br>";
    return html;
}

bool HasScrollBar(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_VSCROLL) != 0; }

class HtmlScroll : public testing::Test {
protected:
    HtmlScroll() : control(GetModuleHandleA(nullptr)) {}

    void Show(const std::string& html, int height = 100, bool scroll = true) {
        ASSERT_TRUE(control.Attach(host.AddPlaceholder(1, 0, 0, 300, height)));
        control.SetMargins(10, 10, 8);
        control.SetScroll(scroll);
        control.SetHtml(html.c_str());
        PaintNow(control.hwnd);
    }

    // A range of 0..300 with a page of 100 at position pos.
    void SetRange(int pos) {
        SCROLLINFO info = {sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 300, 100, pos, 0};
        SetScrollInfo(control.hwnd, SB_VERT, &info, FALSE);
        ASSERT_EQ(GetScrollPos(control.hwnd, SB_VERT), pos);
    }

    int ScrollAfter(int code, int thumb = 0) {
        SendMessageA(control.hwnd, WM_VSCROLL, MAKEWPARAM(code, thumb), 0);
        return GetScrollPos(control.hwnd, SB_VERT);
    }

    int Wheel(int delta) {
        SendMessageA(control.hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), 0);
        return GetScrollPos(control.hwnd, SB_VERT);
    }

    CHaleSimpleHtmlCtrl control;
    HtmlCtrlHost host;
};
}  // namespace

TEST_F(HtmlScroll, LayoutSetsTheRangeToTheContentAndThePageToTheControlHeight) {
    Show(Lines(20), 100);
    SCROLLINFO info = {sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(control.hwnd, SB_VERT, &info));
    EXPECT_EQ(info.nMin, 0);
    // The bottom of the twentieth word; the zero-width break after it adds nothing.
    EXPECT_EQ(info.nMax, 8 + 20 * LineHeight());
    EXPECT_EQ(info.nPage, 100u);
    EXPECT_TRUE(HasScrollBar(control.hwnd));
}

TEST_F(HtmlScroll, TheBarIsHiddenWhenTheContentFitsOrTheHostTurnsScrollingOff) {
    Show("short", 100);
    EXPECT_FALSE(HasScrollBar(control.hwnd));

    CHaleSimpleHtmlCtrl quiet(GetModuleHandleA(nullptr));
    // Its own host, declared after it, takes its window away before it goes.
    HtmlCtrlHost quietHost;
    ASSERT_TRUE(quiet.Attach(quietHost.AddPlaceholder(2, 0, 120, 300, 100)));
    quiet.SetScroll(FALSE);
    quiet.SetHtml(Lines(20).c_str());
    PaintNow(quiet.hwnd);
    EXPECT_FALSE(HasScrollBar(quiet.hwnd));
}

TEST_F(HtmlScroll, LinesAndPagesStayWithinTheRange) {
    Show(Lines(40));
    SetRange(0);
    EXPECT_EQ(ScrollAfter(SB_LINEUP), 0);
    EXPECT_EQ(ScrollAfter(SB_LINEDOWN), 10);
    EXPECT_EQ(ScrollAfter(SB_PAGEUP), 0);
    SetRange(150);
    EXPECT_EQ(ScrollAfter(SB_PAGEDOWN), 200);
    EXPECT_EQ(ScrollAfter(SB_LINEDOWN), 200);
    EXPECT_EQ(ScrollAfter(SB_PAGEDOWN), 200);
    EXPECT_EQ(ScrollAfter(SB_PAGEUP), 100);
    EXPECT_EQ(ScrollAfter(SB_LINEUP), 90);
}

TEST_F(HtmlScroll, TheThumbScrollsLiveAndOtherRequestsChangeNothing) {
    Show(Lines(40));
    SetRange(50);
    EXPECT_EQ(ScrollAfter(SB_THUMBTRACK, 77), 77);
    EXPECT_EQ(ScrollAfter(SB_THUMBPOSITION, 120), 120);
    EXPECT_EQ(ScrollAfter(SB_THUMBTRACK, 65535), 200);
    EXPECT_EQ(ScrollAfter(SB_TOP), 200);
    EXPECT_EQ(ScrollAfter(SB_BOTTOM), 200);
    EXPECT_EQ(ScrollAfter(SB_ENDSCROLL), 200);
}

TEST_F(HtmlScroll, ContentShorterThanThePageStaysAtZero) {
    Show("short", 100);
    EXPECT_EQ(ScrollAfter(SB_LINEDOWN), 0);
    EXPECT_EQ(ScrollAfter(SB_PAGEDOWN), 0);
    EXPECT_EQ(ScrollAfter(SB_THUMBTRACK, 40), 0);
}

TEST_F(HtmlScroll, ARequestRepaintsTheWholeControlButEndScrollRepaintsNothing) {
    Show(Lines(40));
    SetRange(100);
    ValidateRect(control.hwnd, nullptr);
    ScrollAfter(SB_ENDSCROLL);
    EXPECT_FALSE(GetUpdateRect(control.hwnd, nullptr, FALSE));
    ScrollAfter(SB_LINEDOWN);
    RECT update;
    ASSERT_TRUE(GetUpdateRect(control.hwnd, &update, FALSE));
    RECT client;
    GetClientRect(control.hwnd, &client);
    EXPECT_TRUE(EqualRect(&update, &client));
}

TEST_F(HtmlScroll, AWheelMessageScrollsOneLineAtMostAndKeepsTheRemainder) {
    Show(Lines(40));
    SetRange(100);
    EXPECT_EQ(Wheel(240), 90);
    EXPECT_EQ(control.wheelDelta, 0);
    EXPECT_EQ(Wheel(-60), 90);
    EXPECT_EQ(control.wheelDelta, -60);
    EXPECT_EQ(Wheel(-60), 100);
    EXPECT_EQ(control.wheelDelta, 0);
    EXPECT_EQ(Wheel(-250), 110);
    EXPECT_EQ(control.wheelDelta, -10);
    EXPECT_EQ(Wheel(130), 100);
    EXPECT_EQ(control.wheelDelta, 0);
    EXPECT_EQ(Wheel(119), 100);
    EXPECT_EQ(control.wheelDelta, 119);
}

TEST_F(HtmlScroll, AScrolledPaintKeepsTheTopBandAndShiftsTheContentUp) {
    const int lines = 4;
    const int top = 100 - lines * LineHeight();
    ASSERT_GT(top, 30);
    ASSERT_TRUE(control.Attach(host.AddPlaceholder(1, 0, 0, 300, 120)));
    control.SetMargins(10, 10, top);
    std::string html = "<body bgcolor=\"#E0E0FF\" text=\"#FF0000\">" + Lines(lines) + "mark<br>" +
                       Lines(10) + "</body>";
    control.SetHtml(html.c_str());
    PaintNow(control.hwnd);
    const CHtmlElement* mark = nullptr;
    for (int i = 0; i < control.elements.count && !mark; ++i) {
        if (control.GetElement(i)->GetAttrib("value").CompareNoCase("mark") == 0) mark = control.GetElement(i);
    }
    ASSERT_NE(mark, nullptr);
    ASSERT_EQ(mark->y, 100);
    RECT box = control.ElementBox(mark, 0);
    RECT unscrolledInk = ClientCapture(control.hwnd).Bounds(box, RED);
    ASSERT_LT(unscrolledInk.top, unscrolledInk.bottom);

    EXPECT_EQ(ScrollAfter(SB_THUMBPOSITION, 30), 30);
    FillClient(control.hwnd, SENTINEL);
    PaintNow(control.hwnd);
    ClientCapture capture(control.hwnd);
    RECT band = {0, 0, capture.Width(), top - 30};
    EXPECT_EQ(capture.CountOther(band, PALE), 0);
    RECT shifted = control.ElementBox(mark, -30);
    EXPECT_EQ(shifted.top, 70);
    RECT ink = capture.Bounds(shifted, RED);
    EXPECT_EQ(ink.top, unscrolledInk.top - 30);
    EXPECT_EQ(ink.bottom, unscrolledInk.bottom - 30);
    EXPECT_EQ(ink.left, unscrolledInk.left);
    EXPECT_EQ(capture.Count({0, 0, capture.Width(), capture.Height()}, SENTINEL), 0);
}
