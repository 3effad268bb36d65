// The consent dialog run modally through RunMirelDialog or an object from
// GetDialogObject, driven from a second thread.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog/ConsentDialog.h"
#include "include/MirelDialog.h"
#include "resources/resource.h"
#include "support/ScratchFile.h"
#include "support/win/DialogDriver.h"
#include "support/win/TestWindowClass.h"

namespace {
const char* const COMPLETE =
    "<TITLE>Install Extra Tool?</TITLE>\r\n"
    "<LOCATION>Bottom-Right</LOCATION>\r\n"
    "<WIDTH>400</WIDTH>\r\n"
    "<MESSAGE>Do you want <b>Extra Tool</b>?</MESSAGE>\r\n"
    "<DISCLAIMER>By clicking Yes you agree.</DISCLAIMER>\r\n";

std::string Caption(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool IsTopmost(HWND window) { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

void Click(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void CloseFromTitleBar(HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

// Runs RunMirelDialog on the parameters while the driver performs the action.
struct ModalRun {
    int result = 0;
    bool shown = false;
    bool timedOut = false;
};

ModalRun RunWith(const char* parameters, DialogDriver::Action action) {
    ModalRun run;
    DialogDriver driver(std::move(action));
    run.result = RunMirelDialog(parameters);
    driver.Finish();
    run.shown = driver.EverShown();
    run.timedOut = driver.TimedOut();
    return run;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// The windows that received WM_ENABLE, in order.
std::vector<HWND> enableMessages;

LRESULT CALLBACK CountEnable(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENABLE) enableMessages.push_back(window);
    return DefWindowProcA(window, message, wParam, lParam);
}

// A host's three top-level windows: one the user could use (active), one the
// host disabled itself, one hidden.
class HostWindows {
public:
    HostWindows() {
        RegisterTestWindowClass("MirelHostWindow", CountEnable);
        usable = Create(WS_VISIBLE);
        disabled = Create(WS_VISIBLE | WS_DISABLED);
        hidden = Create(0);
        SetForegroundWindow(usable);
        enableMessages.clear();
    }
    ~HostWindows() {
        for (HWND window : {usable, disabled, hidden}) DestroyWindow(window);
    }
    // Enabled (1) or not (0), for the usable, disabled and hidden windows.
    std::string Enabled() const {
        std::string states;
        for (HWND window : {usable, disabled, hidden}) states += IsWindowEnabled(window) ? '1' : '0';
        return states;
    }

    HWND usable, disabled, hidden;

private:
    static HWND Create(DWORD style) {
        return CreateWindowExA(0, "MirelHostWindow", "host", WS_OVERLAPPEDWINDOW | style, 10, 10, 200, 100,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
};

enum Ending { kYesButton, kEndDialog, kDestroyWnd, kQuitMessage };

// Ends the run from the dialog's own thread at the driver's WM_APP.
LONG CALLBACK EndAtApp(HWND window, UINT message, WPARAM, LPARAM, DWORD ending) {
    if (message != WM_APP) return 0;
    if (ending == kEndDialog) EndDialog(window, 5);
    if (ending == kDestroyWnd) DestroyWindow(window);
    if (ending == kQuitMessage) PostQuitMessage(0);
    return 0;
}
}  // namespace

TEST(ConsentDialogRun, CompleteParametersShowATopmostDialogTitledWithTitle) {
    std::string caption;
    bool topmost = false;
    ModalRun run = RunWith(COMPLETE, [&](HWND dialog) {
        caption = Caption(dialog);
        topmost = IsTopmost(dialog);
        Click(dialog, IDC_YES);
    });
    EXPECT_TRUE(run.shown);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(caption, "Install Extra Tool?");
    EXPECT_TRUE(topmost);
    EXPECT_EQ(run.result, MIREL_RESULT_YES);
}

TEST(ConsentDialogRun, NoButtonAnswersTwo) {
    ModalRun run = RunWith(COMPLETE, [](HWND dialog) { Click(dialog, IDC_NO); });
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.result, MIREL_RESULT_NO);
}

TEST(ConsentDialogRun, CloseCommandAnswersEight) {
    ModalRun run = RunWith(COMPLETE, CloseFromTitleBar);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.result, MIREL_RESULT_CLOSED);
}

TEST(ConsentDialogRun, OkAndCancelCommandsLeaveItOpen) {
    bool openAfterCommands = false;
    ModalRun run = RunWith(COMPLETE, [&](HWND dialog) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        Sleep(200);
        openAfterCommands = IsWindow(dialog) && IsWindowVisible(dialog);
        CloseFromTitleBar(dialog);
    });
    EXPECT_TRUE(openAfterCommands);
    EXPECT_EQ(run.result, MIREL_RESULT_CLOSED);
}

TEST(ConsentDialogRun, CloseCommandWithExtraBitsIsNotTheCloseAnswer) {
    bool openAfterCommand = false;
    ModalRun run = RunWith(COMPLETE, [&](HWND dialog) {
        SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE | 2, 0);
        Sleep(200);
        openAfterCommand = IsWindow(dialog) != FALSE;
        Click(dialog, IDC_NO);
    });
    EXPECT_TRUE(openAfterCommand);
    EXPECT_EQ(run.result, MIREL_RESULT_NO);
}

TEST(ConsentDialogRun, IncompleteParametersAnswerThreeWithoutShowing) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"empty title", Replace(COMPLETE, "Install Extra Tool?", "  ")},
        {"no title", Replace(COMPLETE, "<TITLE>", "<TITEL>")},
        {"empty message", Replace(COMPLETE, "Do you want <b>Extra Tool</b>?", "\r\n")},
        {"no message", Replace(COMPLETE, "</MESSAGE>", "")},
        {"empty disclaimer", Replace(COMPLETE, "By clicking Yes you agree.", "")},
        {"no disclaimer", Replace(COMPLETE, "<DISCLAIMER>", "<DISCLAIM>")},
        {"no width", Replace(COMPLETE, "<WIDTH>400</WIDTH>", "")},
        {"zero width", Replace(COMPLETE, "400", "0")},
        {"negative width", Replace(COMPLETE, "400", "-400")},
        {"word width", Replace(COMPLETE, "400", "wide")},
        {"empty text", ""},
    };
    for (const auto& [name, parameters] : cases) {
        HostWindows host;
        ModalRun run = RunWith(parameters.c_str(), CloseFromTitleBar);
        EXPECT_EQ(run.result, MIREL_RESULT_INCOMPLETE) << name;
        EXPECT_FALSE(run.shown) << name;
        EXPECT_TRUE(enableMessages.empty()) << name << ": the host's windows are left alone";
    }
}

TEST(ConsentDialogRun, NullParametersAnswerThree) {
    ModalRun run = RunWith(nullptr, CloseFromTitleBar);
    EXPECT_EQ(run.result, MIREL_RESULT_INCOMPLETE);
    EXPECT_FALSE(run.shown);
}

TEST(ConsentDialogSource, ParametersFromAFile) {
    ScratchFile file(Replace(COMPLETE, "Install Extra Tool?", "From a file"));
    std::string caption;
    ModalRun run = RunWith(file.Path().c_str(), [&](HWND dialog) {
        caption = Caption(dialog);
        Click(dialog, IDC_YES);
    });
    EXPECT_EQ(caption, "From a file");
    EXPECT_EQ(run.result, MIREL_RESULT_YES);
}

TEST(ConsentDialogSource, QuotedPathOfACompleteFileAnswersThree) {
    ScratchFile file(COMPLETE);
    std::string quoted = "\"" + file.Path() + "\"";
    ModalRun run = RunWith(quoted.c_str(), CloseFromTitleBar);
    EXPECT_EQ(run.result, MIREL_RESULT_INCOMPLETE);
    EXPECT_FALSE(run.shown);
}

TEST(ConsentDialogSource, FileIsReadUpToItsZeroByte) {
    std::string beforeZero = "<TITLE>T</TITLE><WIDTH>300</WIDTH><MESSAGE>M</MESSAGE>";
    std::string afterZero = "<DISCLAIMER>D</DISCLAIMER>";
    ScratchFile cut(beforeZero + std::string(1, '\0') + afterZero);
    ModalRun cutRun = RunWith(cut.Path().c_str(), CloseFromTitleBar);
    EXPECT_EQ(cutRun.result, MIREL_RESULT_INCOMPLETE);

    ScratchFile whole(beforeZero + afterZero + std::string(1, '\0') + "ignored");
    ModalRun wholeRun = RunWith(whole.Path().c_str(), CloseFromTitleBar);
    EXPECT_EQ(wholeRun.result, MIREL_RESULT_CLOSED);
}

TEST(ConsentDialogSource, DirectoryAndOneCharacterStringsAreTakenAsText) {
    std::string directory = ScratchDirectory();
    EXPECT_EQ(RunWith(directory.c_str(), CloseFromTitleBar).result, MIREL_RESULT_INCOMPLETE);
    EXPECT_EQ(RunWith("x", CloseFromTitleBar).result, MIREL_RESULT_INCOMPLETE);
}

namespace {
struct ObservedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    DWORD data;
    bool topmostAtCall;
};

std::vector<ObservedMessage> observed;

LONG CALLBACK Observe(HWND window, UINT message, WPARAM wParam, LPARAM, DWORD data) {
    bool topmost = window && IsTopmost(window);
    observed.push_back({window, message, wParam, data, topmost});
    return 12345;
}

bool SawMessage(UINT message) {
    for (const auto& seen : observed) {
        if (seen.message == message) return true;
    }
    return false;
}
}  // namespace

TEST(ConsentDialogObserver, CalledAfterEachDispatchedMessageWithTheHostsData) {
    observed.clear();
    auto* host = GetDialogObject();
    ASSERT_NE(host, nullptr);
    host->observer = Observe;
    host->observerData = 0xC0FFEE;
    auto* dialog = reinterpret_cast<ConsentDialog*>(host);
    dialog->SetParameters(COMPLETE);
    DialogDriver driver([](HWND window) {
        SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE | 1, 0);
        CloseFromTitleBar(window);
    });
    INT_PTR result = dialog->DoModal();
    driver.Finish();
    dialog->Destroy(1);

    EXPECT_EQ(result, MIREL_RESULT_CLOSED);
    ASSERT_FALSE(observed.empty());
    for (const auto& seen : observed) EXPECT_EQ(seen.data, 0xC0FFEEu);
    // The observer hears of WM_INITDIALOG after the dialog made itself
    // topmost; nothing sent before WM_INITDIALOG (WM_SETFONT) reaches it.
    const ObservedMessage* init = nullptr;
    for (const auto& seen : observed) {
        if (seen.message == WM_INITDIALOG) init = &seen;
    }
    ASSERT_NE(init, nullptr);
    EXPECT_TRUE(init->topmostAtCall);
    EXPECT_NE(init->window, nullptr);
    EXPECT_FALSE(SawMessage(WM_SETFONT));
    // The exact close command is not observed; one with other bits is.
    bool sawExactClose = false, sawOtherClose = false;
    for (const auto& seen : observed) {
        if (seen.message != WM_SYSCOMMAND) continue;
        if (seen.wParam == SC_CLOSE) sawExactClose = true;
        if (seen.wParam == (SC_CLOSE | 1)) sawOtherClose = true;
    }
    EXPECT_FALSE(sawExactClose);
    EXPECT_TRUE(sawOtherClose);
    // The window is unbound before the observer hears of its last message.
    EXPECT_EQ(observed.back().message, static_cast<UINT>(WM_NCDESTROY));
    EXPECT_EQ(observed.back().window, nullptr);
}

TEST(ConsentDialogObject, FreshObjectHasTheDocumentedState) {
    auto* host = GetDialogObject();
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->templateId, 202u);
    EXPECT_EQ(host->location, 4);
    EXPECT_EQ(host->width, 0);
    EXPECT_EQ(host->result, MIREL_RESULT_INCOMPLETE);
    EXPECT_EQ(host->observer, nullptr);
    EXPECT_EQ(host->observerData, 0u);
    EXPECT_EQ(host->window.hwnd, nullptr);
    EXPECT_EQ(host->backColor, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(host->textColor, 0u);
    EXPECT_NE(host->backBrush, nullptr);
    EXPECT_STREQ(host->title, "");
    reinterpret_cast<ConsentDialog*>(host)->Destroy(1);
    EXPECT_EQ(FindVisibleDialog(GetCurrentThreadId()), nullptr);
}

TEST(ConsentDialogObject, ReadsTheFieldsIntoItsMembers) {
    ConsentDialog dialog;
    dialog.SetParameters(COMPLETE);
    EXPECT_STREQ(dialog.title, "Install Extra Tool?");
    EXPECT_STREQ(dialog.message, "Do you want <b>Extra Tool</b>?");
    EXPECT_STREQ(dialog.disclaimer, "By clicking Yes you agree.");
    EXPECT_EQ(dialog.location, DL_BOTTOM_RIGHT);
    EXPECT_EQ(dialog.width, 400);
    EXPECT_STREQ(dialog.sourceText, COMPLETE);
    // A second call overwrites every field, also with empty values.
    dialog.SetParameters("<TITLE>only</TITLE>");
    EXPECT_STREQ(dialog.title, "only");
    EXPECT_STREQ(dialog.message, "");
    EXPECT_STREQ(dialog.disclaimer, "");
    EXPECT_EQ(dialog.location, DL_CENTER_CENTER);
    EXPECT_EQ(dialog.width, 0);
}

TEST(ConsentDialogModeless, ShowsWhateverItHasAndRearrangesOnNewParameters) {
    ConsentDialog dialog;
    HWND window = dialog.CreateModeless(TRUE);
    ASSERT_NE(window, nullptr);
    // Created with destroy-on-end and without fields: the completeness check
    // would have destroyed it.
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(Caption(window), "") << "the caption is the (empty) title";
    EXPECT_GT(dialog.initialWindowWidth, 0);
    RECT message;
    GetWindowRect(GetDlgItem(window, IDC_MESSAGE), &message);
    EXPECT_EQ(dialog.sideAllowance, dialog.initialWindowWidth - (message.right - message.left));

    dialog.SetParameters("<TITLE>Live title</TITLE><WIDTH>0</WIDTH>");
    EXPECT_EQ(Caption(window), "Live title");
    // A width below 1 falls back to the window's initial width once it exists.
    EXPECT_EQ(dialog.width, dialog.initialWindowWidth);

    dialog.DestroyWnd();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(dialog.hwnd, nullptr);
}

TEST(ConsentDialogModeless, LinkNotificationDropsTopmostOnlyForTheTextControls) {
    ConsentDialog dialog;
    dialog.SetParameters(COMPLETE);
    HWND window = dialog.CreateModeless(TRUE);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(IsTopmost(window));

    NMHDR header = {GetDlgItem(window, IDC_MESSAGE), IDC_MESSAGE, 5};
    SendMessageA(window, WM_NOTIFY, IDC_MESSAGE, reinterpret_cast<LPARAM>(&header));
    EXPECT_TRUE(IsTopmost(window)) << "code 5 changes nothing";
    header = {GetDlgItem(window, IDC_YES), IDC_YES, 4};
    SendMessageA(window, WM_NOTIFY, IDC_YES, reinterpret_cast<LPARAM>(&header));
    EXPECT_TRUE(IsTopmost(window)) << "a button's code 4 changes nothing";
    header = {GetDlgItem(window, IDC_DISCLAIMER), IDC_DISCLAIMER, 4};
    SendMessageA(window, WM_NOTIFY, IDC_DISCLAIMER, reinterpret_cast<LPARAM>(&header));
    EXPECT_FALSE(IsTopmost(window));
    EXPECT_TRUE(IsWindow(window));

    dialog.DestroyWnd();
}

TEST(ConsentDialogModeless, CloseFromTheTitleBarAnswersEight) {
    for (BOOL destroyOnEnd : {FALSE, TRUE}) {
        ConsentDialog dialog;
        dialog.SetParameters(COMPLETE);
        HWND window = dialog.CreateModeless(destroyOnEnd);
        ASSERT_NE(window, nullptr);
        // As the close button and Alt+F4 deliver it, through the dialog manager.
        SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(dialog.result, MIREL_RESULT_CLOSED) << destroyOnEnd;
        EXPECT_EQ(IsWindow(window) != FALSE, !destroyOnEnd) << destroyOnEnd;
        if (!destroyOnEnd) dialog.DestroyWnd();
    }
}

TEST(ConsentDialogModeless, ButtonsEndItWithTheirAnswers) {
    HostWindows host;
    ConsentDialog dialog;
    dialog.SetParameters(COMPLETE);
    HWND window = dialog.CreateModeless(FALSE);
    ASSERT_NE(window, nullptr);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_NO, BN_CLICKED), 0);
    EXPECT_EQ(dialog.result, MIREL_RESULT_NO);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_YES, BN_SETFOCUS), 0);
    EXPECT_EQ(dialog.result, MIREL_RESULT_NO) << "only clicks answer";
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_YES, BN_CLICKED), 0);
    EXPECT_EQ(dialog.result, MIREL_RESULT_YES);
    EXPECT_TRUE(IsWindow(window));
    dialog.DestroyWnd();
    EXPECT_TRUE(enableMessages.empty()) << "a modeless dialog leaves the host's windows alone";
}

TEST(ConsentDialogHostWindows, OnlyTheUsableWindowWaitsAndEveryEndingLetsItGo) {
    // What a quit message makes the dialog manager return is its own affair.
    const INT_PTR kAnyResult = -100;
    const struct {
        Ending ending;
        INT_PTR result;
    } cases[] = {{kYesButton, MIREL_RESULT_YES}, {kEndDialog, 5}, {kDestroyWnd, 0}, {kQuitMessage, kAnyResult}};
    for (const auto& c : cases) {
        HostWindows host;
        ConsentDialog* dialog = reinterpret_cast<ConsentDialog*>(GetDialogObject());
        dialog->SetParameters(COMPLETE);
        dialog->observer = EndAtApp;
        dialog->observerData = c.ending;
        std::string during;
        DialogDriver driver([&](HWND window) {
            during = host.Enabled();
            if (c.ending == kYesButton) Click(window, IDC_YES);
            else PostMessageA(window, WM_APP, 0, 0);
        });
        INT_PTR result = dialog->DoModal();
        driver.Finish();
        dialog->Destroy(1);
        MSG quit;
        PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);

        EXPECT_FALSE(driver.TimedOut()) << c.ending;
        if (c.result != kAnyResult) {
            EXPECT_EQ(result, c.result) << c.ending;
        }
        EXPECT_EQ(during, "001") << c.ending;
        EXPECT_EQ(host.Enabled(), "101") << c.ending;
        EXPECT_EQ(enableMessages, (std::vector<HWND>{host.usable, host.usable})) << c.ending;
        // EndWith enables it before the dialog hands activation on.
        if (c.ending == kYesButton) {
            EXPECT_EQ(GetActiveWindow(), host.usable);
        }
    }
}
