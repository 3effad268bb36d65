// Layout of the HTML control: line breaking, line heights, edge spaces,
// alignment and fitting the control to its content. Expected positions come
// from text measured here in the control's base font.
#include <gtest/gtest.h>

#include <string>

#include "html/CHaleSimpleHtmlCtrl.h"
#include "html/HtmlFormatStack.h"
#include "support/win/HtmlCtrlHost.h"
#include "support/win/ImportHook.h"
#include "window/DcScopes.h"

namespace {
const int LEFT = 20;
const int RIGHT = 7;
const int TOP = 5;

class HtmlLayout : public testing::Test {
protected:
    HtmlLayout() : control(GetModuleHandleA(nullptr)) {}

    // A control of the given outer width with the test margins, laid out.
    void LayOut(int width, const char* html, int height = 150) {
        ASSERT_TRUE(control.Attach(host.AddPlaceholder(1, 0, 0, width, height)));
        control.SetMargins(LEFT, RIGHT, TOP);
        control.SetHtml(html);
        WindowDcScope dc(&control);
        control.EnsureLaidOut(dc);
    }

    // The index-th element whose value is the word (spaces are " ").
    const CHtmlElement* Element(int kind, int index = 0) const {
        for (int i = 0; i < control.elements.count; ++i) {
            const CHtmlElement* element = control.GetElement(i);
            if (element->kind == kind && index-- == 0) return element;
        }
        return nullptr;
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

    CHaleSimpleHtmlCtrl control;
    HtmlCtrlHost host;
};

int Width(const char* text) { return MeasureBaseText(text).cx; }
int Height() { return MeasureBaseText(" ").cy; }

// Adds an attribute the name table would refuse, as a document could carry
// it if the table admitted it.
void ForceAttrib(CHtmlElement& element, const char* name, const char* value) {
    CHtmlAttrib* attrib = new CHtmlAttrib;
    attrib->name = name;
    attrib->value = value;
    element.attribs.Add(attrib);
}
}  // namespace

TEST_F(HtmlLayout, WordsThatExactlyFillTheLimitShareALineAndTheLimitCountsTheLeftMarginTwice) {
    int total = Width("aaa") + Width(" ") + Width("bbb");
    LayOut(2 * LEFT + RIGHT + total, "aaa bbb");
    ASSERT_NE(Word("bbb"), nullptr);
    EXPECT_EQ(Word("aaa")->x, LEFT);
    EXPECT_EQ(Word("aaa")->y, TOP);
    EXPECT_EQ(Word("bbb")->x, LEFT + Width("aaa") + Width(" "));
    EXPECT_EQ(Word("bbb")->y, TOP);
    EXPECT_EQ(Element(HEK_SPACE)->x, LEFT + Width("aaa"));
}

TEST_F(HtmlLayout, OnePixelLessWrapsTheLastWordWholeAndDropsTheSpaceBeforeIt) {
    int total = Width("aaa") + Width(" ") + Width("bbb");
    LayOut(2 * LEFT + RIGHT + total - 1, "aaa bbb");
    ASSERT_NE(Word("bbb"), nullptr);
    EXPECT_EQ(Word("bbb")->x, LEFT);
    EXPECT_EQ(Word("bbb")->y, TOP + Height());
    EXPECT_EQ(Word("aaa")->lineCy, Height());
    const CHtmlElement* space = Element(HEK_SPACE);
    EXPECT_EQ(space->x, -1);
    EXPECT_EQ(space->y, -1);
    EXPECT_EQ(space->lineCy, space->cy);
}

TEST_F(HtmlLayout, AWordWiderThanTheLimitSitsAloneBelowAnEmptyBandOfItsOwnHeight) {
    LayOut(2 * LEFT + RIGHT + Width("wide") - 1, "wide i");
    const CHtmlElement* wide = Word("wide");
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->x, LEFT);
    EXPECT_EQ(wide->y, TOP + Height());
    EXPECT_EQ(wide->cx, Width("wide"));
    // The space wraps with x beyond the line start, opens the next line and
    // is dropped there; the word closes up over it.
    ASSERT_LT(Width(" i"), Width("wide") - 1);
    EXPECT_EQ(Word("i")->x, LEFT);
    EXPECT_EQ(Word("i")->y, TOP + 2 * Height());
    EXPECT_EQ(Element(HEK_SPACE)->x, -1);
}

TEST_F(HtmlLayout, TheElementThatWrapsRaisesTheHeightOfTheLineItLeavesAndOfTheLineItOpens) {
    int wordWidth = Width("ab");
    LayOut(2 * LEFT + RIGHT + wordWidth + 10, "ab<img width=30 height=40>cd");
    const CHtmlElement* image = Element(HEK_IMG);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(Word("ab")->lineCy, 40);
    EXPECT_EQ(image->x, LEFT);
    EXPECT_EQ(image->y, TOP + 40);
    EXPECT_EQ(Word("cd")->y, TOP + 40 + 40);
    EXPECT_EQ(image->lineCy, 40);
}

// A subtitle in a larger italic font whose last word wraps alone onto a line
// that a break in the smaller base font ends: the next line starts below it.
TEST_F(HtmlLayout, AWrappedWordIsNotCutByTheLineAfterABreakInASmallerFont) {
    LayOut(2 * LEFT + RIGHT + 40, "<font point-size=20><i>one click</i></font><br>next");
    const CHtmlElement* click = Word("click");
    ASSERT_NE(click, nullptr);
    ASSERT_GT(click->y, Word("one")->y);
    EXPECT_GE(Word("next")->y, click->y + click->cy);
}

TEST_F(HtmlLayout, ABreakEndsTheLineAndTheSpaceAfterItIsSkipped) {
    LayOut(400, "aaa <br> bbb");
    const CHtmlElement* before = Element(HEK_SPACE, 0);
    const CHtmlElement* after = Element(HEK_SPACE, 1);
    const CHtmlElement* lineBreak = Element(HEK_BR);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(before->x, -1);
    EXPECT_EQ(lineBreak->x, LEFT);
    EXPECT_EQ(lineBreak->y, TOP + Height());
    EXPECT_EQ(lineBreak->cx, 0);
    EXPECT_EQ(lineBreak->cy, Height());
    EXPECT_EQ(after->x, -1);
    EXPECT_EQ(after->y, -1);
    EXPECT_EQ(Word("bbb")->x, LEFT);
    EXPECT_EQ(Word("bbb")->y, TOP + Height());
}

TEST_F(HtmlLayout, CentredLinesShiftByHalfTheFreeSpaceAndNegativelyWhenTooWide) {
    const int width = 300;
    LayOut(width, "<center>mid</center>");
    EXPECT_EQ(Word("mid")->dx, (width - RIGHT - (LEFT + Width("mid"))) / 2);
    RECT box = control.ElementBox(Word("mid"), 0);
    EXPECT_EQ(box.left, LEFT + Word("mid")->dx);

    CHaleSimpleHtmlCtrl narrow(GetModuleHandleA(nullptr));
    // Its own host, declared after it, takes its window away before it goes.
    HtmlCtrlHost narrowHost;
    ASSERT_TRUE(narrow.Attach(narrowHost.AddPlaceholder(2, 0, 0, 2 * LEFT + RIGHT + 10, 50)));
    narrow.SetMargins(LEFT, RIGHT, TOP);
    narrow.SetHtml("<center>wiiiiiiiide</center>");
    narrow.FitHeightToContent();
    const CHtmlElement* wide = narrow.GetElement(1);
    int free = 2 * LEFT + RIGHT + 10 - RIGHT - (LEFT + Width("wiiiiiiiide"));
    ASSERT_LT(free, 0);
    EXPECT_EQ(wide->dx, free / 2);
    EXPECT_LT(wide->dx, 0);
}

TEST_F(HtmlLayout, ALineTakesTheAlignmentInEffectAtTheElementThatEndsIt) {
    LayOut(400, "left<br><center>one</center> two<br><center>three<br></center>four");
    EXPECT_EQ(Word("left")->dx, 0);
    EXPECT_EQ(Word("one")->dx, 0);
    EXPECT_EQ(Word("two")->dx, 0);
    EXPECT_EQ(Word("three")->dx, (400 - RIGHT - (LEFT + Width("three"))) / 2);
    EXPECT_EQ(Word("four")->dx, 0);
}

TEST_F(HtmlLayout, RightAlignmentCountsTheTrailingSpaceBeforeDroppingIt) {
    const int width = 300;
    ASSERT_TRUE(control.Attach(host.AddPlaceholder(1, 0, 0, width, 100)));
    control.SetMargins(LEFT, RIGHT, TOP);
    control.SetHtml("<p>end </p>");
    WindowDcScope dc(&control);
    control.needsParse = 0;
    control.Parse();
    ASSERT_EQ(control.elements.count, 4);
    ForceAttrib(*control.GetElement(0), "align", "right");
    control.MeasureElements(dc);
    control.LayoutLines(dc);

    const CHtmlElement* word = control.GetElement(1);
    EXPECT_EQ(word->dx, width - RIGHT - (LEFT + Width("end") + Width(" ")));
    RECT box = control.ElementBox(word, 0);
    EXPECT_EQ(box.right, width - RIGHT - Width(" "));
    EXPECT_EQ(control.GetElement(2)->x, -1);
}

TEST_F(HtmlLayout, LineHeightsFollowTheTallestElementAndWordsSitOnTheLineBottom) {
    LayOut(400, "small <font point-size=20>BIG</font> small2");
    const CHtmlElement* big = Word("BIG");
    ASSERT_NE(big, nullptr);
    EXPECT_GT(big->cy, Height());
    EXPECT_EQ(Word("small")->lineCy, big->cy);
    EXPECT_EQ(Word("small2")->lineCy, big->cy);
    EXPECT_EQ(Word("small")->cy, Height());
    RECT box = control.ElementBox(Word("small"), 0);
    EXPECT_EQ(box.bottom - box.top, big->cy);
}

TEST_F(HtmlLayout, FitHeightToContentMakesTheControlAsTallAsItsLowestBox) {
    LayOut(300, "one<br>two", 150);
    control.FitHeightToContent();
    RECT window;
    GetWindowRect(control.hwnd, &window);
    EXPECT_EQ(window.bottom - window.top, TOP + 2 * Height());
    EXPECT_EQ(window.right - window.left, 300);
}

TEST_F(HtmlLayout, AFixedBodyHeightStopsFitHeightToContentEvenOnItsFirstCall) {
    ASSERT_TRUE(control.Attach(host.AddPlaceholder(1, 0, 0, 300, 150)));
    control.SetHtml("<body height=50>one<br>two</body>");
    EXPECT_EQ(control.FitHeightToContent(), 0);
    RECT window;
    GetWindowRect(control.hwnd, &window);
    EXPECT_EQ(window.bottom - window.top, 150);
    EXPECT_EQ(control.needsParse, 0);

    // The next document has no fixed height: the previous body's setting is gone.
    control.SetHtml("one");
    EXPECT_EQ(control.FitHeightToContent(), 1);
    GetWindowRect(control.hwnd, &window);
    EXPECT_EQ(window.bottom - window.top, 16 + Height());
}

TEST_F(HtmlLayout, NothingToFitWithoutContentOrWindow) {
    CHaleSimpleHtmlCtrl windowless(GetModuleHandleA(nullptr));
    EXPECT_EQ(windowless.FitHeightToContent(), 0);
    ASSERT_TRUE(control.Attach(host.AddPlaceholder(1, 0, 0, 300, 150)));
    control.SetHtml("<b></b>");
    EXPECT_EQ(control.FitHeightToContent(), 0);
    RECT window;
    GetWindowRect(control.hwnd, &window);
    EXPECT_EQ(window.bottom - window.top, 150);
}

// A host that has used up its GDI handles gets no device context.
HDC WINAPI NoWindowDc(HWND) { return nullptr; }
HDC WINAPI NoPaintDc(HWND, PAINTSTRUCT* paint) {
    *paint = PAINTSTRUCT();
    return nullptr;
}

TEST_F(HtmlLayout, TextMetWithoutADeviceContextIsLaidOutAtTheNextChance) {
    ASSERT_TRUE(control.Attach(host.AddPlaceholder(1, 0, 0, 300, 150)));
    control.SetMargins(LEFT, RIGHT, TOP);
    control.SetHtml("one<br>two");
    {
        ImportHook failing("user32.dll", "GetWindowDC", reinterpret_cast<void*>(&NoWindowDc));
        ASSERT_TRUE(failing.Installed());
        EXPECT_EQ(control.FitHeightToContent(), 0);
        EXPECT_EQ(control.needsParse, 1);
    }
    {
        ImportHook failing("user32.dll", "BeginPaint", reinterpret_cast<void*>(&NoPaintDc));
        ASSERT_TRUE(failing.Installed());
        SendMessageA(control.hwnd, WM_PAINT, 0, 0);
        EXPECT_EQ(control.needsParse, 1);
    }
    EXPECT_EQ(control.FitHeightToContent(), 1);
    EXPECT_EQ(control.needsParse, 0);
    RECT window;
    GetWindowRect(control.hwnd, &window);
    EXPECT_EQ(window.bottom - window.top, TOP + 2 * Height());
}

TEST_F(HtmlLayout, ResizingAfterLayoutDoesNotReflowTheText) {
    LayOut(400, "aaa bbb ccc");
    int y = Word("ccc")->y;
    control.ResizeControl(60, -1);
    PaintNow(control.hwnd);
    EXPECT_EQ(Word("ccc")->y, y);
    RECT window;
    GetWindowRect(control.hwnd, &window);
    EXPECT_EQ(window.right - window.left, 60);
    EXPECT_EQ(window.bottom - window.top, 150);
}

TEST_F(HtmlLayout, BoxesOfBreaksCountOnePixelAndUnplacedElementsMeetNothing) {
    LayOut(400, "a<br>b <b>c</b>");
    RECT everything = {-100000, -100000, 100000, 100000};
    const CHtmlElement* lineBreak = Element(HEK_BR);
    RECT column = {LEFT, 0, LEFT + 1, 1000};
    EXPECT_TRUE(control.BoxIntersects(lineBreak, column));
    EXPECT_TRUE(control.IsVisibleIn(lineBreak, column));
    const CHtmlElement* bold = Element(HEK_B);
    EXPECT_FALSE(control.BoxIntersects(bold, everything));
    EXPECT_FALSE(control.IsVisibleIn(bold, everything));
    EXPECT_FALSE(control.IsVisibleIn(nullptr, everything));
    RECT none = control.ElementBox(nullptr, 5);
    EXPECT_EQ(none.left, -1);
    EXPECT_EQ(none.bottom, -1);
    RECT shifted = control.ElementBox(Word("b"), -30);
    EXPECT_EQ(shifted.top, Word("b")->y - 30);
}
