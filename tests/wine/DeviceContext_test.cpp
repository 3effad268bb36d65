#include <gtest/gtest.h>

#include "support/win/MemoryCanvas.h"
#include "window/DcScopes.h"
#include "window/DeviceContext.h"
#include "window/WindowBase.h"

namespace {

const COLORREF kA = RGB(200, 30, 40);
const COLORREF kB = RGB(20, 160, 60);
const COLORREF kPaper = RGB(250, 250, 250);

// Lets a test put two different handles into the output and attribute slots,
// which nothing in the library does but every operation must survive.
class SplitDeviceContext : public DeviceContext {
public:
    void Split(HDC output, HDC attribute)
    {
        outputDc = output;
        attributeDc = attribute;
    }
};

TEST(DeviceContext, AttachRefusesNullAndLeavesObjectDetached) {
    DeviceContext dc;
    EXPECT_FALSE(dc.AttachDc(nullptr));
    EXPECT_EQ(nullptr, dc.OutputDc());
    EXPECT_EQ(nullptr, dc.AttributeDc());
}

TEST(DeviceContext, DetachedTwoDcOperationsMakeNoCall) {
    DeviceContext dc;
    EXPECT_EQ(CLR_INVALID, dc.SetBkColor(kA));
    EXPECT_EQ(CLR_INVALID, dc.SetTextColor(kA));
    EXPECT_EQ(nullptr, dc.SelectObject(GetStockObject(BLACK_PEN)));
    POINT p = dc.MoveTo(7, 9);
    EXPECT_EQ(0, p.x);
    EXPECT_EQ(0, p.y);
}

TEST(DeviceContext, AttachSetsBothHandlesAndDetachClearsWithoutDeleting) {
    MemoryCanvas canvas(4, 4, kPaper);
    DeviceContext dc;
    ASSERT_TRUE(dc.AttachDc(canvas.Dc()));
    EXPECT_EQ(canvas.Dc(), dc.OutputDc());
    EXPECT_EQ(canvas.Dc(), dc.AttributeDc());
    EXPECT_EQ(canvas.Dc(), dc.DetachDc());
    EXPECT_EQ(nullptr, dc.OutputDc());
    EXPECT_EQ(nullptr, dc.AttributeDc());
    EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), GetObjectType(canvas.Dc()));
}

TEST(DeviceContext, AttachedColourAndPositionCallsReportPreviousValues) {
    MemoryCanvas canvas(4, 4, kPaper);
    BorrowedDcScope dc(canvas.Dc());
    ::SetBkColor(canvas.Dc(), kB);
    ::SetTextColor(canvas.Dc(), kA);
    EXPECT_EQ(kB, dc.SetBkColor(kA));
    EXPECT_EQ(kA, ::GetBkColor(canvas.Dc()));
    EXPECT_EQ(kA, dc.SetTextColor(kB));
    EXPECT_EQ(kB, ::GetTextColor(canvas.Dc()));
    dc.MoveTo(3, 2);
    POINT p = dc.MoveTo(1, 1);
    EXPECT_EQ(3, p.x);
    EXPECT_EQ(2, p.y);
}

TEST(DeviceContext, DestroyingAnAttachedContextDeletesItsDc) {
    HDC memory = CreateCompatibleDC(nullptr);
    ASSERT_NE(nullptr, memory);
    {
        DeviceContext dc;
        dc.AttachDc(memory);
    }
    EXPECT_EQ(0u, GetObjectType(memory));
}

TEST(DeviceContext, DeletingDestructorRunsCleanUpAndFreesOnBitZero) {
    HDC memory = CreateCompatibleDC(nullptr);
    DeviceContext* dc = new DeviceContext;
    dc->AttachDc(memory);
    EXPECT_EQ(dc, dc->Destroy(1));
    EXPECT_EQ(0u, GetObjectType(memory));
}

TEST(DeviceContext, DrawBevelPaintsTheListedRowsAndColumns) {
    MemoryCanvas canvas(6, 5, kPaper);
    BorrowedDcScope dc(canvas.Dc());
    dc.DrawBevel(0, 0, 4, 3, kA, kB);

    for (int x = 0; x <= 2; ++x)
        EXPECT_EQ(kA, canvas.Pixel(x, 0)) << "top row x=" << x;
    EXPECT_EQ(kA, canvas.Pixel(0, 1));
    for (int y = 0; y <= 2; ++y)
        EXPECT_EQ(kB, canvas.Pixel(3, y)) << "right column y=" << y;
    for (int x = 0; x <= 3; ++x)
        EXPECT_EQ(kB, canvas.Pixel(x, 2)) << "bottom row x=" << x;
    EXPECT_EQ(kPaper, canvas.Pixel(1, 1));
    EXPECT_EQ(kPaper, canvas.Pixel(2, 1));
    EXPECT_EQ(kPaper, canvas.Pixel(4, 0));
    EXPECT_EQ(kPaper, canvas.Pixel(0, 3));
}

TEST(DeviceContext, RectangleFormsMatchTheExtentForms) {
    MemoryCanvas byExtent(12, 10, kPaper);
    MemoryCanvas byRect(12, 10, kPaper);
    BorrowedDcScope extent(byExtent.Dc());
    BorrowedDcScope rect(byRect.Dc());
    extent.DrawBevel(2, 3, 7, 5, kA, kB);
    rect.DrawBevel(RECT{2, 3, 9, 8}, kA, kB);
    extent.FillWithColor(4, 5, 2, 1, kB);
    rect.FillWithColor(RECT{4, 5, 6, 6}, kB);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            ASSERT_EQ(byExtent.Pixel(x, y), byRect.Pixel(x, y)) << x << "," << y;
    EXPECT_EQ(kB, byRect.Pixel(8, 7));
    EXPECT_EQ(kA, byRect.Pixel(2, 3));
    EXPECT_EQ(kB, byRect.Pixel(5, 5));
    EXPECT_EQ(kPaper, byRect.Pixel(5, 6));
}

TEST(DeviceContext, FillLeavesTheBackgroundColourChanged) {
    MemoryCanvas canvas(8, 8, kPaper);
    BorrowedDcScope dc(canvas.Dc());
    dc.FillWithColor(1, 1, 3, 2, kA);
    EXPECT_EQ(kA, ::GetBkColor(canvas.Dc()));
    EXPECT_EQ(kA, canvas.Pixel(1, 1));
    EXPECT_EQ(kA, canvas.Pixel(3, 2));
    EXPECT_EQ(kPaper, canvas.Pixel(4, 2));
    EXPECT_EQ(kPaper, canvas.Pixel(3, 3));
}

TEST(DeviceContext, TextExtentMeasuresOnTheAttributeDcAndIsZeroWhenDetached) {
    MemoryCanvas canvas(8, 8, kPaper);
    BorrowedDcScope dc(canvas.Dc());
    SIZE expected = {};
    ::GetTextExtentPoint32A(canvas.Dc(), "Wide text", 9, &expected);
    SIZE measured = dc.GetTextExtent("Wide text", 9);
    EXPECT_EQ(expected.cx, measured.cx);
    EXPECT_EQ(expected.cy, measured.cy);
    EXPECT_GT(measured.cx, 0);

    DeviceContext detached;
    SIZE none = detached.GetTextExtent("Wide text", 9);
    EXPECT_EQ(0, none.cx);
    EXPECT_EQ(0, none.cy);
}

TEST(DeviceContext, SeparateHandlesAreBothChangedAndTheAttributeDcAnswers) {
    MemoryCanvas output(8, 8, kPaper);
    MemoryCanvas attribute(8, 8, kPaper);
    ::SetBkColor(output.Dc(), kA);
    ::SetBkColor(attribute.Dc(), kB);
    SplitDeviceContext dc;
    dc.Split(output.Dc(), attribute.Dc());

    EXPECT_EQ(kB, dc.SetBkColor(kPaper));
    EXPECT_EQ(kPaper, ::GetBkColor(output.Dc()));
    EXPECT_EQ(kPaper, ::GetBkColor(attribute.Dc()));

    HGDIOBJ pen = GetStockObject(WHITE_PEN);
    dc.SelectObject(pen);
    EXPECT_EQ(pen, GetCurrentObject(output.Dc(), OBJ_PEN));
    EXPECT_EQ(pen, GetCurrentObject(attribute.Dc(), OBJ_PEN));

    dc.MoveTo(0, 0);
    dc.LineTo(5, 6);
    POINT there = {};
    GetCurrentPositionEx(attribute.Dc(), &there);
    EXPECT_EQ(5, there.x);
    EXPECT_EQ(6, there.y);
    dc.DetachDc();
}

TEST(DcScopes, BorrowedScopeLeavesCallersDcValidWithItsSelection) {
    MemoryCanvas canvas(8, 8, kPaper);
    HGDIOBJ font = GetStockObject(ANSI_FIXED_FONT);
    {
        BorrowedDcScope dc(canvas.Dc());
        dc.SelectObject(font);
    }
    EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), GetObjectType(canvas.Dc()));
    EXPECT_EQ(font, GetCurrentObject(canvas.Dc(), OBJ_FONT));
}

TEST(DcScopes, BorrowedScopeOfNullStaysDetached) {
    BorrowedDcScope dc(nullptr);
    EXPECT_EQ(nullptr, dc.OutputDc());
    EXPECT_EQ(CLR_INVALID, dc.SetTextColor(kA));
}

TEST(DcScopes, ClientScopeOfNoWindowIsTheScreen) {
    ClientDcScope dc(nullptr);
    ASSERT_NE(nullptr, dc.OutputDc());
    EXPECT_EQ(GetDeviceCaps(dc.AttributeDc(), HORZRES), GetSystemMetrics(SM_CXSCREEN));
}

// A plain visible window bound to a window object by handle only, enough for
// the scopes, which read nothing else.
class PlainWindow : public WindowBase {
public:
    PlainWindow() {
        hwnd = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE | WS_BORDER | WS_CAPTION, 40,
                               40, 120, 80, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~PlainWindow() { DestroyWindow(hwnd); }
};

TEST(DcScopes, PaintScopeValidatesTheUpdateRegionItReports) {
    PlainWindow window;
    ASSERT_NE(nullptr, window.hwnd);
    UpdateWindow(window.hwnd);
    RECT dirty = {10, 12, 30, 25};
    InvalidateRect(window.hwnd, &dirty, FALSE);
    {
        PaintDcScope dc(&window);
        ASSERT_NE(nullptr, dc.OutputDc());
        const RECT& reported = dc.Paint().rcPaint;
        EXPECT_LE(reported.left, 10);
        EXPECT_LE(reported.top, 12);
        EXPECT_GE(reported.right, 30);
        EXPECT_GE(reported.bottom, 25);
    }
    EXPECT_FALSE(GetUpdateRect(window.hwnd, nullptr, FALSE));
}

TEST(DcScopes, PaintScopeOfNoWindowStaysDetached) {
    PaintDcScope dc(nullptr);
    EXPECT_EQ(nullptr, dc.OutputDc());
    EXPECT_EQ(CLR_INVALID, dc.SetBkColor(kA));
    EXPECT_EQ(nullptr, dc.SelectObject(GetStockObject(BLACK_PEN)));
}

// The window DC starts at the frame's corner, the client DC inside it.
TEST(DcScopes, WindowScopeCoversTheFrameAndClientScopeTheClientArea) {
    PlainWindow window;
    ASSERT_NE(nullptr, window.hwnd);
    ClientDcScope client(&window);
    WindowDcScope whole(&window);
    ASSERT_NE(nullptr, client.OutputDc());
    ASSERT_NE(nullptr, whole.OutputDc());
    POINT clientOrigin = {};
    POINT wholeOrigin = {};
    GetDCOrgEx(client.OutputDc(), &clientOrigin);
    GetDCOrgEx(whole.OutputDc(), &wholeOrigin);
    RECT frame = {};
    GetWindowRect(window.hwnd, &frame);
    POINT clientCorner = {0, 0};
    ClientToScreen(window.hwnd, &clientCorner);
    EXPECT_EQ(frame.left, wholeOrigin.x);
    EXPECT_EQ(frame.top, wholeOrigin.y);
    EXPECT_EQ(clientCorner.x, clientOrigin.x);
    EXPECT_EQ(clientCorner.y, clientOrigin.y);
    EXPECT_GT(clientOrigin.y, wholeOrigin.y);
}

}  // namespace
