// The dialog and the HTML control at the DPI of the prefix the program runs
// in: 96 in the shared test prefix, 120, 144 and 192 in the prefixes that
// tests/wine/dpi.cmake makes. The program is DPI-aware, as installers are;
// every expected length is written out for each DPI.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "dialog/ConsentDialog.h"
#include "html/HandCursor.h"
#include "resources/resource.h"
#include "support/win/HtmlCtrlHost.h"

namespace {

struct DpiRow {
    int dpi;
    int clientWidth;
    int buttonHeight;
    int yesWidth, noWidth, yesLeft, noLeft;
    int stackGap, bottomGap;
    int captionInset;  // frame, bevel, padding and focus line on each side
    int margin;        // the control's default margin
    int imageCx, imageCy;  // width 10, height 10, hspace 3, vspace 2
    int missingImage;      // the box of a missing bitmap
    int bitmapSize;        // a 32 x 32 bitmap resource
    int lineStep;
    int cursorSize, cursorHotX;  // the system's cursor size (32 at 120 DPI under Wine)
};

const DpiRow kRows[] = {
    {96, 440, 42, 171, 127, 39, 250, 10, 15, 6, 16, 16, 14, 11, 32, 10, 32, 5},
    {120, 550, 53, 214, 159, 49, 313, 13, 19, 7, 20, 21, 19, 14, 40, 13, 32, 5},
    {144, 660, 63, 257, 191, 59, 376, 15, 23, 8, 24, 25, 21, 17, 48, 15, 48, 8},
    {192, 880, 84, 343, 255, 79, 501, 20, 30, 9, 32, 32, 28, 22, 64, 20, 64, 10},
};

// Three lines that fill about half of the message's width at any DPI.
const char kMessage[] = "The first line of the message<br>and its second line<br>and the third.";

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// Made DPI-aware before any window or DC exists; resolved at run time, as
// older Windows lack it.
const DpiRow* Row() {
    static const DpiRow* row = [] {
        typedef BOOL(WINAPI * SetAwareFn)();
        SetAwareFn setAware = reinterpret_cast<SetAwareFn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDPIAware")));
        if (setAware) setAware();
        const int dpi = ScreenDpi();
        for (const DpiRow& r : kRows)
            if (r.dpi == dpi) return &r;
        return static_cast<const DpiRow*>(nullptr);
    }();
    return row;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

RECT ChildRect(HWND dialog, int id) {
    RECT r = {};
    GetWindowRect(GetDlgItem(dialog, id), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The caption's width in the button's fonts: the bold 12-point head and
// separator, the 8-point tail.
int CaptionWidth(HWND button, const char* head, const char* tail) {
    HDC dc = GetDC(button);
    int total = 0;
    const struct {
        const char* text;
        int points;
        int weight;
    } parts[] = {{head, 12, FW_BOLD}, {" ", 12, FW_BOLD}, {tail, 8, FW_NORMAL}};
    for (const auto& part : parts) {
        LOGFONTA logFont = {};
        lstrcpynA(logFont.lfFaceName, "Arial", LF_FACESIZE);
        logFont.lfHeight = -MulDiv(part.points, GetDeviceCaps(dc, LOGPIXELSY), 72);
        logFont.lfWeight = part.weight;
        HFONT font = CreateFontIndirectA(&logFont);
        HGDIOBJ previous = SelectObject(dc, font);
        SIZE size = {};
        GetTextExtentPoint32A(dc, part.text, static_cast<int>(strlen(part.text)), &size);
        total += size.cx;
        SelectObject(dc, previous);
        DeleteObject(font);
    }
    ReleaseDC(button, dc);
    return total;
}

int LineCount(const CHaleSimpleHtmlCtrl& control) {
    std::set<int> tops;
    for (int i = 0; i < control.elements.count; ++i) {
        const CHtmlElement* e = control.GetElement(i);
        if (e && e->IsContent() && e->y >= 0) tops.insert(e->y);
    }
    return static_cast<int>(tops.size());
}

}  // namespace

TEST(HighDpi, TheProgramRunsAtTheDpiOfItsPrefix) {
    ASSERT_NE(Row(), nullptr) << "no row for " << ScreenDpi() << " DPI";
    const char* expected = getenv("MIREL_EXPECT_DPI");
    if (expected) {
        EXPECT_EQ(Row()->dpi, atoi(expected)) << "the prefix lacks its LogPixels";
    }
}

TEST(HighDpi, TheDialogKeepsItsProportionsAndItsCaptionsFit) {
    const DpiRow* row = Row();
    ASSERT_NE(row, nullptr);
    ConsentDialog dialog;
    dialog.SetParameters((std::string("<TITLE>DPI</TITLE><WIDTH>440</WIDTH><MESSAGE>") + kMessage +
                          "</MESSAGE><DISCLAIMER>Small print.</DISCLAIMER>")
                             .c_str());
    HWND window = dialog.CreateModeless(TRUE);
    ASSERT_NE(window, nullptr);
    RECT client = {};
    GetClientRect(window, &client);
    const RECT message = ChildRect(window, IDC_MESSAGE);
    const RECT yes = ChildRect(window, IDC_YES);
    const RECT no = ChildRect(window, IDC_NO);
    const RECT disclaimer = ChildRect(window, IDC_DISCLAIMER);

    EXPECT_EQ(Width(client), row->clientWidth);
    EXPECT_EQ(Width(yes), row->yesWidth);
    EXPECT_EQ(Width(no), row->noWidth);
    EXPECT_EQ(Height(yes), row->buttonHeight);
    EXPECT_EQ(Height(no), row->buttonHeight);
    EXPECT_EQ(yes.left, row->yesLeft);
    EXPECT_EQ(no.left, row->noLeft);
    EXPECT_EQ(yes.top - message.bottom, row->stackGap);
    EXPECT_EQ(disclaimer.top - yes.bottom, row->stackGap);
    EXPECT_EQ(client.bottom - disclaimer.bottom, row->bottomGap);
    EXPECT_LE(CaptionWidth(dialog.yesButton.hwnd, "Yes", "(Accept and Install)") + 2 * row->captionInset,
              Width(yes));
    EXPECT_LE(CaptionWidth(dialog.noButton.hwnd, "No", "(Cancel)") + 2 * row->captionInset, Width(no));
    EXPECT_EQ(LineCount(dialog.messageCtrl), 3);
    DestroyWindow(window);
}

TEST(HighDpi, TheHtmlControlScalesMarginsImagesAndItsScrollStep) {
    const DpiRow* row = Row();
    ASSERT_NE(row, nullptr);
    CHaleSimpleHtmlCtrl control(GetModuleHandleA(nullptr));
    HtmlCtrlHost host(800, 600);
    ASSERT_TRUE(control.Attach(host.AddPlaceholder(1, 0, 0, 300, 150)));
    std::string html = "<img src=\"rsrc://4242\"><img width=10 height=10 hspace=3 vspace=2>"
                       "<img src=\"rsrc://2103\">";
    for (int line = 0; line < 30; ++line) html += "<br>line";
    control.SetHtml(html.c_str());
    PaintNow(control.hwnd);
    const CHtmlElement* missing = control.GetElement(0);
    const CHtmlElement* spaced = control.GetElement(1);
    const CHtmlElement* bitmap = control.GetElement(2);
    EXPECT_EQ(missing->x, row->margin);
    EXPECT_EQ(missing->y, row->margin);
    EXPECT_EQ(missing->cx, row->missingImage);
    EXPECT_EQ(missing->cy, row->missingImage);
    EXPECT_EQ(spaced->cx, row->imageCx);
    EXPECT_EQ(spaced->cy, row->imageCy);
    EXPECT_EQ(bitmap->cx, row->bitmapSize);
    EXPECT_EQ(bitmap->cy, row->bitmapSize);
    // The bitmap (one colour) is stretched to its box: its last pixel is drawn.
    ClientCapture capture(control.hwnd);
    const RECT box = control.ElementBox(bitmap, 0);
    EXPECT_EQ(capture.At(box.right - 1, box.top + row->bitmapSize - 1), RGB(0x20, 0x80, 0xC0));
    SendMessageA(control.hwnd, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    EXPECT_EQ(GetScrollPos(control.hwnd, SB_VERT), row->lineStep);
}

TEST(HighDpi, TheHandCursorIsAsLargeAsTheSystemsWithItsFingertipEnlarged) {
    const DpiRow* row = Row();
    ASSERT_NE(row, nullptr);
    ASSERT_EQ(GetSystemMetrics(SM_CXCURSOR), row->cursorSize);
    HCURSOR cursor = CreateHandCursor(GetModuleHandleA(nullptr));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof(mask), &mask);
    EXPECT_EQ(mask.bmWidth, row->cursorSize);
    EXPECT_EQ(mask.bmHeight, 2 * row->cursorSize);
    EXPECT_EQ(static_cast<int>(info.xHotspot), row->cursorHotX);
    EXPECT_EQ(info.yHotspot, 0u);
    // The hot spot is the first pixel of the fingertip; left of it is clear.
    std::string bits(static_cast<size_t>(mask.bmWidthBytes) * mask.bmHeight, '\0');
    GetBitmapBits(info.hbmMask, static_cast<LONG>(bits.size()), &bits[0]);
    auto andBit = [&](int x) { return (static_cast<BYTE>(bits[x / 8]) >> (7 - x % 8)) & 1; };
    EXPECT_EQ(andBit(row->cursorHotX), 0);
    EXPECT_EQ(andBit(row->cursorHotX - 1), 1);
    DeleteObject(info.hbmMask);
    DestroyCursor(cursor);
}
