// The text-style stack: styles combined from open formatting tags, and the
// fonts it selects into a device context.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "html/CHaleSimpleHtmlCtrl.h"
#include "html/HtmlFormatStack.h"
#include "support/win/GdiObjectCounter.h"
#include "window/DcScopes.h"

namespace {
// A screen DC for the stack to select fonts into.
class ScreenDc {
public:
    ScreenDc() : screen(GetDC(nullptr)), dc(screen) {}
    ~ScreenDc() { ReleaseDC(nullptr, screen); }
    HDC screen;
    BorrowedDcScope dc;
};

// Owns the elements a test feeds to a stack.
class Elements {
public:
    explicit Elements(CHaleSimpleHtmlCtrl* owner) : owner(owner), list(true) {}

    const CHtmlElement* Marker(int kind, int isOpen) {
        return Keep(new CHtmlElement(owner, kind, isOpen));
    }
    const CHtmlElement* With(int kind, int isOpen, const char* name, const char* value) {
        return Keep(new CHtmlElement(owner, kind, isOpen, name, value));
    }
    const CHtmlElement* Font(const char* attribText) {
        CHtmlAttribList attribs;
        attribs.ParseAttribs(attribText);
        return Keep(new CHtmlElement(owner, HEK_FONT, 1, attribs));
    }

private:
    const CHtmlElement* Keep(CHtmlElement* element) {
        list.Add(element);
        return element;
    }
    CHaleSimpleHtmlCtrl* owner;
    CHtmlElementList list;
};

// Adds an attribute the name table would refuse, as a document could carry
// it if the table admitted signed sizes.
void ForceAttrib(const CHtmlElement* element, const char* name, const char* value) {
    CHtmlAttrib* attrib = new CHtmlAttrib;
    attrib->name = name;
    attrib->value = value;
    const_cast<CHtmlElement*>(element)->attribs.Add(attrib);
}

LOGFONTA DefaultGuiFont() {
    LOGFONTA font = {};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    return font;
}

LOGFONTA SelectedFont(HDC dc) {
    LOGFONTA font = {};
    GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
    return font;
}

int PointsToHeight(HDC dc, int points) {
    return -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
}

class HtmlStyles : public testing::Test {
protected:
    HtmlStyles() : control(GetModuleHandleA(nullptr)), elements(&control) {}
    CHaleSimpleHtmlCtrl control;
    ScreenDc screen;
    Elements elements;
};
}  // namespace

TEST_F(HtmlStyles, TextBeforeAnyTagUsesTheControlFontAtNormalWeightInTheBodyTextColour) {
    control.bodyAttribs.SetAttribNumber("text", 0x123456, AT_COLOR);
    CHtmlFormatStack stack(&control, &screen.dc);
    LOGFONTA gui = DefaultGuiFont();
    CHtmlTextStyle style = stack.CurrentStyle();
    EXPECT_STREQ(style.face, gui.lfFaceName);
    EXPECT_EQ(style.pointSize, -MulDiv(gui.lfHeight, 72, GetDeviceCaps(screen.screen, LOGPIXELSY)));
    EXPECT_EQ(style.weight, 400);
    EXPECT_EQ(style.italic, 0);
    EXPECT_EQ(style.underline, 0);
    EXPECT_EQ(style.color, 0x123456u);
    EXPECT_EQ(stack.CurrentAlignment(), HTML_ALIGN_LEFT);
}

TEST_F(HtmlStyles, TheSelectedFontFollowsTheStyleAndTheDcGetsItsFontBack) {
    HGDIOBJ original = GetCurrentObject(screen.screen, OBJ_FONT);
    control.bodyAttribs.SetAttribNumber("text", 0x0000C0, AT_COLOR);
    {
        CHtmlFormatStack stack(&control, &screen.dc);
        stack.ApplyElement(elements.Font("face=\"Courier New\" point-size=14"));
        stack.ApplyElement(elements.Marker(HEK_B, 1));
        stack.ApplyElement(elements.Marker(HEK_I, 1));
        stack.SelectFont();
        LOGFONTA font = SelectedFont(screen.screen);
        EXPECT_STREQ(font.lfFaceName, "Courier New");
        EXPECT_EQ(font.lfHeight, PointsToHeight(screen.screen, 14));
        EXPECT_EQ(font.lfWeight, 700);
        EXPECT_EQ(font.lfItalic, 1);
        EXPECT_EQ(font.lfUnderline, 0);
        EXPECT_EQ(GetTextColor(screen.screen), 0x0000C0u);
        EXPECT_NE(GetCurrentObject(screen.screen, OBJ_FONT), original);
    }
    EXPECT_EQ(GetCurrentObject(screen.screen, OBJ_FONT), original);
}

TEST_F(HtmlStyles, FontSizesFollowTheHtmlTableAndPointSizeWins) {
    CHtmlFormatStack stack(&control, &screen.dc);
    stack.ApplyElement(elements.Font("point-size=10"));
    EXPECT_EQ(stack.CurrentStyle().pointSize, 10);
    stack.ApplyElement(elements.Font("size=9"));
    EXPECT_EQ(stack.CurrentStyle().pointSize, 8);
    stack.ApplyElement(elements.Font("point-size=11 size=7"));
    EXPECT_EQ(stack.CurrentStyle().pointSize, 11);
    stack.ApplyElement(elements.Font("size=7"));
    EXPECT_EQ(stack.CurrentStyle().pointSize, 36);
    stack.ApplyElement(elements.Font("size=3"));
    EXPECT_EQ(stack.CurrentStyle().pointSize, 12);
    stack.ApplyElement(elements.Font("color=#00FF00"));
    EXPECT_EQ(stack.CurrentStyle().pointSize, 12);
    EXPECT_EQ(stack.CurrentStyle().color, 0x00FF00u);
    const int table[] = {0, 8, 10, 12, 14, 18, 24, 36};
    for (int size = 1; size <= 7; ++size) EXPECT_EQ(HtmlSizeToPoints(size), table[size]);
    EXPECT_EQ(HtmlSizeToPoints(0), 8);
    EXPECT_EQ(HtmlSizeToPoints(8), 8);
}

TEST_F(HtmlStyles, AClosingTagRemovesTheMostRecentEntryOfItsKindEvenUnderAnother) {
    CHtmlFormatStack stack(&control, &screen.dc);
    stack.ApplyElement(elements.Marker(HEK_B, 1));
    stack.ApplyElement(elements.Marker(HEK_I, 1));
    EXPECT_EQ(stack.CurrentStyle().weight, 700);
    stack.ApplyElement(elements.Marker(HEK_B, 0));
    CHtmlTextStyle style = stack.CurrentStyle();
    EXPECT_EQ(style.weight, 400);
    EXPECT_EQ(style.italic, 1);
    EXPECT_EQ(stack.EntryCount(), 1);

    stack.ApplyElement(elements.Marker(HEK_B, 0));
    stack.ApplyElement(elements.Marker(HEK_A, 0));
    EXPECT_EQ(stack.EntryCount(), 1);
    stack.ApplyElement(elements.Marker(HEK_I, 0));
    EXPECT_EQ(stack.CurrentStyle().italic, 0);
    EXPECT_EQ(stack.EntryCount(), 0);
}

TEST_F(HtmlStyles, NestedFontsUnwindToTheOuterSetting) {
    CHtmlFormatStack stack(&control, &screen.dc);
    stack.ApplyElement(elements.Font("color=#FF0000 point-size=20"));
    stack.ApplyElement(elements.Font("color=#0000FF"));
    EXPECT_EQ(stack.CurrentStyle().color, 0xFF0000u);
    EXPECT_EQ(stack.CurrentStyle().pointSize, 20);
    stack.ApplyElement(elements.Marker(HEK_FONT, 0));
    EXPECT_EQ(stack.CurrentStyle().color, 0x0000FFu);
    EXPECT_EQ(stack.CurrentStyle().pointSize, 20);
}

TEST_F(HtmlStyles, HeadingsAreBoldAtTheirTableSize) {
    CHtmlFormatStack stack(&control, &screen.dc);
    int base = stack.CurrentStyle().pointSize;
    const int points[] = {0, 24, 18, 14, 12, 10, 8};
    for (int level = 1; level <= 6; ++level) {
        std::string digit(1, static_cast<char>('0' + level));
        stack.ApplyElement(elements.With(HEK_HEADING, 1, "size", digit.c_str()));
        EXPECT_EQ(stack.CurrentStyle().pointSize, points[level]) << "h" << level;
        EXPECT_EQ(stack.CurrentStyle().weight, 700) << "h" << level;
        stack.ApplyElement(elements.With(HEK_HEADING, 0, "size", digit.c_str()));
        EXPECT_EQ(stack.CurrentStyle().pointSize, base);
        EXPECT_EQ(stack.CurrentStyle().weight, 400);
    }
    stack.ApplyElement(elements.With(HEK_HEADING, 1, "size", "7"));
    EXPECT_EQ(stack.CurrentStyle().pointSize, base);
    EXPECT_EQ(stack.CurrentStyle().weight, 700);
}

TEST_F(HtmlStyles, ALinkUsesTheBodyLinkColourUntilItCarriesItsVisitedColour) {
    control.bodyAttribs.SetAttribNumber("link", 0x00AA00, AT_COLOR);
    CHtmlElement* anchor = const_cast<CHtmlElement*>(elements.With(HEK_A, 1, "href", "u"));
    {
        CHtmlFormatStack stack(&control, &screen.dc);
        stack.ApplyElement(anchor);
        EXPECT_EQ(stack.CurrentStyle().color, 0x00AA00u);
        EXPECT_EQ(stack.CurrentStyle().underline, 1);
    }
    anchor->attribs.SetAttribNumber("linkcolor", 0x800080, AT_COLOR);
    CHtmlFormatStack stack(&control, &screen.dc);
    stack.ApplyElement(anchor);
    EXPECT_EQ(stack.CurrentStyle().color, 0x800080u);
    stack.ApplyElement(elements.Marker(HEK_A, 0));
    EXPECT_EQ(stack.CurrentStyle().underline, 0);
}

TEST_F(HtmlStyles, CentreSetsTheAlignmentAndAParagraphWithoutAlignChangesNothing) {
    CHtmlFormatStack stack(&control, &screen.dc);
    stack.ApplyElement(elements.Marker(HEK_CENTER, 1));
    EXPECT_EQ(stack.CurrentAlignment(), HTML_ALIGN_CENTER);
    stack.ApplyElement(elements.Marker(HEK_P, 1));
    EXPECT_EQ(stack.EntryCount(), 1);
    stack.ApplyElement(elements.Marker(HEK_P, 0));
    EXPECT_EQ(stack.CurrentAlignment(), HTML_ALIGN_CENTER);
    stack.ApplyElement(elements.Marker(HEK_CENTER, 0));
    EXPECT_EQ(stack.CurrentAlignment(), HTML_ALIGN_LEFT);
    stack.ApplyElement(elements.With(HEK_TEXT, 1, "value", "word"));
    stack.ApplyElement(nullptr);
    EXPECT_EQ(stack.EntryCount(), 0);
}

TEST_F(HtmlStyles, AFontIsMadeOncePerStyleChangeAndEveryFontIsDeleted) {
    GdiObjectCounter counter;
    ASSERT_TRUE(counter.Installed());
    {
        CHtmlFormatStack stack(&control, &screen.dc);
        stack.SelectFont();
        stack.SelectFont();
        EXPECT_EQ(counter.FontsCreated(), 1);
        stack.ApplyElement(elements.Marker(HEK_CENTER, 1));
        stack.SelectFont();
        EXPECT_EQ(counter.FontsCreated(), 1);
        stack.ApplyElement(elements.Marker(HEK_B, 1));
        stack.SelectFont();
        EXPECT_EQ(counter.FontsCreated(), 2);
        stack.ApplyElement(elements.Marker(HEK_B, 0));
        stack.SelectFont();
        EXPECT_EQ(counter.FontsCreated(), 3);
        EXPECT_EQ(counter.Live(), 1);
        // A b inside a b, and its end, change nothing the font is made of.
        stack.ApplyElement(elements.Marker(HEK_B, 1));
        stack.SelectFont();
        stack.ApplyElement(elements.Marker(HEK_B, 1));
        stack.SelectFont();
        stack.ApplyElement(elements.Marker(HEK_B, 0));
        stack.SelectFont();
        EXPECT_EQ(counter.FontsCreated(), 4);
        stack.ApplyElement(elements.Marker(HEK_B, 0));
        stack.SelectFont();
        EXPECT_EQ(counter.FontsCreated(), 5);
        EXPECT_EQ(counter.Live(), 1);
    }
    EXPECT_EQ(counter.Live(), 0);
}

TEST_F(HtmlStyles, AFailedFontLeavesTheDcAloneAndIsTriedAgain) {
    GdiObjectCounter counter;
    ASSERT_TRUE(counter.Installed());
    HGDIOBJ original = GetCurrentObject(screen.screen, OBJ_FONT);
    SetTextColor(screen.screen, 0x010203);
    control.bodyAttribs.SetAttribNumber("text", 0x0000C0, AT_COLOR);
    CHtmlFormatStack stack(&control, &screen.dc);
    counter.FailFontCreation(true);
    stack.SelectFont();
    EXPECT_EQ(GetCurrentObject(screen.screen, OBJ_FONT), original);
    counter.FailFontCreation(false);
    stack.SelectFont();
    EXPECT_EQ(counter.FontsCreated(), 2);
    EXPECT_NE(GetCurrentObject(screen.screen, OBJ_FONT), original);
    EXPECT_EQ(GetTextColor(screen.screen), 0x0000C0u);
}

TEST_F(HtmlStyles, SignedSizesStepInPointsFromTheCurrentSizeAndSaturate) {
    CHtmlFormatStack stack(&control, &screen.dc);
    stack.ApplyElement(elements.Font("point-size=10"));
    const CHtmlElement* larger = elements.Font("");
    ForceAttrib(larger, "size", "+2");
    stack.ApplyElement(larger);
    EXPECT_EQ(stack.CurrentStyle().pointSize, 12);
    const CHtmlElement* smaller = elements.Font("");
    ForceAttrib(smaller, "size", "-5pt");
    stack.ApplyElement(smaller);
    EXPECT_EQ(stack.CurrentStyle().pointSize, 7);
    const CHtmlElement* bare = elements.Font("");
    ForceAttrib(bare, "size", "+");
    stack.ApplyElement(bare);
    EXPECT_EQ(stack.CurrentStyle().pointSize, 7);
    const CHtmlElement* huge = elements.Font("");
    ForceAttrib(huge, "size", "+99999999999999999999");
    stack.ApplyElement(huge);
    EXPECT_EQ(stack.CurrentStyle().pointSize, INT_MAX);
    const CHtmlElement* hugeDown = elements.Font("point-size=0");
    stack.ApplyElement(hugeDown);
    const CHtmlElement* down = elements.Font("");
    ForceAttrib(down, "size", "-2147483647");
    stack.ApplyElement(down);
    const CHtmlElement* further = elements.Font("");
    ForceAttrib(further, "size", "-2147483647");
    stack.ApplyElement(further);
    EXPECT_EQ(stack.CurrentStyle().pointSize, INT_MIN);
    // Even such a size gives a font and leaves the DC usable.
    stack.SelectFont();
    SIZE size = {};
    EXPECT_TRUE(GetTextExtentPoint32A(screen.screen, "x", 1, &size));
}
