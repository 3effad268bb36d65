// The dialog and the hand cursor at the DPI of the prefix the program runs in:
// 96 in the shared prefix, 120, 144 and 192 in those of tests/wine/dpi.cmake.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <set>
#include <utility>

#include "dialog/ConsentDialog.h"
#include "html/HandCursor.h"
#include "resources/resource.h"
#include "window/DcScopes.h"
#include "window/DpiScale.h"

namespace {

struct DpiRow {
    int dpi, clientWidth, buttonHeight, yesWidth, noWidth, yesLeft, noLeft, stackGap, bottomGap;
    int captionInset;            // frame, bevel, padding and focus line on each side
    int cursorSize, cursorHotX;  // the system's cursor size: 32 at 120 DPI under Wine
};

const DpiRow kRows[] = {
    {96, 440, 42, 171, 127, 39, 250, 10, 15, 6, 32, 5},
    {120, 550, 53, 214, 159, 49, 313, 13, 19, 7, 32, 5},
    {144, 660, 63, 257, 191, 59, 376, 15, 23, 8, 48, 8},
    {192, 880, 84, 343, 255, 79, 501, 20, 30, 9, 64, 10},
};

// The width of a caption's bold head and blank and its normal tail.
int CaptionWidth(const char* head, const char* tail) {
    ClientDcScope dc(nullptr);
    HFONT bold = ConsentButton::CreateCaptionFont(dc, true);
    HFONT normal = ConsentButton::CreateCaptionFont(dc, false);
    const int width = ConsentButton::MeasureText(dc, bold, head, nullptr).right +
                      ConsentButton::MeasureText(dc, bold, " ", nullptr).right +
                      ConsentButton::MeasureText(dc, normal, tail, nullptr).right;
    DeleteObject(bold);
    DeleteObject(normal);
    return width;
}

}  // namespace

TEST(HighDpi, LengthsRoundAndSaturate) {
    const int cases[][3] = {{3, 144, 5}, {-3, 144, -5}, {-1, 120, -1}, {10, 120, 13}, {11, 72, 8},
                            {INT_MAX, 192, INT_MAX}, {INT_MIN, 192, INT_MIN}, {INT_MAX, 96, INT_MAX}};
    for (const auto& c : cases) EXPECT_EQ(DpiScale::Scale(c[0], c[1]), c[2]) << c[0] << " at " << c[1];
}

TEST(HighDpi, TheDialogAndTheCursorGrowWithTheDpi) {
    // DPI-aware, as installers are, before any window exists; older Windows lack the call.
    FARPROC setAware = GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDPIAware");
    if (setAware) reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void*>(setAware))();
    const int dpi = GetDeviceCaps(ClientDcScope(nullptr).AttributeDc(), LOGPIXELSY);
    const DpiRow* row = nullptr;
    for (const DpiRow& r : kRows) row = r.dpi == dpi ? &r : row;
    ASSERT_NE(row, nullptr) << "no row for " << dpi << " DPI";
    const char* expected = getenv("MIREL_EXPECT_DPI");
    ASSERT_EQ(row->dpi, expected ? atoi(expected) : row->dpi) << "the prefix lacks its LogPixels";

    ConsentDialog dialog;
    dialog.SetParameters("<TITLE>DPI</TITLE><WIDTH>440</WIDTH><MESSAGE>The first line of the "
                         "message<br>and its second line<br>and the third.</MESSAGE>"
                         "<DISCLAIMER>Small print.</DISCLAIMER>");
    HWND window = dialog.CreateModeless(TRUE);
    RECT client = {}, message = {}, yes = {}, no = {}, disclaimer = {};
    GetClientRect(window, &client);
    const std::pair<int, RECT*> children[] = {
        {IDC_MESSAGE, &message}, {IDC_YES, &yes}, {IDC_NO, &no}, {IDC_DISCLAIMER, &disclaimer}};
    for (const auto& child : children) {
        GetWindowRect(GetDlgItem(window, child.first), child.second);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(child.second), 2);
    }
    EXPECT_EQ(client.right, row->clientWidth);
    EXPECT_EQ(yes.right - yes.left, row->yesWidth);
    EXPECT_EQ(no.right - no.left, row->noWidth);
    EXPECT_EQ(yes.bottom - yes.top, row->buttonHeight);
    EXPECT_EQ(no.bottom - no.top, row->buttonHeight);
    EXPECT_EQ(yes.left, row->yesLeft);
    EXPECT_EQ(no.left, row->noLeft);
    EXPECT_EQ(yes.top - message.bottom, row->stackGap);
    EXPECT_EQ(disclaimer.top - yes.bottom, row->stackGap);
    EXPECT_EQ(client.bottom - disclaimer.bottom, row->bottomGap);
    EXPECT_LE(CaptionWidth("Yes", "(Accept and Install)") + 2 * row->captionInset,
              yes.right - yes.left);
    EXPECT_LE(CaptionWidth("No", "(Cancel)") + 2 * row->captionInset, no.right - no.left);
    std::set<int> lineTops;
    for (int i = 0; i < dialog.messageCtrl.elements.count; ++i) {
        const CHtmlElement* element = dialog.messageCtrl.GetElement(i);
        if (element->IsContent() && element->y >= 0) lineTops.insert(element->y);
    }
    EXPECT_EQ(lineTops.size(), 3u) << "the lines, as at 96 DPI";
    DestroyWindow(window);

    HCURSOR cursor = CreateHandCursor(GetModuleHandleA(nullptr));
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof(mask), &mask);
    EXPECT_EQ(mask.bmWidth, row->cursorSize);
    EXPECT_EQ(static_cast<int>(info.xHotspot), row->cursorHotX);
    DeleteObject(info.hbmMask);
    DestroyCursor(cursor);
}
