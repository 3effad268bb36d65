// The HTML control window: replacing a placeholder, body and host settings,
// setting text, and the installed-font list.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "html/CHaleSimpleHtmlCtrl.h"
#include "support/HtmlTraceRecorder.h"
#include "support/win/HtmlCtrlHost.h"

namespace {
RECT ChildRect(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string ClassOf(HWND window) {
    char name[128] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string Words(const CHaleSimpleHtmlCtrl& control) {
    std::string words;
    for (int i = 0; i < control.elements.count; ++i) {
        const CHtmlElement* element = control.GetElement(i);
        if (element->kind != HEK_TEXT) continue;
        if (!words.empty()) words += '|';
        words += static_cast<const char*>(element->GetAttrib("value"));
    }
    return words;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

int CALLBACK CountFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM param) {
    auto* counts = reinterpret_cast<std::map<std::string, int>*>(param);
    const auto* full = reinterpret_cast<const ENUMLOGFONTEXA*>(font)->elfFullName;
    ++(*counts)[Lower(reinterpret_cast<const char*>(full))];
    return 1;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
}  // namespace

TEST(HtmlCtrlWindow, ReplacesPlaceholderKeepingIdRectZOrderEnabledStateAndText) {
    CHaleSimpleHtmlCtrl control(GetModuleHandleA(nullptr));
    HtmlCtrlHost host;
    HWND before = host.AddPlaceholder(301, 5, 5, 50, 20, "before");
    HWND placeholder = host.AddPlaceholder(302, 12, 40, 250, 90, "<message>");
    HWND after = host.AddPlaceholder(303, 5, 200, 50, 20, "after");
    EnableWindow(placeholder, FALSE);
    RECT expected = ChildRect(placeholder);

    ASSERT_TRUE(control.Attach(placeholder));

    EXPECT_FALSE(IsWindow(placeholder));
    ASSERT_NE(control.hwnd, nullptr);
    EXPECT_EQ(GetDlgItem(host.Window(), 302), control.hwnd);
    EXPECT_EQ(ClassOf(control.hwnd), "HaleSimpleHtmlCtrlClass");
    EXPECT_TRUE(SameRect(ChildRect(control.hwnd), expected));
    EXPECT_EQ(GetWindow(control.hwnd, GW_HWNDPREV), before);
    EXPECT_EQ(GetWindow(control.hwnd, GW_HWNDNEXT), after);
    EXPECT_FALSE(IsWindowEnabled(control.hwnd));
    EXPECT_EQ(TextOf(control.hwnd), "<message>");
    LONG style = GetWindowLongA(control.hwnd, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_VSCROLL), WS_CHILD | WS_VISIBLE | WS_VSCROLL);
}

TEST(HtmlCtrlWindow, AnEnabledPlaceholderGivesAnEnabledControlAndTheClassIsRegisteredOnce) {
    CHaleSimpleHtmlCtrl first(GetModuleHandleA(nullptr));
    CHaleSimpleHtmlCtrl second(GetModuleHandleA(nullptr));
    HtmlCtrlHost host;
    ASSERT_TRUE(first.Attach(host.AddPlaceholder(1, 0, 0, 100, 40)));
    ASSERT_TRUE(second.Attach(host.AddPlaceholder(2, 0, 50, 100, 40)));
    EXPECT_TRUE(IsWindowEnabled(first.hwnd));
    EXPECT_EQ(GetDlgItem(host.Window(), 2), second.hwnd);
}

TEST(HtmlCtrlWindow, AMissingPlaceholderFails) {
    CHaleSimpleHtmlCtrl control(GetModuleHandleA(nullptr));
    HtmlCtrlHost host;
    EXPECT_FALSE(control.Attach(nullptr));
    EXPECT_FALSE(control.ReplaceDialogItem(host.Window(), 77));
    EXPECT_EQ(control.hwnd, nullptr);
}

TEST(HtmlCtrlSettings, BodyDefaultsAfterConstruction) {
    CHaleSimpleHtmlCtrl control(GetModuleHandleA(nullptr));
    EXPECT_EQ(control.needsParse, 1);
    EXPECT_EQ(control.wheelDelta, 0);
    EXPECT_EQ(control.browserType, 1);
    EXPECT_EQ(control.handCursor, nullptr);
    EXPECT_EQ(control.GetBodyAttribNumber("bgcolor", 0, AT_COLOR),
              static_cast<int>(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(control.GetBodyAttribNumber("text", 0, AT_COLOR),
              static_cast<int>(GetSysColor(COLOR_WINDOWTEXT)));
    EXPECT_EQ(control.GetBodyAttribNumber("link", 0, AT_COLOR), 0xFF0000);
    EXPECT_EQ(control.GetBodyAttribNumber("alink", 0, AT_COLOR), 0xFF0000);
    EXPECT_EQ(control.GetBodyAttribNumber("vlink", 0, AT_COLOR), 0x800080);
    EXPECT_TRUE(control.GetBodyAttribBool("scroll"));
    EXPECT_EQ(control.GetBodyAttribNumber("leftmargin", 0, AT_UINT), 16);
    EXPECT_EQ(control.GetBodyAttribNumber("rightmargin", 0, AT_UINT), 16);
    EXPECT_EQ(control.GetBodyAttribNumber("topmargin", 0, AT_UINT), 16);
    EXPECT_EQ(control.hostAttribs.count, 0);
}

TEST(HtmlCtrlSettings, NegativeMarginsStandForSixteen) {
    CHaleSimpleHtmlCtrl control(GetModuleHandleA(nullptr));
    control.SetMargins(-1, 5, -7);
    EXPECT_STREQ(control.hostAttribs.GetAttrib("leftmargin"), "16");
    EXPECT_STREQ(control.hostAttribs.GetAttrib("rightmargin"), "5");
    EXPECT_STREQ(control.hostAttribs.GetAttrib("topmargin"), "16");
    control.SetMargins(0, 0, 0);
    EXPECT_EQ(control.GetBodyAttribNumber("leftmargin", -1, AT_UINT), 0);
}

TEST(HtmlCtrlSettings, HostSettingsWinOverTheBodyAndTheBodyOverTheDefaults) {
    CHaleSimpleHtmlCtrl hosted(GetModuleHandleA(nullptr));
    CHaleSimpleHtmlCtrl plain(GetModuleHandleA(nullptr));
    CHaleSimpleHtmlCtrl bare(GetModuleHandleA(nullptr));
    HtmlCtrlHost host;
    ASSERT_TRUE(hosted.Attach(host.AddPlaceholder(1, 0, 0, 200, 60)));
    ASSERT_TRUE(plain.Attach(host.AddPlaceholder(2, 0, 70, 200, 60)));
    ASSERT_TRUE(bare.Attach(host.AddPlaceholder(3, 0, 140, 200, 60)));
    hosted.SetScroll(FALSE);
    hosted.SetMargins(2, 3, 4);
    hosted.SetHtml("<body scroll=\"yes\" leftmargin=9 bgcolor=\"#102030\">x</body>");
    plain.SetHtml("<body scroll=\"no\" leftmargin=9 bgcolor=\"#102030\">x</body>");
    bare.SetHtml("x");
    hosted.FitHeightToContent();
    plain.FitHeightToContent();
    bare.FitHeightToContent();

    EXPECT_STREQ(hosted.bodyAttribs.GetAttrib("scroll"), "yes");
    EXPECT_FALSE(hosted.GetBodyAttribBool("scroll"));
    EXPECT_EQ(hosted.GetBodyAttribNumber("leftmargin", -1, AT_UINT), 2);
    EXPECT_EQ(hosted.GetBodyAttribNumber("bgcolor", 0, AT_COLOR), 0x302010);

    EXPECT_FALSE(plain.GetBodyAttribBool("scroll"));
    EXPECT_EQ(plain.GetBodyAttribNumber("leftmargin", -1, AT_UINT), 9);
    EXPECT_TRUE(bare.GetBodyAttribBool("scroll"));
    EXPECT_EQ(bare.GetBodyAttribNumber("bgcolor", 0, AT_COLOR),
              static_cast<int>(GetSysColor(COLOR_BTNFACE)));
}

TEST(HtmlCtrlText, ASecondSetHtmlBeforeAnyPaintParsesOnlyTheSecondText) {
    CHaleSimpleHtmlCtrl control(GetModuleHandleA(nullptr));
    HtmlCtrlHost host;
    ASSERT_TRUE(control.Attach(host.AddPlaceholder(1, 0, 0, 300, 100)));
    HtmlTraceRecorder trace;
    control.SetHtml("<first>one two");
    control.SetHtml("<second>three");
    EXPECT_EQ(control.needsParse, 1);
    EXPECT_EQ(control.elements.count, 0);
    PaintNow(control.hwnd);

    EXPECT_EQ(control.needsParse, 0);
    EXPECT_EQ(Words(control), "three");
    ASSERT_EQ(trace.UnsupportedTags().size(), 1u);
    EXPECT_EQ(trace.UnsupportedTags()[0], "second");
}

TEST(HtmlCtrlText, ThePlaceholderTextIsParsedAtTheFirstPaint) {
    CHaleSimpleHtmlCtrl control(GetModuleHandleA(nullptr));
    HtmlCtrlHost host;
    ASSERT_TRUE(control.Attach(host.AddPlaceholder(1, 0, 0, 300, 100, "<message>")));
    HtmlTraceRecorder trace;
    PaintNow(control.hwnd);
    EXPECT_EQ(control.elements.count, 0);
    ASSERT_EQ(trace.UnsupportedTags().size(), 1u);
    EXPECT_EQ(trace.UnsupportedTags()[0], "message");
}

TEST(HtmlCtrlText, LayoutHappensOncePerTextAndAnEmptyTextKeepsTheWindowText) {
    CHaleSimpleHtmlCtrl control(GetModuleHandleA(nullptr));
    HtmlCtrlHost host;
    ASSERT_TRUE(control.Attach(host.AddPlaceholder(1, 0, 0, 300, 100)));
    control.SetHtml("alpha beta");
    PaintNow(control.hwnd);
    ASSERT_EQ(Words(control), "alpha|beta");
    const CHtmlElement* first = control.GetElement(0);

    PaintNow(control.hwnd);
    EXPECT_EQ(control.GetElement(0), first);

    control.SetHtml("");
    EXPECT_EQ(control.elements.count, 0);
    EXPECT_EQ(control.needsParse, 0);
    EXPECT_EQ(TextOf(control.hwnd), "alpha beta");
    PaintNow(control.hwnd);
    EXPECT_EQ(control.elements.count, 0);

    control.SetHtml(nullptr);
    EXPECT_EQ(control.needsParse, 0);
}

TEST(HtmlCtrlFonts, EachInstalledFontIsListedOnceAlthoughItIsReportedPerCharacterSet) {
    CHaleSimpleHtmlCtrl control(GetModuleHandleA(nullptr));
    HtmlCtrlHost host;
    ASSERT_TRUE(control.Attach(host.AddPlaceholder(1, 0, 0, 100, 40)));

    std::map<std::string, int> reported;
    HDC dc = GetDC(nullptr);
    LOGFONTA query = {};
    query.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExA(dc, &query, CountFace, reinterpret_cast<LPARAM>(&reported), 0);
    ReleaseDC(nullptr, dc);

    int reportedTwice = 0;
    for (const auto& entry : reported) {
        if (entry.second > 1) ++reportedTwice;
    }
    ASSERT_GT(reportedTwice, 0) << "no font of this system comes in several character sets";
    ASSERT_EQ(control.fontNames.count, static_cast<int>(reported.size()));
    std::map<std::string, int> listed;
    for (int i = 0; i < control.fontNames.count; ++i) ++listed[Lower(control.fontNames.GetAt(i))];
    for (const auto& entry : reported) EXPECT_EQ(listed[entry.first], 1) << entry.first;
}

TEST(HtmlCtrlFonts, FontListsResolveAgainstTheInstalledFonts) {
    CHaleSimpleHtmlCtrl control(GetModuleHandleA(nullptr));
    HtmlCtrlHost host;
    ASSERT_TRUE(control.Attach(host.AddPlaceholder(1, 0, 0, 200, 40)));
    ASSERT_GT(control.fontNames.count, 0);
    std::string installed = control.fontNames.GetAt(0);
    std::string markup = "<font face=\"No Such Font Here, " + installed + "\">x</font>";
    control.SetHtml(markup.c_str());
    control.FitHeightToContent();
    ASSERT_GT(control.elements.count, 0);
    EXPECT_EQ(std::string(control.GetElement(0)->GetAttrib("face")), installed);
}
