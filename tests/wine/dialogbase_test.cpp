// Binding windows and dialogs to objects: the shared procedures, subclassing,
// modal and modeless runs and the dispatcher.
#include <gtest/gtest.h>

#include <vector>

#include "resources/resource.h"
#include "support/win/DialogDriver.h"
#include "util/CMsString.h"
#include "util/ModuleInstance.h"
#include "window/DialogBase.h"
#include "window/WindowUtils.h"

namespace {
const UINT_PTR END_TIMER = 7;

// A dialog on template 202 that records what reaches the object.
class ProbeDialog : public DialogBase {
public:
    ProbeDialog()
        : DialogBase(GetModuleInstance(), IDD_CONSENT, nullptr, 11, 22, RGB(1, 2, 3),
                     RGB(40, 50, 60)) {}
    ~ProbeDialog() = default;

    ProbeDialog* Destroy(unsigned flags) override {
        this->~ProbeDialog();
        if (flags & 1) ::operator delete(this);
        return this;
    }

    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(message);
        return DialogBase::DialogProc(message, wParam, lParam);
    }

    BOOL OnInitDialog() override {
        if (endSoon) SetTimer(hwnd, END_TIMER, 50, nullptr);
        return TRUE;
    }

    void OnTimer(UINT_PTR timerId) override {
        if (timerId != END_TIMER) return;
        KillTimer(hwnd, END_TIMER);
        EndWith(endCode);
    }

    LONG OnCommand(UINT id, UINT code) override {
        lastCommandId = id;
        lastCommandCode = code;
        return commandAnswer;
    }

    bool endSoon = false;  // end with endCode shortly after initialisation
    int endCode = 0;
    LONG commandAnswer = 0;
    UINT lastCommandId = 0;
    UINT lastCommandCode = 0;
    std::vector<UINT> messages;
};

// A plain window object that counts first shows and checks, at WM_NCDESTROY,
// which procedure the window has once the base handling put things back.
class ProbeWindow : public WindowBase {
public:
    ~ProbeWindow() = default;

    ProbeWindow* Destroy(unsigned flags) override {
        this->~ProbeWindow();
        if (flags & 1) ::operator delete(this);
        return this;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_NCDESTROY) return WindowBase::WindowProc(message, wParam, lParam);
        HWND window = hwnd;
        LRESULT result = WindowBase::WindowProc(message, wParam, lParam);
        procedureAfterUnbind = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
        objectAfterUnbind = WindowObjectFrom(window);
        return result;
    }

    void OnFirstShow() override { ++firstShows; }
    void OnBeforeAttach() override { hwndAtBeforeAttach = hwnd; }

    int firstShows = 0;
    HWND hwndAtBeforeAttach = nullptr;
    WNDPROC procedureAfterUnbind = nullptr;
    WindowBase* objectAfterUnbind = reinterpret_cast<WindowBase*>(1);
};

std::vector<UINT> originalSaw;

LRESULT CALLBACK OriginalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    originalSaw.push_back(message);
    return DefWindowProcA(window, message, wParam, lParam);
}

const char* OriginalClass() {
    static ATOM atom = 0;
    if (!atom) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = OriginalProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "MirelProbeOriginal";
        atom = RegisterClassA(&windowClass);
    }
    return "MirelProbeOriginal";
}

HWND CreateOriginalWindow() {
    return CreateWindowExA(0, OriginalClass(), "probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 80, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

bool Saw(const std::vector<UINT>& messages, UINT message) {
    for (UINT seen : messages) {
        if (seen == message) return true;
    }
    return false;
}
}  // namespace

TEST(SharedDialogProc, MessagesBeforeInitDialogReachNoObject) {
    ProbeDialog dialog;
    dialog.endSoon = true;
    dialog.endCode = 5;
    DialogDriver driver([](HWND) {});
    INT_PTR result = dialog.DoModal();
    driver.Finish();
    EXPECT_EQ(result, 5);
    ASSERT_FALSE(dialog.messages.empty());
    EXPECT_EQ(dialog.messages.front(), static_cast<UINT>(WM_INITDIALOG));
    EXPECT_FALSE(Saw(dialog.messages, WM_SETFONT));
}

TEST(SharedDialogProc, UnboundWindowGetsFalse) {
    HWND window = CreateOriginalWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SharedDialogProc(window, WM_SETFONT, 0, 0), FALSE);
    EXPECT_EQ(SharedDialogProc(window, WM_COMMAND, IDOK, 0), FALSE);
    DestroyWindow(window);
}

TEST(DialogBaseModal, EndWithMakesDoModalReturnTheCode) {
    ProbeDialog dialog;
    dialog.endSoon = true;
    dialog.endCode = 5;
    DialogDriver driver([](HWND) {});
    INT_PTR result = dialog.DoModal();
    driver.Finish();
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(result, 5);
    EXPECT_EQ(dialog.result, 5);
    EXPECT_EQ(dialog.hwnd, nullptr) << "unbound at WM_NCDESTROY";
    EXPECT_TRUE(Saw(dialog.messages, WM_NCDESTROY));
}

TEST(DialogBaseModal, OkAndCancelEndNothing) {
    ProbeDialog dialog;
    dialog.endCode = 6;
    bool openAfterCommands = false;
    DialogDriver driver([&](HWND window) {
        SendMessageA(window, WM_COMMAND, IDOK, 0);
        SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
        SendMessageA(window, WM_CLOSE, 0, 0);
        openAfterCommands = IsWindow(window) != FALSE;
        PostMessageA(window, WM_TIMER, END_TIMER, 0);
    });
    INT_PTR result = dialog.DoModal();
    driver.Finish();
    EXPECT_TRUE(openAfterCommands);
    EXPECT_EQ(result, 6);
}

TEST(DialogBaseModal, MissingTemplateGivesMinusOne) {
    ProbeDialog dialog;
    dialog.templateId = 4321;
    EXPECT_EQ(dialog.DoModal(), -1);
}

TEST(DialogBaseModeless, EndWithoutDestroyKeepsTheWindowAndRecordsTheCode) {
    ProbeDialog dialog;
    HWND window = dialog.CreateModeless(FALSE);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(dialog.runFlags, static_cast<DWORD>(DRF_MODELESS));
    dialog.EndWith(5);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(dialog.result, 5);
    EXPECT_EQ(dialog.hwnd, window);
    EXPECT_TRUE(dialog.DestroyWnd());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(dialog.hwnd, nullptr);
}

TEST(DialogBaseModeless, OkAndCancelEndIt) {
    for (UINT id : {IDOK, IDCANCEL}) {
        ProbeDialog kept;
        HWND window = kept.CreateModeless(FALSE);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(SendMessageA(window, WM_COMMAND, id, 0), 0);
        EXPECT_EQ(kept.result, static_cast<int>(id));
        EXPECT_TRUE(IsWindow(window));
        kept.DestroyWnd();

        ProbeDialog destroyed;
        window = destroyed.CreateModeless(TRUE);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(destroyed.runFlags, static_cast<DWORD>(DRF_MODELESS | DRF_DESTROY_ON_END));
        SendMessageA(window, WM_COMMAND, id, 0);
        EXPECT_EQ(destroyed.result, static_cast<int>(id));
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(destroyed.hwnd, nullptr);
    }
}

TEST(DialogBaseModeless, HandledCommandsAreNotTreatedAsOkOrCancel) {
    ProbeDialog dialog;
    dialog.commandAnswer = 77;
    HWND window = dialog.CreateModeless(TRUE);
    ASSERT_NE(window, nullptr);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, 3), 0);
    EXPECT_EQ(dialog.lastCommandId, static_cast<UINT>(IDOK));
    EXPECT_EQ(dialog.lastCommandCode, 3u);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(dialog.result, DIALOG_RESULT_UNSET);
    dialog.DestroyWnd();
}

TEST(DialogBaseModeless, CloseAndSystemCloseEndItWithTwo) {
    ProbeDialog closed;
    HWND window = closed.CreateModeless(TRUE);
    ASSERT_NE(window, nullptr);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(closed.result, IDCANCEL);
    EXPECT_FALSE(IsWindow(window));

    ProbeDialog systemClosed;
    window = systemClosed.CreateModeless(FALSE);
    ASSERT_NE(window, nullptr);
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE | 2, 0);
    EXPECT_EQ(systemClosed.result, IDCANCEL);
    EXPECT_TRUE(IsWindow(window));
    systemClosed.DestroyWnd();
}

TEST(DialogBaseModeless, DoModalAfterModelessRunsModally) {
    ProbeDialog dialog;
    HWND window = dialog.CreateModeless(TRUE);
    ASSERT_NE(window, nullptr);
    dialog.DestroyWnd();
    dialog.endSoon = true;
    dialog.endCode = 9;
    DialogDriver driver([](HWND) {});
    EXPECT_EQ(dialog.DoModal(), 9);
    driver.Finish();
    EXPECT_EQ(dialog.runFlags, static_cast<DWORD>(DRF_DESTROY_ON_END)) << "bit 1 is never cleared";
}

TEST(DialogBaseColors, DialogAndStaticBackgroundsUseTheColoursAndBrush) {
    ProbeDialog dialog;
    HWND window = dialog.CreateModeless(TRUE);
    ASSERT_NE(window, nullptr);
    HDC dc = GetDC(window);
    HWND statics = GetDlgItem(window, IDC_MESSAGE);
    SetTextColor(dc, RGB(9, 9, 9));
    SetBkColor(dc, RGB(8, 8, 8));

    LRESULT brush = SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(statics));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), dialog.backBrush);
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetBkColor(dc), RGB(40, 50, 60));
    brush = SendMessageA(window, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(window));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), dialog.backBrush);

    EXPECT_EQ(dialog.OnCtlColor(dc, statics, WM_CTLCOLOREDIT - WM_CTLCOLORMSGBOX), nullptr);
    EXPECT_EQ(dialog.OnCtlColor(dc, statics, WM_CTLCOLORBTN - WM_CTLCOLORMSGBOX), nullptr);
    LOGBRUSH described = {};
    ASSERT_NE(GetObjectA(dialog.backBrush, sizeof described, &described), 0);
    EXPECT_EQ(described.lbColor, RGB(40, 50, 60));

    ReleaseDC(window, dc);
    dialog.DestroyWnd();
}

TEST(DialogBaseFields, ConstructorKeepsItsArgumentsInPlace) {
    ProbeDialog dialog;
    EXPECT_EQ(dialog.instance, GetModuleInstance());
    EXPECT_EQ(dialog.templateId, static_cast<DWORD>(IDD_CONSENT));
    EXPECT_EQ(dialog.ownerWindow, nullptr);
    EXPECT_EQ(dialog.unusedValue1, 11u);
    EXPECT_EQ(dialog.unusedValue2, 22u);
    EXPECT_EQ(dialog.keepSysMenu, 1u);
    EXPECT_EQ(dialog.result, DIALOG_RESULT_UNSET);
    EXPECT_EQ(dialog.runFlags, 0u);
}

TEST(WindowBaseAttach, SecondAttachFailsAndChangesNothing) {
    HWND window = CreateOriginalWindow();
    ASSERT_NE(window, nullptr);
    ProbeWindow object;
    ASSERT_TRUE(object.Attach(window));
    EXPECT_EQ(object.hwndAtBeforeAttach, window);
    EXPECT_EQ(object.prevWndProc, OriginalProc);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)), SharedWindowProc);
    EXPECT_EQ(WindowObjectFrom(window), &object);

    ProbeWindow other;
    EXPECT_TRUE(other.Attach(CreateOriginalWindow()));
    HWND otherWindow = other.hwnd;
    EXPECT_FALSE(other.Attach(window));
    EXPECT_EQ(other.hwnd, otherWindow);
    EXPECT_EQ(WindowObjectFrom(window), &object);
    EXPECT_FALSE(object.Attach(window));
    EXPECT_EQ(object.prevWndProc, OriginalProc);

    DestroyWindow(otherWindow);
    DestroyWindow(window);
}

TEST(WindowBaseAttach, DestroyedWindowGetsItsProcedureBack) {
    HWND window = CreateOriginalWindow();
    ASSERT_NE(window, nullptr);
    ProbeWindow object;
    ASSERT_TRUE(object.Attach(window));
    originalSaw.clear();
    ShowWindow(window, SW_SHOWNA);
    ShowWindow(window, SW_HIDE);
    ShowWindow(window, SW_SHOWNA);
    SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("renamed"));
    DestroyWindow(window);

    EXPECT_EQ(object.firstShows, 1);
    EXPECT_EQ(object.procedureAfterUnbind, OriginalProc);
    EXPECT_EQ(object.objectAfterUnbind, nullptr);
    EXPECT_EQ(object.hwnd, nullptr);
    EXPECT_EQ(object.prevWndProc, nullptr);
    EXPECT_TRUE(Saw(originalSaw, WM_SETTEXT)) << "other messages go on to the original";
    EXPECT_FALSE(Saw(originalSaw, WM_SHOWWINDOW));
    EXPECT_FALSE(Saw(originalSaw, WM_DESTROY));
    EXPECT_FALSE(Saw(originalSaw, WM_NCDESTROY));
}

TEST(WindowBaseCreate, RegisteredClassBindsAtCreationAndRefusesSelfSubclassing) {
    WNDCLASSA windowClass = {};
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "MirelProbeOwn";
    ProbeWindow object;
    ASSERT_NE(object.RegisterWndClass(&windowClass), 0);
    EXPECT_EQ(windowClass.lpfnWndProc, SharedWindowProc);
    EXPECT_EQ(object.RegisterWndClass(nullptr), 0);

    ASSERT_TRUE(object.CreateWnd(0, "MirelProbeOwn", "own", WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                                 nullptr, GetModuleHandleA(nullptr)));
    HWND window = object.hwnd;
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowObjectFrom(window), &object);
    EXPECT_EQ(object.prevWndProc, nullptr);
    // Subclassing its own window would make the default handling call itself.
    EXPECT_FALSE(object.Attach(window));
    EXPECT_EQ(object.prevWndProc, nullptr);
    EXPECT_EQ(SendMessageA(window, WM_QUERYNEWPALETTE, 0, 0), 0);

    EXPECT_TRUE(object.DestroyWnd());
    EXPECT_EQ(object.hwnd, nullptr);
    EXPECT_FALSE(object.DestroyWnd());
    UnregisterClassA("MirelProbeOwn", GetModuleHandleA(nullptr));
}

TEST(DialogBaseWindowPath, AttachedDialogObjectHandlesCommandsAndSystemMenu) {
    HWND window = CreateOriginalWindow();
    ASSERT_NE(window, nullptr);
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Attach(window));
    dialog.runFlags = DRF_MODELESS;
    SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(dialog.result, IDCANCEL);
    EXPECT_TRUE(IsWindow(window));

    dialog.keepSysMenu = 0;
    SendMessageA(window, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & WS_SYSMENU, 0);

    dialog.runFlags = DRF_MODELESS | DRF_DESTROY_ON_END;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(dialog.hwnd, nullptr);
}

TEST(WindowUtilities, ScreenRectToClientMovesButKeepsTheSize) {
    HWND window = CreateOriginalWindow();
    ASSERT_NE(window, nullptr);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    RECT rect = {origin.x + 5, origin.y + 7, origin.x + 25, origin.y + 47};
    ScreenRectToClient(window, &rect);
    EXPECT_EQ(rect.left, 5);
    EXPECT_EQ(rect.top, 7);
    EXPECT_EQ(rect.right, 25);
    EXPECT_EQ(rect.bottom, 47);
    ScreenRectToClient(nullptr, &rect);
    EXPECT_EQ(rect.left, 5);
    ScreenRectToClient(window, nullptr);
    DestroyWindow(window);
}

TEST(WindowUtilities, SetTopmostTogglesTheTopmostBand) {
    HWND window = CreateOriginalWindow();
    ASSERT_NE(window, nullptr);
    SetTopmost(window, TRUE);
    EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    SetTopmost(window, FALSE);
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    DestroyWindow(window);
}

TEST(WindowUtilities, ReadWindowTextReturnsTextAndLength) {
    HWND window = CreateOriginalWindow();
    ASSERT_NE(window, nullptr);
    SetWindowTextA(window, "Hello there");
    CMsString text("old");
    EXPECT_EQ(ReadWindowText(window, text), 11);
    EXPECT_STREQ(text, "Hello there");
    DestroyWindow(window);
    EXPECT_EQ(ReadWindowText(window, text), 0);
    EXPECT_STREQ(text, "");
}

TEST(WindowUtilities, ClientToWindowRectCanDropTheClientEdge) {
    HWND window = CreateWindowExA(WS_EX_CLIENTEDGE, OriginalClass(), "edge", WS_OVERLAPPEDWINDOW,
                                  0, 0, 100, 80, nullptr, nullptr, GetModuleHandleA(nullptr),
                                  nullptr);
    ASSERT_NE(window, nullptr);
    ProbeWindow object;
    ASSERT_TRUE(object.Attach(window));
    RECT withEdge = {0, 0, 200, 100};
    RECT withoutEdge = withEdge;
    ASSERT_TRUE(object.ClientToWindowRect(&withEdge, FALSE));
    ASSERT_TRUE(object.ClientToWindowRect(&withoutEdge, TRUE));
    int edge = GetSystemMetrics(SM_CXEDGE);
    EXPECT_EQ((withEdge.right - withEdge.left) - (withoutEdge.right - withoutEdge.left), 2 * edge);
    EXPECT_GT(withoutEdge.right - withoutEdge.left, 200) << "the frame is still added";
    DestroyWindow(window);
}
