// Links and mouse in the HTML control: the cursor, hit testing on the
// scrolled layout, left clicks with their notifications and browser start,
// and the address box of Ctrl+Shift+right click. Wine gives every process a
// full elevated token: the clicks that start the browser from this process
// read no elevation; ElevatedLinks keeps the real token, and so has the
// desktop shell start the browser.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "dialog/ConsentDialog.h"
#include "html/CHaleSimpleHtmlCtrl.h"
#include "html/HandCursor.h"
#include "resources/resource.h"
#include "support/win/DialogDriver.h"
#include "support/win/ElevationAnswer.h"
#include "support/win/FakeBrowserLog.h"
#include "support/win/HtmlCtrlHost.h"
#include "support/win/ImportHook.h"
#include "support/win/RegistrySandbox.h"
#include "support/win/RuntimeFunctionHook.h"

namespace {

const int kControlId = 215;
const char kHref[] = "http://example.com/offer?id=7";
// The colours that kBody writes as "#RRGGBB".
const COLORREF kLinkColor = RGB(0x00, 0x00, 0xFF);
const COLORREF kVisitedColor = RGB(0x00, 0xA0, 0x00);
const std::string kBody = "<body link=\"#0000FF\" vlink=\"#00A000\" text=\"#000000\">";
const std::string kLinkText =
    kBody + "plain text <a href=\"" + kHref + "\">link words</a> and <a href=\"\">empty</a> tail</body>";

CHtmlElement* Word(const CHaleSimpleHtmlCtrl& control, const char* word) {
    for (int i = 0; i < control.elements.count; ++i) {
        CHtmlElement* element = control.GetElement(i);
        if (element->kind == HEK_TEXT && lstrcmpA(element->GetAttrib("value"), word) == 0) return element;
    }
    return nullptr;
}

RECT ClientBox(const CHaleSimpleHtmlCtrl& control, const CHtmlElement* element) {
    return control.ElementBox(element, -GetScrollPos(control.hwnd, SB_VERT));
}

POINT Center(const RECT& box) { return POINT{(box.left + box.right) / 2, (box.top + box.bottom) / 2}; }

void PointMouseAt(HWND window, POINT client) {
    POINT screen = client;
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
}

// The handlers read the real mouse position; the message's own coordinates
// point elsewhere on purpose.
LRESULT SetCursorMessage(HWND window) {
    return SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}
void LeftClick(HWND window) { SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 0)); }
void RightClick(HWND window) { SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(0, 0)); }

HCURSOR Arrow() { return LoadCursorA(nullptr, IDC_ARROW); }

bool IsTopmost(HWND window) { return (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

std::string TextOf(HWND window) {
    char text[512] = "";
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

// Counts the library's process starts and shell calls while it lives, and
// keeps the last command line; every start fails.
class LaunchCounter {
public:
    LaunchCounter()
        : process("kernel32.dll", "CreateProcessA", reinterpret_cast<void*>(&StartProcess)),
          shell("shell32.dll", "ShellExecuteA", reinterpret_cast<void*>(&Shell)) {
        starts = 0;
        lastCommand.clear();
    }
    bool Installed() const { return process.Installed() && shell.Installed(); }
    static int starts;
    static std::string lastCommand;

private:
    static BOOL WINAPI StartProcess(LPCSTR, LPSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
                                    DWORD, LPVOID, LPCSTR, LPSTARTUPINFOA, LPPROCESS_INFORMATION) {
        ++starts;
        lastCommand = commandLine ? commandLine : "";
        return FALSE;
    }
    static HINSTANCE WINAPI Shell(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) {
        ++starts;
        return nullptr;
    }
    ImportHook process;
    ImportHook shell;
};
int LaunchCounter::starts = 0;
std::string LaunchCounter::lastCommand;

// Records the cursors the library sets, and what each call replaced.
class CursorRecorder {
public:
    CursorRecorder() : hook("user32.dll", "SetCursor", reinterpret_cast<void*>(&Set)) {
        active = this;
        set.clear();
        replaced.clear();
    }
    ~CursorRecorder() { active = nullptr; }
    bool Installed() const { return hook.Installed(); }
    static std::vector<HCURSOR> set;
    static std::vector<HCURSOR> replaced;

private:
    static HCURSOR WINAPI Set(HCURSOR cursor) {
        set.push_back(cursor);
        HCURSOR previous = active->hook.Original<decltype(&SetCursor)>()(cursor);
        replaced.push_back(previous);
        return previous;
    }
    static CursorRecorder* active;
    ImportHook hook;
};
CursorRecorder* CursorRecorder::active = nullptr;
std::vector<HCURSOR> CursorRecorder::set;
std::vector<HCURSOR> CursorRecorder::replaced;

// Records the keys the library asks GetAsyncKeyState about and the answers.
// Keys listed in states are answered from there; others by the system.
class KeyStateWatch {
public:
    KeyStateWatch() : hook("user32.dll", "GetAsyncKeyState", reinterpret_cast<void*>(&State)) {
        active = this;
        states.clear();
        asked.clear();
        answers.clear();
    }
    ~KeyStateWatch() { active = nullptr; }
    bool Installed() const { return hook.Installed(); }
    // Whether the library saw the key down when it asked about it.
    static bool SawDown(int key) {
        for (size_t i = 0; i < asked.size(); ++i)
            if (asked[i] == key && (answers[i] & 0x8000)) return true;
        return false;
    }
    static std::map<int, SHORT> states;
    static std::vector<int> asked;
    static std::vector<SHORT> answers;

private:
    static SHORT WINAPI State(int key) {
        auto found = states.find(key);
        SHORT answer = found != states.end() ? found->second : active->hook.Original<decltype(&GetAsyncKeyState)>()(key);
        asked.push_back(key);
        answers.push_back(answer);
        return answer;
    }
    static KeyStateWatch* active;
    ImportHook hook;
};
KeyStateWatch* KeyStateWatch::active = nullptr;
std::map<int, SHORT> KeyStateWatch::states;
std::vector<int> KeyStateWatch::asked;
std::vector<SHORT> KeyStateWatch::answers;

// Keys held down through real input while it lives.
class HeldKeys {
public:
    explicit HeldKeys(std::vector<WORD> held) : keys(held) {
        for (WORD key : keys) Send(key, 0);
    }
    ~HeldKeys() {
        for (auto key = keys.rbegin(); key != keys.rend(); ++key) Send(*key, KEYEVENTF_KEYUP);
        MSG message;
        while (PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
        }
    }

private:
    static void Send(WORD key, DWORD flags) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = flags;
        SendInput(1, &input, sizeof(input));
    }
    std::vector<WORD> keys;
};

// Handles the window system's pending events. Under Wine the keyboard state
// is reset from the display's own keymap when such events (focus, pointer
// moves) are handled, which would undo injected keys pressed before.
void SettleInput() {
    for (int round = 0; round < 20; ++round) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    }
}

// What a message box showed.
struct BoxSeen {
    bool shown = false;
    std::string caption;
    std::string text;
    HWND owner = nullptr;
    int buttons = 0;
};

// Clicks the control and reads any dialog box the click opens, then closes it.
BoxSeen ClickAndReadBox(HWND control, void (*click)(HWND)) {
    BoxSeen seen;
    DialogDriver driver(
        [&seen](HWND box) {
            seen.shown = true;
            seen.caption = TextOf(box);
            seen.text = TextOf(GetDlgItem(box, 0xFFFF));
            seen.owner = GetWindow(box, GW_OWNER);
            for (HWND child = FindWindowExA(box, nullptr, "Button", nullptr); child;
                 child = FindWindowExA(box, child, "Button", nullptr))
                ++seen.buttons;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        },
        5000);
    click(control);
    driver.Finish();
    seen.shown = seen.shown || driver.EverShown();
    return seen;
}

BoxSeen RightClickAndReadBox(HWND control) { return ClickAndReadBox(control, RightClick); }

class HtmlLinks : public testing::Test {
protected:
    HtmlLinks() : unelevated(ElevationAnswer::kQueryFails), control(GetModuleHandleA(nullptr)) {}

    void Show(const std::string& html, int width = 360, int height = 160, BOOL scroll = FALSE) {
        ASSERT_TRUE(unelevated.Installed());
        ASSERT_TRUE(control.Attach(host.AddPlaceholder(kControlId, 10, 10, width, height)));
        control.SetMargins(8, 8, 6);
        control.SetScroll(scroll);
        control.SetHtml(html.c_str());
        PaintNow(control.hwnd);
        ASSERT_GT(control.elements.count, 0);
        // Injected keys go to the window with the keyboard focus.
        SetForegroundWindow(host.Window());
        SetFocus(control.hwnd);
    }
    POINT CenterOf(const char* word) {
        CHtmlElement* element = Word(control, word);
        EXPECT_NE(element, nullptr) << word;
        return element ? Center(ClientBox(control, element)) : POINT{-100, -100};
    }

    ElevationAnswer unelevated;
    CHaleSimpleHtmlCtrl control;
    HtmlCtrlHost host;
};

TEST_F(HtmlLinks, HandOverLinkWordsArrowOverPlainTextAndMargins) {
    Show(kLinkText);
    for (const char* word : {"link", "words"}) {
        PointMouseAt(control.hwnd, CenterOf(word));
        EXPECT_EQ(SetCursorMessage(control.hwnd), 1) << word;
        ASSERT_NE(control.handCursor, nullptr);
        EXPECT_EQ(GetCursor(), control.handCursor) << word;
    }
    HCURSOR hand = control.handCursor;
    for (const char* word : {"plain", "tail", "empty"}) {
        PointMouseAt(control.hwnd, CenterOf(word));
        EXPECT_EQ(SetCursorMessage(control.hwnd), 1) << word;
        EXPECT_EQ(GetCursor(), Arrow()) << word;
    }
    RECT client;
    GetClientRect(control.hwnd, &client);
    for (POINT margin : {POINT{2, 2}, POINT{client.right - 3, 20}, POINT{20, client.bottom - 3}}) {
        PointMouseAt(control.hwnd, margin);
        EXPECT_EQ(SetCursorMessage(control.hwnd), 0) << margin.x << "," << margin.y;
        EXPECT_EQ(GetCursor(), Arrow());
    }
    PointMouseAt(control.hwnd, CenterOf("link"));
    SetCursorMessage(control.hwnd);
    EXPECT_EQ(control.handCursor, hand) << "the hand is made once";
}

TEST(HandCursor, FingertipIsTheHotSpotAndTheHandStaysInTheUpperLeft) {
    HCURSOR cursor = CreateHandCursor(GetModuleHandleA(nullptr));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, static_cast<DWORD>(HAND_CURSOR_HOT_X));
    EXPECT_EQ(info.yHotspot, static_cast<DWORD>(HAND_CURSOR_HOT_Y));
    EXPECT_EQ(info.hbmColor, nullptr) << "monochrome";
    BITMAP mask = {};
    ASSERT_TRUE(GetObjectA(info.hbmMask, sizeof(mask), &mask));
    ASSERT_EQ(mask.bmWidth, HAND_CURSOR_SIZE);
    ASSERT_EQ(mask.bmHeight, 2 * HAND_CURSOR_SIZE);  // AND mask over XOR mask
    std::vector<BYTE> bits(static_cast<size_t>(mask.bmWidthBytes) * mask.bmHeight);
    ASSERT_EQ(GetBitmapBits(info.hbmMask, static_cast<LONG>(bits.size()), bits.data()), static_cast<LONG>(bits.size()));
    auto bit = [&](int row, int column) {
        return (bits[static_cast<size_t>(row) * mask.bmWidthBytes + column / 8] >> (7 - column % 8)) & 1;
    };
    auto andBit = [&](int x, int y) { return bit(y, x); };
    auto xorBit = [&](int x, int y) { return bit(y + HAND_CURSOR_SIZE, x); };
    EXPECT_EQ(andBit(HAND_CURSOR_HOT_X, HAND_CURSOR_HOT_Y), 0) << "the hot spot is drawn";
    EXPECT_EQ(xorBit(HAND_CURSOR_HOT_X, HAND_CURSOR_HOT_Y), 0) << "in black, the finger's outline";
    int white = 0, black = 0, strayOutside = 0;
    for (int y = 0; y < HAND_CURSOR_SIZE; ++y) {
        for (int x = 0; x < HAND_CURSOR_SIZE; ++x) {
            bool opaque = andBit(x, y) == 0;
            if (opaque && xorBit(x, y)) ++white;
            if (opaque && !xorBit(x, y)) ++black;
            bool inHandArea = y < 22 && x <= 16;
            if (!inHandArea && (opaque || xorBit(x, y))) ++strayOutside;
        }
    }
    EXPECT_GT(white, 50) << "a filled hand";
    EXPECT_GT(black, 30) << "with an outline";
    EXPECT_EQ(strayOutside, 0);
    DeleteObject(info.hbmMask);
    DestroyCursor(cursor);
}

TEST_F(HtmlLinks, EveryPlacedElementIsFoundAtItsBoxAndNothingElse) {
    // Narrow enough to wrap, so that spaces at line edges are dropped.
    Show(kBody + "one two three <b>four</b> five six <a href=\"" + kHref + "\">seven eight</a> nine ten</body>", 90, 200);
    int placed = 0;
    for (int i = 0; i < control.elements.count; ++i) {
        CHtmlElement* element = control.GetElement(i);
        RECT box = ClientBox(control, element);
        if (element->x < 0 || element->y < 0 || IsRectEmpty(&box)) continue;
        ++placed;
        EXPECT_EQ(control.ElementAtPoint(Center(box)), element) << "element " << i;
    }
    EXPECT_GT(placed, 10);
    RECT client;
    GetClientRect(control.hwnd, &client);
    int hits = 0;
    for (int y = 0; y < client.bottom; y += 2) {
        for (int x = 0; x < client.right; x += 2) {
            CHtmlElement* found = control.ElementAtPoint(POINT{x, y});
            if (!found) continue;
            ++hits;
            RECT box = ClientBox(control, found);
            EXPECT_TRUE(found->x >= 0 && found->y >= 0) << "unplaced element found at " << x << "," << y;
            EXPECT_TRUE(PtInRect(&box, POINT{x, y})) << x << "," << y;
        }
    }
    EXPECT_GT(hits, 0);
    EXPECT_EQ(control.ElementAtPoint(POINT{1, 1}), nullptr) << "left and top margins";
}

TEST_F(HtmlLinks, HitTestingFollowsTheScrollPosition) {
    std::string html = kBody;
    for (int line = 0; line < 30; ++line) {
        std::string word = "line" + std::to_string(line);
        html += line == 12 ? "<a href=\"" + std::string(kHref) + "\">" + word + "</a><br>" : word + "<br>";
    }
    Show(html + "</body>", 200, 100, TRUE);
    CHtmlElement* target = Word(control, "line12");
    ASSERT_NE(target, nullptr);
    RECT unscrolled = control.ElementBox(target, 0);
    ASSERT_GT(unscrolled.top, 60);
    const int scroll = 30;
    SetScrollPos(control.hwnd, SB_VERT, scroll, FALSE);
    ASSERT_EQ(GetScrollPos(control.hwnd, SB_VERT), scroll);

    POINT scrolledPlace = {(unscrolled.left + unscrolled.right) / 2, unscrolled.top - scroll + 1};
    POINT oldPlace = {scrolledPlace.x, unscrolled.top + 1};
    EXPECT_EQ(control.ElementAtPoint(scrolledPlace), target);
    CHtmlElement* atOldPlace = control.ElementAtPoint(oldPlace);
    EXPECT_NE(atOldPlace, target);

    PointMouseAt(control.hwnd, scrolledPlace);
    EXPECT_EQ(SetCursorMessage(control.hwnd), 1);
    EXPECT_EQ(GetCursor(), control.handCursor);
    PointMouseAt(control.hwnd, oldPlace);
    SetCursorMessage(control.hwnd);
    EXPECT_EQ(GetCursor(), Arrow());
}

TEST_F(HtmlLinks, PlainTextClickSendsFourFiveSixAtOnceAndStartsNothing) {
    Show(kLinkText);
    LaunchCounter launches;
    ASSERT_TRUE(launches.Installed());
    PointMouseAt(control.hwnd, CenterOf("plain"));
    DWORD start = GetTickCount();
    LeftClick(control.hwnd);
    DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(host.Notifications(), (std::vector<UINT>{4, 5, 6}));
    EXPECT_LT(elapsed, 1000u);
    EXPECT_EQ(LaunchCounter::starts, 0);
}

TEST_F(HtmlLinks, ClickOutsideEveryElementDoesNothing) {
    Show(kLinkText);
    LaunchCounter launches;
    ASSERT_TRUE(launches.Installed());
    PointMouseAt(control.hwnd, POINT{2, 2});
    LeftClick(control.hwnd);
    EXPECT_TRUE(host.Notifications().empty());
    EXPECT_EQ(LaunchCounter::starts, 0);
}

TEST_F(HtmlLinks, FailedLaunchOfALinkIsReportedWithFive) {
    Show(kLinkText);
    LaunchCounter launches;  // every start fails
    ASSERT_TRUE(launches.Installed());
    RegistrySandbox registry;
    ASSERT_TRUE(registry.SetString(HKEY_CLASSES_ROOT, ".htm", nullptr, "MirelTest.Html"));
    ASSERT_TRUE(registry.SetString(HKEY_CLASSES_ROOT, "MirelTest.Html\\shell\\open\\command", nullptr,
                                   "C:\\browser.exe \"%1\""));
    PointMouseAt(control.hwnd, CenterOf("link"));
    DWORD start = GetTickCount();
    LeftClick(control.hwnd);
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_EQ(LaunchCounter::starts, 1);
    EXPECT_EQ(host.Notifications(), (std::vector<UINT>{4, 5, 6}));
}

TEST_F(HtmlLinks, OnlyPlainAddressesReachTheBrowser) {
    const struct {
        const char* href;
        bool launched;
    } cases[] = {
        {"https://example.test/path?q=1", true},
        {"-k http://e.test/", false},
        {"--renderer-cmd-prefix=calc.exe", false},
        {"/c calc.exe", false},
        {"javascript:alert(1)", false},
        {"VBScript:msgbox(1)", false},
    };
    std::string html = kBody;
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i)
        html += "<a href=\"" + std::string(cases[i].href) + "\">w" + std::to_string(i) + "</a> ";
    Show(html + "</body>");
    LaunchCounter launches;
    ASSERT_TRUE(launches.Installed());
    RegistrySandbox registry;
    // An unquoted placeholder, as some registrations have it.
    ASSERT_TRUE(registry.SetString(HKEY_CLASSES_ROOT, ".htm", nullptr, "MirelTest.Html"));
    ASSERT_TRUE(registry.SetString(HKEY_CLASSES_ROOT, "MirelTest.Html\\shell\\open\\command", nullptr,
                                   "C:\\browser.exe %1"));
    std::vector<UINT> expected;
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        int startsBefore = LaunchCounter::starts;
        PointMouseAt(control.hwnd, CenterOf(("w" + std::to_string(i)).c_str()));
        LeftClick(control.hwnd);
        expected.insert(expected.end(), {4, 5, 6});
        EXPECT_EQ(host.Notifications(), expected) << cases[i].href;
        EXPECT_EQ(LaunchCounter::starts - startsBefore, cases[i].launched ? 1 : 0) << cases[i].href;
        if (cases[i].launched) {
            EXPECT_EQ(LaunchCounter::lastCommand, std::string("C:\\browser.exe ") + cases[i].href);
        }
    }
}

// Real key input. Under Wine the injected state can be reset by the window
// system before the click reads it; such a try proves nothing and is repeated.
TEST_F(HtmlLinks, CtrlShiftRightClickOnALinkShowsItsAddress) {
    Show(kLinkText);
    LaunchCounter launches;
    PointMouseAt(control.hwnd, CenterOf("words"));
    for (int attempt = 0; attempt < 5; ++attempt) {
        SettleInput();
        KeyStateWatch watch;
        ASSERT_TRUE(watch.Installed());
        BoxSeen seen;
        {
            HeldKeys keys({VK_CONTROL, VK_SHIFT});
            seen = RightClickAndReadBox(control.hwnd);
        }
        if (!KeyStateWatch::SawDown(VK_CONTROL) || !KeyStateWatch::SawDown(VK_SHIFT)) continue;
        ASSERT_TRUE(seen.shown);
        EXPECT_EQ(seen.caption, "Hyperlink URL");
        EXPECT_EQ(seen.text, kHref);
        EXPECT_EQ(seen.owner, host.Window());
        EXPECT_EQ(seen.buttons, 1) << "OK only";
        EXPECT_TRUE(host.Notifications().empty()) << "the link is not opened";
        EXPECT_EQ(LaunchCounter::starts, 0);
        return;
    }
    GTEST_SKIP() << "the injected keys never reached the click; KeyDecisionAsksCtrlFirstAndNeedsBothHighBits "
                    "covers the decision with a stubbed key state";
}

TEST_F(HtmlLinks, CtrlOrShiftAloneShowsNothing) {
    Show(kLinkText);
    PointMouseAt(control.hwnd, CenterOf("link"));
    for (WORD held : {VK_CONTROL, VK_SHIFT}) {
        SettleInput();
        KeyStateWatch watch;
        ASSERT_TRUE(watch.Installed());
        HeldKeys keys({held});
        EXPECT_FALSE(RightClickAndReadBox(control.hwnd).shown) << held;
        EXPECT_FALSE(KeyStateWatch::SawDown(held == VK_CONTROL ? VK_SHIFT : VK_CONTROL)) << held;
    }
    EXPECT_TRUE(host.Notifications().empty());
}

TEST_F(HtmlLinks, KeyDecisionAsksCtrlFirstAndNeedsBothHighBits) {
    Show(kLinkText);
    PointMouseAt(control.hwnd, CenterOf("link"));
    const SHORT down = static_cast<SHORT>(0x8000);
    const SHORT pressedEarlier = 0x0001;  // low bit only: not down now
    const struct {
        SHORT ctrl;
        SHORT shift;
        std::vector<int> asked;
        bool shows;
    } cases[] = {
        {0, down, {VK_CONTROL}, false},
        {pressedEarlier, down, {VK_CONTROL}, false},
        {down, 0, {VK_CONTROL, VK_SHIFT}, false},
        {down, pressedEarlier, {VK_CONTROL, VK_SHIFT}, false},
        {down, down, {VK_CONTROL, VK_SHIFT}, true},
        {static_cast<SHORT>(0x8001), static_cast<SHORT>(0x8001), {VK_CONTROL, VK_SHIFT}, true},
    };
    for (const auto& c : cases) {
        KeyStateWatch keys;
        ASSERT_TRUE(keys.Installed());
        KeyStateWatch::states[VK_CONTROL] = c.ctrl;
        KeyStateWatch::states[VK_SHIFT] = c.shift;
        BoxSeen seen = RightClickAndReadBox(control.hwnd);
        EXPECT_EQ(KeyStateWatch::asked, c.asked) << c.ctrl << "/" << c.shift;
        EXPECT_EQ(seen.shown, c.shows) << c.ctrl << "/" << c.shift;
        if (c.shows) {
            EXPECT_EQ(seen.caption, "Hyperlink URL");
            EXPECT_EQ(seen.text, kHref);
        }
    }
}

TEST_F(HtmlLinks, CtrlShiftRightClickOutsideALinkShowsNothing) {
    Show(kLinkText);
    KeyStateWatch keys;
    ASSERT_TRUE(keys.Installed());
    KeyStateWatch::states[VK_CONTROL] = static_cast<SHORT>(0x8000);
    KeyStateWatch::states[VK_SHIFT] = static_cast<SHORT>(0x8000);
    for (POINT place : {CenterOf("plain"), CenterOf("empty"), POINT{2, 2}}) {
        PointMouseAt(control.hwnd, place);
        EXPECT_FALSE(RightClickAndReadBox(control.hwnd).shown) << place.x << "," << place.y;
    }
}

// One WM_NOTIFY the consent dialog received, as its observer saw it.
struct Notification {
    UINT code;
    DWORD tick;
    HWND from;
    UINT_PTR id;
    WPARAM wParam;
    DWORD extra;
    bool topmost;
};
std::vector<Notification> notifications;

LONG CALLBACK RecordNotify(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD) {
    if (message != WM_NOTIFY || !lParam) return 0;
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    DWORD extra = *reinterpret_cast<const DWORD*>(reinterpret_cast<const BYTE*>(lParam) + sizeof(NMHDR));
    notifications.push_back(
        Notification{header->code, GetTickCount(), header->hwndFrom, header->idFrom, wParam, extra, IsTopmost(window)});
    return 0;
}

int Count(const ClientCapture& capture, const RECT& box, COLORREF color) { return capture.Count(box, color); }

TEST(ConsentDialogLinks, LinkClickOpensTheBrowserRecoloursTheLinkAndDropsTopmost) {
    ElevationAnswer unelevated(ElevationAnswer::kQueryFails);
    ASSERT_TRUE(unelevated.Installed());
    RegistrySandbox registry;
    FakeBrowserLog browser;
    ASSERT_TRUE(browser.BrowserExists());
    ASSERT_TRUE(registry.SetString(HKEY_CLASSES_ROOT, ".htm", nullptr, "MirelTest.Html"));
    std::string command = browser.QuotedBrowserPath() + " \"%1\"";
    ASSERT_TRUE(registry.SetString(HKEY_CLASSES_ROOT, "MirelTest.Html\\shell\\open\\command", nullptr, command.c_str()));

    std::string parameters = "<TITLE>Links</TITLE><LOCATION>Top-Left</LOCATION><WIDTH>400</WIDTH><MESSAGE>" + kBody +
                             "Plain words then <a href=\"" + kHref +
                             "\">the offer link</a> end.</body></MESSAGE><DISCLAIMER>Small print.</DISCLAIMER>";
    ConsentDialog dialog;
    notifications.clear();
    dialog.observer = RecordNotify;
    dialog.SetParameters(parameters.c_str());
    HWND window = dialog.CreateModeless(FALSE);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    EXPECT_TRUE(IsTopmost(window));

    CHaleSimpleHtmlCtrl& message = dialog.messageCtrl;
    CHtmlElement* offer = Word(message, "offer");
    ASSERT_NE(offer, nullptr);
    ASSERT_NE(offer->linkAnchor, nullptr);
    CHtmlElement* anchor = offer->linkAnchor;
    std::vector<RECT> wordBoxes;
    for (int i = 0; i < anchor->linkMembers.count; ++i)
        if (anchor->linkMembers.GetAt(i)->kind == HEK_TEXT)
            wordBoxes.push_back(ClientBox(message, anchor->linkMembers.GetAt(i)));
    ASSERT_EQ(wordBoxes.size(), 3u);
    PaintNow(message.hwnd);
    {
        ClientCapture before(message.hwnd);
        for (const RECT& box : wordBoxes) {
            EXPECT_GT(Count(before, box, kLinkColor), 0);
            EXPECT_EQ(Count(before, box, kVisitedColor), 0);
        }
    }

    PointMouseAt(message.hwnd, Center(ClientBox(message, offer)));
    {
        CursorRecorder cursors;
        ASSERT_TRUE(cursors.Installed());
        LeftClick(message.hwnd);
        ASSERT_EQ(CursorRecorder::set.size(), 2u);
        EXPECT_EQ(CursorRecorder::set[0], LoadCursorA(nullptr, IDC_WAIT));
        EXPECT_EQ(CursorRecorder::set[1], CursorRecorder::replaced[0]) << "the cursor before the wait comes back";
    }

    ASSERT_EQ(notifications.size(), 2u);
    EXPECT_EQ(notifications[0].code, 4u);
    EXPECT_EQ(notifications[1].code, 6u);
    DWORD wait = notifications[1].tick - notifications[0].tick;
    EXPECT_GE(wait, 1900u);
    EXPECT_LT(wait, 5000u);
    EXPECT_FALSE(notifications[0].topmost) << "topmost is dropped on code 4, before the browser starts";
    for (const Notification& n : notifications) {
        EXPECT_EQ(n.from, message.hwnd);
        EXPECT_EQ(n.id, static_cast<UINT_PTR>(IDC_MESSAGE));
        EXPECT_EQ(n.wParam, static_cast<WPARAM>(IDC_MESSAGE));
        EXPECT_EQ(n.extra, 0u);
    }
    EXPECT_TRUE(IsWindow(window)) << "the dialog stays open";
    EXPECT_FALSE(IsTopmost(window));

    std::vector<LaunchRecord> records = browser.WaitForRecords(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].args, (std::vector<std::string>{kHref}));

    EXPECT_EQ(anchor->GetAttribNumber("linkcolor", -1, AT_COLOR), static_cast<int>(kVisitedColor));
    // Only what the click invalidated is painted now.
    UpdateWindow(message.hwnd);
    ClientCapture after(message.hwnd);
    for (const RECT& box : wordBoxes) {
        EXPECT_GT(Count(after, box, kVisitedColor), 0);
        EXPECT_EQ(Count(after, box, kLinkColor), 0);
    }
    DestroyWindow(window);
}

// The library's CoCreateInstance, the first call of a hand-off to the desktop
// shell: the row's action on the control first, then the system's call or
// the answer of a system without a desktop shell.
struct HandOff {
    static void (*meanwhile)(HWND control);
    static HWND control;
    static bool unreachable;

    static HRESULT WINAPI Create(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object) {
        if (meanwhile) meanwhile(control);
        *object = nullptr;
        if (unreachable) return REGDB_E_CLASSNOTREG;
        return RuntimeFunctionHook::System<decltype(&CoCreateInstance)>("ole32.dll", "CoCreateInstance")(
            clsid, outer, context, iid, object);
    }
};
void (*HandOff::meanwhile)(HWND) = nullptr;
HWND HandOff::control = nullptr;
bool HandOff::unreachable = false;

void DestroyControl(HWND control) { DestroyWindow(control); }

// With the real, full elevated token of a Wine process a click has the
// desktop shell start the browser, the address (with a blank) encoded as one
// argument; where the shell cannot be reached the control shows the address.
TEST(ElevatedLinks, ClickHasTheDesktopShellStartTheBrowser) {
    const char href[] = "http://example.test/offer?id=7 b";
    const struct {
        const char* name;
        bool unreachable;
        void (*meanwhile)(HWND);
        std::vector<UINT> notifications;
        size_t browsers;
        bool box;
    } cases[] = {
        {"the shell answers", false, nullptr, {4, 6}, 1, false},
        {"the shell is unreachable", true, nullptr, {4, 5, 6}, 0, true},
        {"a second click meanwhile", false, LeftClick, {4, 6}, 1, false},
        {"the dialog ends meanwhile", true, DestroyControl, {4}, 0, false},
    };
    RegistrySandbox registry;
    FakeBrowserLog browser;
    std::string command = browser.QuotedBrowserPath() + " " + browser.LogArgument() + " \"%1\"";
    ASSERT_TRUE(registry.SetString(HKEY_CLASSES_ROOT, ".htm", nullptr, "MirelTest.Html"));
    ASSERT_TRUE(
        registry.SetString(HKEY_CLASSES_ROOT, "MirelTest.Html\\shell\\open\\command", nullptr, command.c_str()));
    RuntimeFunctionHook hook("CoCreateInstance", reinterpret_cast<void*>(&HandOff::Create));
    LaunchCounter ownStarts;
    ASSERT_TRUE(hook.Installed() && ownStarts.Installed());
    size_t browsers = 0;
    for (const auto& c : cases) {
        CHaleSimpleHtmlCtrl control(GetModuleHandleA(nullptr));
        HtmlCtrlHost host;
        ASSERT_TRUE(control.Attach(host.AddPlaceholder(kControlId, 10, 10, 360, 160)));
        control.SetHtml((kBody + "<a href=\"" + href + "\">offer</a></body>").c_str());
        PaintNow(control.hwnd);
        PointMouseAt(control.hwnd, Center(ClientBox(control, Word(control, "offer"))));
        HandOff::control = control.hwnd;
        HandOff::meanwhile = c.meanwhile;
        HandOff::unreachable = c.unreachable;
        BoxSeen seen = ClickAndReadBox(control.hwnd, LeftClick);
        HandOff::meanwhile = nullptr;
        EXPECT_EQ(host.Notifications(), c.notifications) << c.name;
        EXPECT_EQ(seen.shown ? seen.caption + ": " + seen.text : "", c.box ? std::string("Hyperlink URL: ") + href : "")
            << c.name;
        browsers += c.browsers;
        std::vector<LaunchRecord> records = browser.WaitForRecords(browsers, c.browsers ? 10000 : 1000);
        ASSERT_EQ(records.size(), browsers) << c.name;
        if (!c.browsers) continue;
        EXPECT_EQ(records.back().parentProgram, "explorer.exe") << c.name;
        EXPECT_EQ(records.back().args, (std::vector<std::string>{"http://example.test/offer?id=7%20b"})) << c.name;
    }
    EXPECT_EQ(LaunchCounter::starts, 0) << "nothing was started from this process";
}

// An installer started from a Downloads folder finds there whatever was put
// beside it: a copy of the library planted there as oleacc.dll must not be
// what loads when an accessibility client first asks.
TEST(SystemLibraries, APlantedOleaccBesideTheProgramIsNotLoaded) {
    ASSERT_EQ(GetModuleHandleA("oleacc.dll"), nullptr) << "loaded before the plant: nothing to prove";
    std::string planted = ProgramDirectory() + "\\oleacc.dll";
    ASSERT_TRUE(CopyFileA((ProgramDirectory() + "\\MirelDialog.dll").c_str(), planted.c_str(), FALSE));
    {
        CHaleSimpleHtmlCtrl control(GetModuleHandleA(nullptr));
        HtmlCtrlHost host;
        ASSERT_TRUE(control.Attach(host.AddPlaceholder(kControlId, 10, 10, 200, 60)));
        SendMessageA(control.hwnd, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    }
    char loaded[MAX_PATH] = "";
    char system[MAX_PATH] = "";
    GetModuleFileNameA(GetModuleHandleA("oleacc.dll"), loaded, MAX_PATH);
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(lstrcmpiA(loaded, (std::string(system) + "\\oleacc.dll").c_str()), 0) << loaded;
    EXPECT_TRUE(DeleteFileA(planted.c_str()));
}

}  // namespace
