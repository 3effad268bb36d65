// Hostile markup for the HTML control: sizes, margins and spacings as large as
// an int holds, and a long document, laid out, painted and scrolled.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "html/CHaleSimpleHtmlCtrl.h"
#include "support/win/GdiObjectCounter.h"
#include "support/win/HtmlCtrlHost.h"

namespace {
bool BoxesAreOrdered(const CHaleSimpleHtmlCtrl& control) {
    for (int i = 0; i < control.elements.count; ++i) {
        RECT box = control.ElementBox(control.GetElement(i), 0);
        if (box.right < box.left || box.bottom < box.top) return false;
    }
    return true;
}

class HtmlHostile : public testing::Test {
protected:
    HtmlHostile() : control(GetModuleHandleA(nullptr)) {}

    void Run(const std::string& html) {
        ASSERT_TRUE(control.Attach(host.AddPlaceholder(1, 0, 0, 300, 100)));
        control.SetHtml(html.c_str());
        control.FitHeightToContent();
        PaintNow(control.hwnd);
        SendMessageA(control.hwnd, WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
        SendMessageA(control.hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-32768)), 0);
        PaintNow(control.hwnd);
    }

    CHaleSimpleHtmlCtrl control;
    HtmlCtrlHost host;
};
}  // namespace

TEST_F(HtmlHostile, HugeMarginsSaturateTheLayout) {
    Run("<body leftmargin=2147483647 rightmargin=2147483647 topmargin=2147483647>"
        "one two<br>three <center>four five</center></body>");
    EXPECT_TRUE(BoxesAreOrdered(control));
    int placed = 0;
    for (int i = 0; i < control.elements.count; ++i) {
        const CHtmlElement* element = control.GetElement(i);
        if (element->kind != HEK_TEXT) continue;
        ++placed;
        EXPECT_EQ(element->y, INT_MAX);
    }
    EXPECT_EQ(placed, 5);
}

TEST_F(HtmlHostile, HugeImagesAndFontsStayWithinTheIntRange) {
    Run("<img width=2147483647 height=2147483647 hspace=2147483647 vspace=2147483647>"
        "<font point-size=2147483647 weight=2147483647>big</font> "
        "<img src=\"rsrc://4242\" hspace=1073741824 vspace=1073741824> tail");
    EXPECT_TRUE(BoxesAreOrdered(control));
    EXPECT_EQ(control.GetElement(0)->cx, INT_MAX);
    EXPECT_EQ(control.GetElement(0)->cy, INT_MAX);
    const CHtmlElement* tail = control.GetElement(control.elements.count - 1);
    EXPECT_GE(tail->y, 0);
}

TEST_F(HtmlHostile, ALongDocumentIsLaidOutPaintedAndScrolledWithoutLeaks) {
    GdiObjectCounter counter;
    ASSERT_TRUE(counter.Installed());
    std::string html;
    for (int i = 0; i < 3000; ++i) {
        html += "<b>word</b> <i>x</i> <font size=" + std::to_string(i % 9) + ">y</font> ";
        if (i % 50 == 0) html += "<br><center>";
        if (i % 70 == 0) html += "</center><img width=3 height=3 hspace=1>";
    }
    Run(html);
    EXPECT_TRUE(BoxesAreOrdered(control));
    EXPECT_GT(GetScrollPos(control.hwnd, SB_VERT), 0);
    EXPECT_EQ(counter.Live(), 0);
}
