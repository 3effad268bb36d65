#include <gtest/gtest.h>

#include "dialog/OwnerDrawButton.h"
#include "support/win/ButtonHost.h"
#include "support/win/MemoryCanvas.h"
#include "window/DeviceContext.h"

namespace {

const int kId = 321;
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kPaper = RGB(12, 200, 120);

// Records what the frame step hands to the content step, and counts the
// hover timer ticks that reach the button.
class RecordingButton : public OwnerDrawButton {
public:
    explicit RecordingButton(DWORD style) : OwnerDrawButton(style) {}
    ~RecordingButton() = default;

    RecordingButton* Destroy(unsigned flags) override {
        this->~RecordingButton();
        if (flags & 1) ::operator delete(this);
        return this;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER && wParam == HOVER_TIMER_ID) ++ticks;
        return OwnerDrawButton::WindowProc(message, wParam, lParam);
    }

    void DrawContent(DeviceContext& dc, const DRAWITEMSTRUCT*, const RECT& r) override {
        ++draws;
        content = r;
        backAtContent = GetBkColor(dc.AttributeDc());
        textAtContent = GetTextColor(dc.AttributeDc());
    }

    int draws = 0;
    int ticks = 0;
    RECT content = {-1, -1, -1, -1};
    COLORREF backAtContent = CLR_INVALID;
    COLORREF textAtContent = CLR_INVALID;
};

DRAWITEMSTRUCT Item(HDC dc, UINT state, UINT id = kId) {
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = id;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hDC = dc;
    item.rcItem = {0, 0, 100, 30};
    return item;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Show(const RECT& r) {
    char text[64];
    snprintf(text, sizeof(text), "(%ld,%ld,%ld,%ld)", static_cast<long>(r.left),
             static_cast<long>(r.top), static_cast<long>(r.right), static_cast<long>(r.bottom));
    return text;
}

int CountColor(const MemoryCanvas& canvas, COLORREF color) {
    int count = 0;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            if (canvas.Pixel(x, y) == color) ++count;
    return count;
}

struct RectCase {
    UINT state;
    RECT expected;
};

TEST(OwnerDrawButton, RaisedContentRectangleFollowsPressedAndFocusedStates) {
    const RectCase cases[] = {
        {0, {4, 4, 95, 25}},
        {ODS_FOCUS, {5, 5, 94, 24}},
        {ODS_SELECTED, {4, 4, 96, 26}},
        {ODS_SELECTED | ODS_FOCUS, {5, 5, 95, 25}},
    };
    for (const RectCase& c : cases) {
        MemoryCanvas canvas(100, 30, kPaper);
        RecordingButton button(BFS_RAISED);
        button.controlId = kId;
        DRAWITEMSTRUCT item = Item(canvas.Dc(), c.state);
        EXPECT_EQ(1, button.DrawItem(&item));
        EXPECT_TRUE(SameRect(c.expected, button.content))
            << "state " << c.state << ": " << Show(button.content);
    }
}

TEST(OwnerDrawButton, UnpressedButtonHasBlackRightColumnAndBottomRow) {
    MemoryCanvas canvas(100, 30, kPaper);
    RecordingButton button(BFS_RAISED);
    button.controlId = kId;
    DRAWITEMSTRUCT item = Item(canvas.Dc(), 0);
    button.DrawItem(&item);
    for (int y = 0; y < 30; ++y) ASSERT_EQ(kBlack, canvas.Pixel(99, y)) << "y=" << y;
    for (int x = 0; x < 100; ++x) ASSERT_EQ(kBlack, canvas.Pixel(x, 29)) << "x=" << x;
    EXPECT_EQ(100 + 30 - 1, CountColor(canvas, kBlack));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), canvas.Pixel(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), canvas.Pixel(98, 10));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), canvas.Pixel(10, 28));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), canvas.Pixel(50, 15));
}

TEST(OwnerDrawButton, PressedButtonHasNoBlackEdgeUnlessFocused) {
    MemoryCanvas pressed(100, 30, kPaper);
    MemoryCanvas pressedFocused(100, 30, kPaper);
    RecordingButton button(BFS_RAISED);
    button.controlId = kId;
    DRAWITEMSTRUCT item = Item(pressed.Dc(), ODS_SELECTED);
    button.DrawItem(&item);
    EXPECT_EQ(0, CountColor(pressed, kBlack));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), pressed.Pixel(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), pressed.Pixel(99, 29));

    item = Item(pressedFocused.Dc(), ODS_SELECTED | ODS_FOCUS);
    button.DrawItem(&item);
    for (int y = 0; y < 30; ++y) ASSERT_EQ(kBlack, pressedFocused.Pixel(99, y)) << "y=" << y;
    for (int x = 0; x < 100; ++x) ASSERT_EQ(kBlack, pressedFocused.Pixel(x, 0)) << "x=" << x;
}

// The dotted focus rectangle lies one pixel outside the content; the rows
// between the inner bevel and it keep the face colour.
TEST(OwnerDrawButton, FocusRectangleIsOnePixelOutsideTheContent) {
    MemoryCanvas canvas(100, 30, kPaper);
    RecordingButton button(BFS_RAISED);
    button.controlId = kId;
    DRAWITEMSTRUCT item = Item(canvas.Dc(), ODS_FOCUS);
    button.DrawItem(&item);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const RECT& c = button.content;
    int dotted = 0;
    for (int x = c.left - 1; x < c.right + 1; ++x) {
        if (canvas.Pixel(x, c.top - 1) != face) ++dotted;
        ASSERT_EQ(face, canvas.Pixel(x, c.top - 2)) << "x=" << x;
        ASSERT_EQ(face, canvas.Pixel(x, c.top)) << "x=" << x;
    }
    EXPECT_GT(dotted, 10);
}

// The frame's fills leave the background colour at the last bevel colour;
// the content step restores what it found, and the caller's text colour.
TEST(OwnerDrawButton, ContentIsDrawnInFaceColoursWhichAreRestoredAfterwards) {
    MemoryCanvas canvas(100, 30, kPaper);
    SetBkColor(canvas.Dc(), RGB(1, 2, 3));
    SetTextColor(canvas.Dc(), RGB(4, 5, 6));
    RecordingButton button(BFS_RAISED);
    button.controlId = kId;
    DRAWITEMSTRUCT item = Item(canvas.Dc(), 0);
    button.DrawItem(&item);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), button.backAtContent);
    EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), button.textAtContent);
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), GetBkColor(canvas.Dc()));
    EXPECT_EQ(RGB(4, 5, 6), GetTextColor(canvas.Dc()));
}

TEST(OwnerDrawButton, ForeignOrMissingItemsAndUnknownStylesDrawNothing) {
    MemoryCanvas canvas(100, 30, kPaper);
    RecordingButton button(BFS_RAISED);
    button.controlId = kId;
    EXPECT_EQ(0, button.DrawItem(nullptr));
    DRAWITEMSTRUCT other = Item(canvas.Dc(), 0, kId + 1);
    EXPECT_EQ(0, button.DrawItem(&other));

    RecordingButton odd(2);
    odd.controlId = kId;
    DRAWITEMSTRUCT item = Item(canvas.Dc(), 0);
    EXPECT_EQ(0, odd.DrawItem(&item));

    EXPECT_EQ(0, button.draws + odd.draws);
    EXPECT_EQ(100 * 30, CountColor(canvas, kPaper));
}

TEST(OwnerDrawButton, FlatFrameShowsItsBevelOnlyWhileHoveringAndIgnoresPressing) {
    MemoryCanvas still(100, 30, kPaper);
    MemoryCanvas hovered(100, 30, kPaper);
    RecordingButton button(BFS_FLAT);
    button.controlId = kId;
    DRAWITEMSTRUCT item = Item(still.Dc(), ODS_SELECTED);
    EXPECT_EQ(1, button.DrawItem(&item));
    EXPECT_TRUE(SameRect(RECT{3, 3, 97, 27}, button.content)) << Show(button.content);
    EXPECT_EQ(100 * 30, CountColor(still, GetSysColor(COLOR_BTNFACE)));

    button.hovering = 1;
    item = Item(hovered.Dc(), 0);
    button.DrawItem(&item);
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), hovered.Pixel(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), hovered.Pixel(99, 29));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), hovered.Pixel(1, 1));
}

TEST(OwnerDrawButton, ColoursComeFromTheSystemByIndex) {
    RecordingButton button(BFS_RAISED);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), button.GetColor(BCI_FACE));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), button.GetColor(BCI_HIGHLIGHT));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), button.GetColor(BCI_SHADOW));
    EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), button.GetColor(BCI_TEXT));
    EXPECT_EQ(0u, button.GetColor(4));
    EXPECT_EQ(0u, button.GetColor(-1));
}

TEST(OwnerDrawButton, AttachRecordsTheControlIdAndRefusesASecondAttach) {
    RecordingButton button(BFS_RAISED);
    ButtonHost host("Face", kId, 10, 10, 100, 30);
    EXPECT_EQ(0u, button.controlId);
    ASSERT_TRUE(button.Attach(host.Button()));
    EXPECT_EQ(static_cast<DWORD>(kId), button.controlId);
    EXPECT_FALSE(button.Attach(host.Button()));
}

// Hover: a mouse move starts the polling timer; while the cursor stays over
// the button the ticks change nothing; the first tick that finds it outside
// stops the timer and repaints the button once.
TEST(OwnerDrawButton, HoverStartsTimerAndStopsItOnceTheCursorHasLeft) {
    RecordingButton button(BFS_RAISED);
    ButtonHost host("Face", kId, 20, 20, 100, 30);
    ASSERT_TRUE(button.Attach(host.Button()));
    host.RouteDrawingTo(&button);
    PumpMessagesFor(100);

    RECT bounds;
    GetWindowRect(host.Button(), &bounds);
    SetCursorPos((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
    SendMessageA(host.Button(), WM_MOUSEMOVE, 0, MAKELPARAM(50, 15));
    EXPECT_EQ(1u, button.hovering);
    const int drawsAtEntry = button.draws;
    ASSERT_TRUE(PumpMessagesUntil([&] { return button.ticks >= 2; }, 3000));
    EXPECT_EQ(1u, button.hovering) << "ticks with the cursor inside change nothing";
    EXPECT_EQ(drawsAtEntry + 1, button.draws) << "entering repaints once";

    SendMessageA(host.Button(), WM_MOUSEMOVE, 0, MAKELPARAM(50, 15));
    const int drawsBeforeLeaving = button.draws;
    SetCursorPos(bounds.right + 60, bounds.bottom + 60);
    ASSERT_TRUE(PumpMessagesUntil([&] { return button.hovering == 0; }, 3000));
    PumpMessagesFor(100);
    EXPECT_EQ(drawsBeforeLeaving + 1, button.draws) << "leaving repaints once";

    const int ticksAfterLeaving = button.ticks;
    PumpMessagesFor(350);
    EXPECT_EQ(ticksAfterLeaving, button.ticks) << "the timer is stopped";
    EXPECT_FALSE(KillTimer(host.Button(), HOVER_TIMER_ID));
}

TEST(OwnerDrawButton, SetHoverChangesOnlyOnAChangeOfState) {
    RecordingButton button(BFS_RAISED);
    ButtonHost host("Face", kId, 20, 20, 100, 30);
    ASSERT_TRUE(button.Attach(host.Button()));
    host.RouteDrawingTo(&button);
    PumpMessagesFor(100);
    const int draws = button.draws;

    button.SetHover(false);
    UpdateWindow(host.Button());
    EXPECT_EQ(draws, button.draws);

    button.SetHover(true);
    button.SetHover(true);
    UpdateWindow(host.Button());
    EXPECT_EQ(draws + 1, button.draws);
    EXPECT_TRUE(KillTimer(host.Button(), HOVER_TIMER_ID)) << "entering started timer 100";
}

}  // namespace
