#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "dialog/ConsentDialog.h"
#include "resources/resource.h"
#include "support/win/ImportHook.h"

namespace {

const char* const kLocations[9] = {"Top-Left",    "Top-Center",    "Top-Right",
                                   "Center-Left", "Center-Center", "Center-Right",
                                   "Bottom-Left", "Bottom-Center", "Bottom-Right"};

const char kOneLine[] = "One short line.";
const char kFiveLines[] = "One<br>Two<br>Three<br>Four<br>Five";

std::string Parameters(int width, const char* location, const char* message = kOneLine) {
    return std::string("<TITLE>Layout title</TITLE><LOCATION>") + location +
           "</LOCATION><WIDTH>" + std::to_string(width) + "</WIDTH><MESSAGE>" + message +
           "</MESSAGE><DISCLAIMER>Small print.</DISCLAIMER>";
}

// Sets the work area for one test and puts the previous one back.
class WorkArea {
public:
    explicit WorkArea(RECT area) {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &saved, 0);
        SystemParametersInfoA(SPI_SETWORKAREA, 0, &area, 0);
    }
    ~WorkArea() { SystemParametersInfoA(SPI_SETWORKAREA, 0, &saved, 0); }

private:
    RECT saved = {};
};

// A modeless consent dialog, destroyed with the fixture.
class LiveDialog {
public:
    explicit LiveDialog(const std::string& parameters) {
        dialog.SetParameters(parameters.c_str());
        window = dialog.CreateModeless(TRUE);
    }
    ~LiveDialog() {
        if (IsWindow(window)) DestroyWindow(window);
    }

    RECT Child(int id) const {
        RECT r = {};
        GetWindowRect(GetDlgItem(window, id), &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    RECT Client() const {
        RECT r = {};
        GetClientRect(window, &r);
        return r;
    }
    RECT Frame() const {
        RECT r = {};
        GetWindowRect(window, &r);
        return r;
    }

    ConsentDialog dialog;
    HWND window = nullptr;
};

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

std::string Caption(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

TEST(ConsentDialogLayout, PercentOfTruncatesTowardZeroAndClampsInsteadOfOverflowing) {
    EXPECT_EQ(156, ConsentDialog::PercentOf(400, 39));
    EXPECT_EQ(171, ConsentDialog::PercentOf(300, 57));
    EXPECT_EQ(87, ConsentDialog::PercentOf(300, 29));
    EXPECT_EQ(-27, ConsentDialog::PercentOf(-300, 9));
    EXPECT_EQ(-1, ConsentDialog::PercentOf(-19, 9));
    EXPECT_EQ(0, ConsentDialog::PercentOf(400, 0));
    EXPECT_EQ(0, ConsentDialog::PercentOf(400, -50));
    EXPECT_EQ(837518622, ConsentDialog::PercentOf(INT_MAX, 39));
    EXPECT_EQ(1224065678, ConsentDialog::PercentOf(INT_MAX, 57));
    EXPECT_EQ(-1224065679, ConsentDialog::PercentOf(INT_MIN, 57));
    EXPECT_EQ(INT_MAX, ConsentDialog::PercentOf(INT_MAX, 300));
    EXPECT_EQ(INT_MIN, ConsentDialog::PercentOf(INT_MIN, 300));
}

TEST(ConsentDialogLayout, ClientWidthIsWidthAndCaptionIsTitle) {
    WorkArea area({0, 0, 1024, 738});
    for (int width : {400, 300, 517}) {
        LiveDialog live(Parameters(width, "Center-Center"));
        ASSERT_NE(nullptr, live.window);
        EXPECT_EQ(width, Width(live.Client()));
        EXPECT_EQ("Layout title", Caption(live.window));
    }
}

struct ButtonCase {
    int width;
    int yesWidth;
    int yesLeft;
    int noWidth;
    int noLeft;
};

TEST(ConsentDialogLayout, ButtonsAreSizedAndPlacedByPercentOfWidth) {
    WorkArea area({0, 0, 1024, 738});
    const ButtonCase cases[] = {{400, 156, 36, 116, 228}, {300, 117, 27, 87, 171}};
    for (const ButtonCase& c : cases) {
        LiveDialog live(Parameters(c.width, "Top-Left"));
        const RECT yes = live.Child(IDC_YES);
        const RECT no = live.Child(IDC_NO);
        EXPECT_EQ(c.yesLeft, yes.left) << "width " << c.width;
        EXPECT_EQ(c.yesWidth, Width(yes)) << "width " << c.width;
        EXPECT_EQ(42, Height(yes));
        EXPECT_EQ(c.noLeft, no.left) << "width " << c.width;
        EXPECT_EQ(c.noWidth, Width(no)) << "width " << c.width;
        EXPECT_EQ(42, Height(no));
    }
}

TEST(ConsentDialogLayout, ControlsStackWithTheirGapsAndTheClientEndsBelowTheDisclaimer) {
    WorkArea area({0, 0, 1024, 738});
    LiveDialog live(Parameters(400, "Center-Center"));
    const RECT message = live.Child(IDC_MESSAGE);
    const RECT yes = live.Child(IDC_YES);
    const RECT no = live.Child(IDC_NO);
    const RECT disclaimer = live.Child(IDC_DISCLAIMER);
    EXPECT_EQ(message.bottom + 10, yes.top);
    EXPECT_EQ(message.bottom + 10, no.top);
    EXPECT_EQ(yes.bottom + 10, disclaimer.top);
    EXPECT_EQ(disclaimer.bottom + 15, live.Client().bottom);

    // The message and the disclaimer keep the template's left edge (7 dialog
    // units) and the message its top; both span WIDTH less the side allowance.
    RECT units = {7, 7, 0, 0};
    MapDialogRect(live.window, &units);
    EXPECT_EQ(units.left, message.left);
    EXPECT_EQ(units.top, message.top);
    EXPECT_EQ(units.left, disclaimer.left);
    EXPECT_EQ(400 - live.dialog.sideAllowance, Width(message));
    EXPECT_EQ(400 - live.dialog.sideAllowance, Width(disclaimer));
}

TEST(ConsentDialogLayout, LongerMessageMovesEverythingBelowItDownByTheAddedHeight) {
    WorkArea area({0, 0, 1024, 738});
    LiveDialog live(Parameters(400, "Top-Left", kOneLine));
    const RECT message1 = live.Child(IDC_MESSAGE);
    const RECT yes1 = live.Child(IDC_YES);
    const RECT no1 = live.Child(IDC_NO);
    const RECT disclaimer1 = live.Child(IDC_DISCLAIMER);
    const RECT client1 = live.Client();

    live.dialog.SetParameters(Parameters(400, "Top-Left", kFiveLines).c_str());
    const RECT message5 = live.Child(IDC_MESSAGE);
    const int added = Height(message5) - Height(message1);
    EXPECT_GT(added, 3 * Height(message1)) << "five lines against one";
    EXPECT_EQ(message1.top, message5.top);
    EXPECT_EQ(yes1.top + added, live.Child(IDC_YES).top);
    EXPECT_EQ(no1.top + added, live.Child(IDC_NO).top);
    EXPECT_EQ(disclaimer1.top + added, live.Child(IDC_DISCLAIMER).top);
    EXPECT_EQ(client1.bottom + added, live.Client().bottom);
}

TEST(ConsentDialogLayout, BodyWithAFixedHeightKeepsTheTemplateHeight) {
    WorkArea area({0, 0, 1024, 738});
    LiveDialog live(Parameters(400, "Top-Left", "<body height=\"40\">One<br>Two<br>Three</body>"));
    RECT units = {0, 0, 309, 91};
    MapDialogRect(live.window, &units);
    const RECT message = live.Child(IDC_MESSAGE);
    EXPECT_EQ(units.bottom - units.top, Height(message));
    EXPECT_EQ(message.bottom + 10, live.Child(IDC_YES).top);
}

TEST(ConsentDialogLayout, NewParametersOnALiveDialogRearrangeAtOnce) {
    WorkArea area({0, 0, 1024, 738});
    LiveDialog live(Parameters(400, "Top-Left"));
    live.dialog.SetParameters(
        "<TITLE>Second</TITLE><LOCATION>Bottom-Right</LOCATION><WIDTH>300</WIDTH>"
        "<MESSAGE>m</MESSAGE><DISCLAIMER>d</DISCLAIMER>");
    EXPECT_EQ("Second", Caption(live.window));
    EXPECT_EQ(300, Width(live.Client()));
    EXPECT_EQ(117, Width(live.Child(IDC_YES)));
    EXPECT_EQ(171, live.Child(IDC_NO).left);
    const RECT frame = live.Frame();
    EXPECT_EQ(1024, frame.right);
    EXPECT_EQ(738, frame.bottom);
}

// Expected places come from the window's own size: the room left over on each
// axis, nothing, half of it or all of it.
TEST(ConsentDialogLayout, NineLocationsWithinTheWorkArea) {
    WorkArea area({0, 0, 1024, 738});
    for (int location = 0; location < 9; ++location) {
        LiveDialog live(Parameters(400, kLocations[location]));
        const RECT frame = live.Frame();
        const int xs = 1024 - Width(frame);
        const int ys = 738 - Height(frame);
        ASSERT_GT(xs, 0);
        ASSERT_GT(ys, 0);
        const int xs3[3] = {0, xs / 2, xs};
        const int ys3[3] = {0, ys / 2, ys};
        EXPECT_EQ(xs3[location % 3], frame.left) << kLocations[location];
        EXPECT_EQ(ys3[location / 3], frame.top) << kLocations[location];
    }
}

ImportHook* workAreaHook = nullptr;

BOOL WINAPI WorkAreaUnavailable(UINT action, UINT param, void* data, UINT flags) {
    if (action == SPI_GETWORKAREA) return FALSE;
    typedef BOOL(WINAPI * Original)(UINT, UINT, void*, UINT);
    return workAreaHook->Original<Original>()(action, param, data, flags);
}

// Without a work area the desktop window's rectangle is used.
TEST(ConsentDialogLayout, FailedWorkAreaQueryFallsBackToTheDesktop) {
    WorkArea area({0, 0, 1024, 700});
    LiveDialog live(Parameters(400, "Top-Left"));
    ImportHook hook("user32.dll", "SystemParametersInfoA",
                    reinterpret_cast<void*>(WorkAreaUnavailable));
    ASSERT_TRUE(hook.Installed());
    workAreaHook = &hook;
    live.dialog.location = DL_BOTTOM_RIGHT;
    live.dialog.Arrange();
    workAreaHook = nullptr;
    RECT desktop = {};
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_EQ(desktop.right, live.Frame().right);
    EXPECT_EQ(desktop.bottom, live.Frame().bottom);
    EXPECT_NE(700, desktop.bottom);
}

TEST(ConsentDialogLayout, UnknownLocationValueIsTopLeft) {
    WorkArea area({0, 0, 1024, 738});
    LiveDialog live(Parameters(400, "Bottom-Right"));
    live.dialog.location = 42;
    live.dialog.Arrange();
    EXPECT_EQ(0, live.Frame().left);
    EXPECT_EQ(0, live.Frame().top);
}

TEST(ConsentDialogLayout, DialogLargerThanTheWorkAreaSitsAtZero) {
    WorkArea area({0, 0, 300, 120});
    LiveDialog live(Parameters(400, "Bottom-Right"));
    EXPECT_EQ(0, live.Frame().left);
    EXPECT_EQ(0, live.Frame().top);
    EXPECT_EQ(400, Width(live.Client()));
}

// With the task bar on the left the offsets still count from x 0 and use the
// work area's width, so "Right" ends that width from the screen's edge.
TEST(ConsentDialogLayout, OffsetsCountFromTheScreenOriginNotTheWorkAreaCorner) {
    WorkArea area({100, 0, 1024, 738});
    LiveDialog topLeft(Parameters(400, "Top-Left"));
    EXPECT_EQ(0, topLeft.Frame().left);

    LiveDialog right(Parameters(400, "Center-Right"));
    const RECT frame = right.Frame();
    EXPECT_EQ(924, frame.right);
    EXPECT_EQ((738 - Height(frame)) / 2, frame.top);
}

TEST(ConsentDialogLayout, HostileWidthIsArrangedWithoutOverflow) {
    WorkArea area({0, 0, 1024, 738});
    LiveDialog live(Parameters(INT_MAX, "Bottom-Right"));
    ASSERT_TRUE(IsWindow(live.window));
    EXPECT_EQ(INT_MAX, live.dialog.width);
    EXPECT_EQ(0, live.Frame().left);
    EXPECT_GT(Width(live.Client()), 400);
    EXPECT_GT(live.Child(IDC_NO).left, live.Child(IDC_MESSAGE).left);
}

ImportHook* windowPosHook = nullptr;
int windowPosCalls = 0;

BOOL WINAPI CountWindowPos(HWND window, HWND after, int x, int y, int cx, int cy, UINT flags) {
    ++windowPosCalls;
    return windowPosHook->Original<decltype(&SetWindowPos)>()(window, after, x, y, cx, cy, flags);
}

// The arrangement moves nothing until the window exists; on a live dialog
// the same calls do move it, which shows that the count sees them.
TEST(ConsentDialogLayout, ArrangeBeforeTheWindowExistsDoesNothing) {
    for (bool live : {false, true}) {
        ConsentDialog dialog;
        HWND window = live ? dialog.CreateModeless(TRUE) : nullptr;
        ImportHook hook("user32.dll", "SetWindowPos", reinterpret_cast<void*>(CountWindowPos));
        ASSERT_TRUE(hook.Installed());
        windowPosHook = &hook;
        windowPosCalls = 0;
        dialog.SetParameters(Parameters(400, "Top-Left").c_str());
        dialog.Arrange();
        windowPosHook = nullptr;
        EXPECT_EQ(live, windowPosCalls > 0) << windowPosCalls;
        EXPECT_EQ(window, dialog.hwnd);
        if (window) DestroyWindow(window);
    }
}

}  // namespace
