#include <gtest/gtest.h>

#include <cstring>

#include "dialog/ConsentDialog.h"
#include "resources/resource.h"
#include "support/win/GdiObjectCounter.h"
#include "support/win/MemoryCanvas.h"

namespace {

const char kParameters[] =
    "<TITLE>Paint</TITLE><LOCATION>Top-Left</LOCATION><WIDTH>400</WIDTH>"
    "<MESSAGE>Message text.</MESSAGE><DISCLAIMER>Small print.</DISCLAIMER>";
const char kAdvertisement[] = "Advertisement";
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kPaper = RGB(12, 200, 120);

class LiveDialog {
public:
    LiveDialog() {
        dialog.SetParameters(kParameters);
        window = dialog.CreateModeless(TRUE);
        ShowWindow(window, SW_SHOWNOACTIVATE);
        UpdateWindow(window);
    }
    ~LiveDialog() {
        if (IsWindow(window)) DestroyWindow(window);
    }
    RECT Client() const {
        RECT r = {};
        GetClientRect(window, &r);
        return r;
    }

    ConsentDialog dialog;
    HWND window = nullptr;
};

SIZE AdvertisementSize(HDC dc) {
    HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE size = {};
    GetTextExtentPoint32A(dc, kAdvertisement, static_cast<int>(strlen(kAdvertisement)), &size);
    SelectObject(dc, previous);
    return size;
}

// Where the caption's opaque box must be: 5 pixels from the right and 3 from
// the bottom of the client area.
RECT ExpectedBox(HDC dc, const RECT& client) {
    const SIZE size = AdvertisementSize(dc);
    return {client.right - 5 - size.cx, client.bottom - 3 - size.cy, client.right - 5,
            client.bottom - 3};
}

int CountColor(const MemoryCanvas& canvas, const RECT& area, COLORREF color) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (canvas.Pixel(x, y) == color) ++count;
    return count;
}

TEST(ConsentDialogPaint, AdvertisementBoxSitsInTheBottomRightCorner) {
    LiveDialog live;
    const RECT client = live.Client();
    MemoryCanvas canvas(client.right, client.bottom, kWhite);
    live.dialog.OnPaint(canvas.Dc(), nullptr);

    const RECT expected = ExpectedBox(canvas.Dc(), client);
    const RECT painted = canvas.InkBounds(client, kWhite);
    EXPECT_EQ(expected.left, painted.left);
    EXPECT_EQ(expected.top, painted.top);
    EXPECT_EQ(expected.right, painted.right);
    EXPECT_EQ(expected.bottom, painted.bottom);
    EXPECT_GT(CountColor(canvas, expected, GetSysColor(COLOR_BTNFACE)), 0) << "button-face background";
    EXPECT_GT(CountColor(canvas, expected, GetSysColor(COLOR_BTNTEXT)), 0) << "button-text letters";
}

TEST(ConsentDialogPaint, PaintingRestoresTheDcFontAndColours) {
    LiveDialog live;
    const RECT client = live.Client();
    MemoryCanvas canvas(client.right, client.bottom, kWhite);
    SetBkColor(canvas.Dc(), RGB(1, 2, 3));
    SetTextColor(canvas.Dc(), RGB(4, 5, 6));
    HGDIOBJ font = GetCurrentObject(canvas.Dc(), OBJ_FONT);
    live.dialog.OnPaint(canvas.Dc(), nullptr);
    EXPECT_EQ(RGB(1, 2, 3), GetBkColor(canvas.Dc()));
    EXPECT_EQ(RGB(4, 5, 6), GetTextColor(canvas.Dc()));
    EXPECT_EQ(font, GetCurrentObject(canvas.Dc(), OBJ_FONT));
}

// The real paint message, read back from the window: the caption follows the
// client area after the arrangement changed the dialog's height.
TEST(ConsentDialogPaint, PaintMessageDrawsTheCaptionOnTheWindow) {
    LiveDialog live;
    const RECT client = live.Client();
    RedrawWindow(live.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    MemoryCanvas canvas(client.right, client.bottom, kWhite);
    HDC windowDc = GetDC(live.window);
    BitBlt(canvas.Dc(), 0, 0, client.right, client.bottom, windowDc, 0, 0, SRCCOPY);
    ReleaseDC(live.window, windowDc);

    const RECT expected = ExpectedBox(canvas.Dc(), client);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const RECT corner = {expected.left - 20, expected.top - 4, client.right, client.bottom};
    const RECT letters = canvas.InkBounds(corner, face);
    EXPECT_GE(letters.left, expected.left);
    EXPECT_LE(letters.right, expected.right);
    EXPECT_GE(letters.top, expected.top);
    EXPECT_LE(letters.bottom, expected.bottom);
    EXPECT_GT(letters.right - letters.left, (expected.right - expected.left) / 2);
}

TEST(ConsentDialogPaint, ButtonsAreBoundAtInitialisation) {
    LiveDialog live;
    EXPECT_EQ(static_cast<DWORD>(IDC_YES), live.dialog.yesButton.controlId);
    EXPECT_EQ(static_cast<DWORD>(IDC_NO), live.dialog.noButton.controlId);
    EXPECT_EQ(GetDlgItem(live.window, IDC_YES), live.dialog.yesButton.hwnd);
    EXPECT_EQ(GetDlgItem(live.window, IDC_NO), live.dialog.noButton.hwnd);
    EXPECT_EQ(static_cast<DWORD>(BFS_RAISED), live.dialog.yesButton.frameStyle);
}

DRAWITEMSTRUCT Item(HDC dc, HWND button, UINT id) {
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = id;
    item.hwndItem = button;
    item.hDC = dc;
    item.rcItem = {0, 0, 300, 40};
    return item;
}

// Through the dialog's dispatcher, which answers every WM_DRAWITEM with 1. A
// message whose item is missing or names another control than the message
// draws nothing; a fault that read the missing item ends the test program.
TEST(ConsentDialogPaint, DrawItemGoesToTheButtonWithThatIdOnly) {
    LiveDialog live;
    const struct {
        UINT id;      // of the message
        UINT itemId;  // of the item; 0: no item at all
        bool drawn;
    } cases[] = {{IDC_YES, IDC_YES, true},         {IDC_NO, IDC_NO, true},
                 {IDC_MESSAGE, IDC_MESSAGE, false}, {IDC_YES, IDC_NO, false},
                 {IDC_YES, 0, false},               {IDC_NO, 0, false}};
    for (const auto& c : cases) {
        MemoryCanvas canvas(300, 40, kPaper);
        DRAWITEMSTRUCT item = Item(canvas.Dc(), GetDlgItem(live.window, c.itemId), c.itemId);
        LPARAM lParam = c.itemId ? reinterpret_cast<LPARAM>(&item) : 0;
        EXPECT_EQ(1, live.dialog.DialogProc(WM_DRAWITEM, c.id, lParam)) << c.id << "/" << c.itemId;
        EXPECT_EQ(c.drawn ? 0 : 300 * 40, CountColor(canvas, {0, 0, 300, 40}, kPaper)) << c.id << "/" << c.itemId;
        if (c.drawn) {
            EXPECT_EQ(kBlack, canvas.Pixel(299, 20)) << c.id;
        }
    }
}

TEST(ConsentDialogPaint, RepeatedPaintingLeavesNoGdiObjectBehind) {
    LiveDialog live;
    const RECT client = live.Client();
    MemoryCanvas canvas(client.right, client.bottom, kWhite);
    GdiObjectCounter counter;
    ASSERT_TRUE(counter.Installed());
    for (int i = 0; i < 100; ++i) {
        live.dialog.OnPaint(canvas.Dc(), nullptr);
        DRAWITEMSTRUCT item = Item(canvas.Dc(), GetDlgItem(live.window, IDC_NO), IDC_NO);
        live.dialog.OnDrawItem(IDC_NO, &item);
    }
    EXPECT_EQ(200, counter.FontsCreated());
    EXPECT_EQ(0, counter.Live());
}

}  // namespace
