// What accessibility clients and keyboard users get from the consent dialog's
// HTML controls: the accessible object's names, roles, states, children and
// places, its default action, Tab and Enter over the links, the focus on Yes
// when the dialog opens, and an object that outlives its window.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "dialog/ConsentDialog.h"
#include "resources/resource.h"
#include "support/win/DialogDriver.h"
#include "support/win/FakeBrowserLog.h"
#include "support/win/HtmlCtrlHost.h"
#include "support/win/RegistrySandbox.h"

namespace {

// The import library's IID_IAccessible is a code thunk, not the GUID.
const IID kIidAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

const char kTerms[] = "https://example.com/terms";
const char kPrivacy[] = "https://example.com/privacy";
const char kLicence[] = "https://example.com/licence";
// Entities, styles, a break, a run of blanks and two links, one of them styled inside.
const std::string kMessage = std::string("<body>Read <b>the</b> &quot;terms&quot; &amp; <a href=\"") + kTerms +
                             "\">the <i>terms</i> &amp; rules</a><br>and   <font color=\"#FF0000\">the</font> <a href=\"" +
                             kPrivacy + "\">privacy&nbsp;note</a>.</body>";
const std::string kParameters = "<TITLE>Access</TITLE><LOCATION>Top-Left</LOCATION><WIDTH>400</WIDTH><MESSAGE>" +
                                kMessage + "</MESSAGE><DISCLAIMER>Accept the <a href=\"" + kLicence +
                                "\">licence</a> now.</DISCLAIMER>";

VARIANT Child(LONG id) {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

std::string Take(BSTR text) {
    if (!text) return "(null)";
    char narrow[1024] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    SysFreeString(text);
    return narrow;
}

RECT Union(RECT a, const RECT& b) {
    UnionRect(&a, &a, &b);
    return a;
}

// The screen box of the link's placed words and spaces, found from the layout.
RECT ScreenBoxOfLink(const CHaleSimpleHtmlCtrl& control, int link) {
    RECT box = {0, 0, 0, 0};
    CHtmlElement* anchor = control.LinkAnchorAt(link);
    int shift = -GetScrollPos(control.hwnd, SB_VERT);
    for (int i = 0; anchor && i < anchor->linkMembers.count; ++i) {
        CHtmlElement* member = anchor->linkMembers.GetAt(i);
        if (member->x >= 0 && member->y >= 0) box = Union(box, control.ElementBox(member, shift));
    }
    MapWindowPoints(control.hwnd, nullptr, reinterpret_cast<POINT*>(&box), 2);
    return box;
}

RECT Location(IAccessible* object, LONG child) {
    LONG left = -1, top = -1, width = -1, height = -1;
    EXPECT_EQ(object->accLocation(&left, &top, &width, &height, Child(child)), S_OK) << child;
    return RECT{left, top, left + width, top + height};
}

bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

// Messages of the modeless dialog, through the dialog manager as a host's loop does.
void Pump(HWND dialog) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (IsDialogMessageA(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void SetShift(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

void PressKey(HWND dialog, WPARAM key) {
    PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
    PostMessageA(GetFocus(), WM_KEYUP, key, 0xC0000001);
    Pump(dialog);
}

std::vector<LONG> focusEvents;
void CALLBACK RecordFocus(HWINEVENTHOOK, DWORD, HWND, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT) focusEvents.push_back(child);
}

std::vector<UINT> notifications;
LONG CALLBACK RecordNotify(HWND, UINT message, WPARAM, LPARAM lParam, DWORD) {
    if (message == WM_NOTIFY && lParam) notifications.push_back(reinterpret_cast<const NMHDR*>(lParam)->code);
    return 0;
}

class HtmlAccess : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        notifications.clear();
        dialog.observer = RecordNotify;
        dialog.SetParameters(kParameters.c_str());
        window = dialog.CreateModeless(FALSE);
        ASSERT_NE(window, nullptr);
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        UpdateWindow(window);
        Pump(window);
    }
    void TearDown() override {
        if (IsWindow(window)) DestroyWindow(window);
        CoUninitialize();
    }
    // The stand-in browser answers every link; a launch then waits two seconds.
    void RegisterFakeBrowser() {
        ASSERT_TRUE(browser.BrowserExists());
        ASSERT_TRUE(registry.SetString(HKEY_CLASSES_ROOT, ".htm", nullptr, "MirelTest.Html"));
        std::string command = browser.QuotedBrowserPath() + " \"%1\"";
        ASSERT_TRUE(
            registry.SetString(HKEY_CLASSES_ROOT, "MirelTest.Html\\shell\\open\\command", nullptr, command.c_str()));
    }
    IAccessible* Object(HWND control) {
        IAccessible* object = nullptr;
        EXPECT_EQ(AccessibleObjectFromWindow(control, OBJID_CLIENT, kIidAccessible, reinterpret_cast<void**>(&object)),
                  S_OK);
        return object;
    }

    RegistrySandbox registry;
    FakeBrowserLog browser;
    ConsentDialog dialog;
    HWND window = nullptr;
};

TEST_F(HtmlAccess, TheMessageReadsAsTextWithOneLinkChildPerLink) {
    IAccessible* object = Object(dialog.messageCtrl.hwnd);
    ASSERT_NE(object, nullptr);
    LONG count = -1;
    EXPECT_EQ(object->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 2);
    const struct {
        LONG child;
        const char* name;
        const char* value;
        LONG role;
        LONG state;
        const char* action;
    } rows[] = {
        {CHILDID_SELF, "Read the \"terms\" & the terms & rules and the privacy note.", "(null)",
         ROLE_SYSTEM_STATICTEXT, STATE_SYSTEM_READONLY, "(null)"},
        {1, "the terms & rules", kTerms, ROLE_SYSTEM_LINK, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_LINKED, "Click"},
        {2, "privacy note", kPrivacy, ROLE_SYSTEM_LINK, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_LINKED, "Click"},
    };
    for (const auto& row : rows) {
        BSTR text = nullptr;
        EXPECT_EQ(object->get_accName(Child(row.child), &text), S_OK) << row.child;
        EXPECT_EQ(Take(text), row.name) << row.child;
        text = nullptr;
        object->get_accValue(Child(row.child), &text);
        EXPECT_EQ(Take(text), row.value) << row.child;
        text = nullptr;
        object->get_accDefaultAction(Child(row.child), &text);
        EXPECT_EQ(Take(text), row.action) << row.child;
        VARIANT role, state;
        EXPECT_EQ(object->get_accRole(Child(row.child), &role), S_OK);
        EXPECT_EQ(role.vt, VT_I4);
        EXPECT_EQ(role.lVal, row.role) << row.child;
        EXPECT_EQ(object->get_accState(Child(row.child), &state), S_OK);
        EXPECT_EQ(state.lVal, row.state) << row.child;
        IDispatch* child = reinterpret_cast<IDispatch*>(1);
        EXPECT_EQ(object->get_accChild(Child(row.child), &child), row.child == CHILDID_SELF ? E_INVALIDARG : S_FALSE);
        EXPECT_EQ(child, nullptr);
    }
    for (VARIANT bad : {Child(3), Child(-1)}) {
        BSTR text = nullptr;
        EXPECT_EQ(object->get_accName(bad, &text), E_INVALIDARG) << bad.lVal;
        IDispatch* child = nullptr;
        EXPECT_EQ(object->get_accChild(bad, &child), E_INVALIDARG) << bad.lVal;
    }
    object->Release();
}

TEST_F(HtmlAccess, LinksAreLocatedAndHitOnTheirOwnWords) {
    CHaleSimpleHtmlCtrl& message = dialog.messageCtrl;
    IAccessible* object = Object(message.hwnd);
    ASSERT_NE(object, nullptr);
    RECT window = {0, 0, 0, 0};
    GetWindowRect(message.hwnd, &window);
    EXPECT_TRUE(Location(object, CHILDID_SELF) == window);
    for (int link = 0; link < 2; ++link) {
        RECT expected = ScreenBoxOfLink(message, link);
        RECT found = Location(object, link + 1);
        EXPECT_FALSE(IsRectEmpty(&expected));
        EXPECT_TRUE(found == expected) << link << ": " << found.left << "," << found.top << " " << found.right << ","
                                       << found.bottom;
        EXPECT_FALSE(found == window);
        VARIANT hit;
        EXPECT_EQ(object->accHitTest((found.left + found.right) / 2, (found.top + found.bottom) / 2, &hit), S_OK);
        EXPECT_EQ(hit.vt, VT_I4);
        EXPECT_EQ(hit.lVal, link + 1);
    }
    VARIANT hit;
    EXPECT_EQ(object->accHitTest(window.left + 1, window.top + 1, &hit), S_OK);
    EXPECT_EQ(hit.lVal, CHILDID_SELF) << "a margin or plain word is the text itself";
    EXPECT_EQ(object->accHitTest(window.left - 5, window.top, &hit), S_FALSE);
    EXPECT_EQ(hit.vt, VT_EMPTY);
    object->Release();
}

TEST_F(HtmlAccess, TheParentIsTheControlsWindowObject) {
    IAccessible* object = Object(dialog.messageCtrl.hwnd);
    ASSERT_NE(object, nullptr);
    IDispatch* parentDispatch = nullptr;
    ASSERT_EQ(object->get_accParent(&parentDispatch), S_OK);
    IAccessible* parent = nullptr;
    ASSERT_EQ(parentDispatch->QueryInterface(kIidAccessible, reinterpret_cast<void**>(&parent)), S_OK);
    HWND owner = nullptr;
    EXPECT_EQ(WindowFromAccessibleObject(parent, &owner), S_OK);
    EXPECT_EQ(owner, dialog.messageCtrl.hwnd);
    BSTR name = nullptr;
    HRESULT named = parent->get_accName(Child(CHILDID_SELF), &name);
    printf("[ window   ] the message's window object: name 0x%08lx \"%s\"\n", static_cast<unsigned long>(named),
           Take(name).c_str());
    parent->Release();
    parentDispatch->Release();
    object->Release();
}

TEST_F(HtmlAccess, DefaultActionReturnsAtOnceThenOpensTheLinkLikeAClick) {
    RegisterFakeBrowser();
    IAccessible* object = Object(dialog.messageCtrl.hwnd);
    ASSERT_NE(object, nullptr);
    POINT mouse, after;
    GetCursorPos(&mouse);
    EXPECT_EQ(object->accDoDefaultAction(Child(2)), S_OK);
    EXPECT_TRUE(notifications.empty()) << "nothing happens inside the client's call";
    EXPECT_EQ(object->accDoDefaultAction(Child(CHILDID_SELF)), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(object->accDoDefaultAction(Child(3)), E_INVALIDARG);
    Pump(window);
    EXPECT_EQ(notifications, (std::vector<UINT>{4, 6}));
    std::vector<LaunchRecord> records = browser.WaitForRecords(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].args, (std::vector<std::string>{kPrivacy}));
    GetCursorPos(&after);
    EXPECT_TRUE(after.x == mouse.x && after.y == mouse.y) << "the mouse pointer stays";
    VARIANT state;
    object->get_accState(Child(2), &state);
    EXPECT_EQ(state.lVal, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_LINKED | STATE_SYSTEM_TRAVERSED);
    object->get_accState(Child(1), &state);
    EXPECT_EQ(state.lVal, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_LINKED);
    object->Release();
}

TEST_F(HtmlAccess, TabWalksYesNoAndEveryLinkThenEnterOpensTheFocusedOne) {
    HWND message = dialog.messageCtrl.hwnd;
    HWND disclaimer = dialog.disclaimerCtrl.hwnd;
    EXPECT_EQ(GetFocus(), GetDlgItem(window, IDC_YES));
    EXPECT_TRUE(GetWindowLongA(message, GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(GetWindowLongA(disclaimer, GWL_STYLE) & WS_TABSTOP);
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, RecordFocus,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    const struct {
        bool shift;
        HWND focus;
        int link;
    } steps[] = {
        {false, GetDlgItem(window, IDC_NO), -1}, {false, disclaimer, 0}, {false, message, 0}, {false, message, 1},
        {false, GetDlgItem(window, IDC_YES), -1}, {true, message, 1}, {true, message, 0}, {true, disclaimer, 0},
        {false, message, 0},
    };
    for (const auto& step : steps) {
        focusEvents.clear();
        SetShift(step.shift);
        PressKey(window, VK_TAB);
        EXPECT_EQ(GetFocus(), step.focus) << &step - steps;
        if (step.link < 0) continue;
        CHaleSimpleHtmlCtrl& control = step.focus == message ? dialog.messageCtrl : dialog.disclaimerCtrl;
        EXPECT_EQ(control.FocusedLink(), step.link) << &step - steps;
        Pump(window);
        EXPECT_EQ(focusEvents.empty() ? -1 : focusEvents.back(), step.link + 1) << &step - steps;
    }
    SetShift(false);
    if (hook) UnhookWinEvent(hook);
    ASSERT_EQ(GetFocus(), message);
    ASSERT_EQ(dialog.messageCtrl.FocusedLink(), 0);
    RegisterFakeBrowser();
    PressKey(window, VK_RETURN);
    EXPECT_EQ(notifications, (std::vector<UINT>{4, 6}));
    PressKey(window, VK_TAB);
    PressKey(window, VK_SPACE);
    EXPECT_EQ(notifications, (std::vector<UINT>{4, 6, 4, 6}));
    std::vector<LaunchRecord> records = browser.WaitForRecords(2);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].args, (std::vector<std::string>{kTerms}));
    EXPECT_EQ(records[1].args, (std::vector<std::string>{kPrivacy}));
    EXPECT_TRUE(IsWindow(window)) << "Enter on a link is not the dialog's OK";
    EXPECT_EQ(dialog.result, MIREL_RESULT_INCOMPLETE);
}

TEST_F(HtmlAccess, TheFocusedLinkWearsARectangleThatMovesWithIt) {
    HWND message = dialog.messageCtrl.hwnd;
    SetFocus(message);
    Pump(window);
    RECT boxes[2];
    for (int link = 0; link < 2; ++link) {
        boxes[link] = dialog.messageCtrl.LinkBounds(link);
        boxes[link].bottom = boxes[link].top + 1;  // the top edge
    }
    const COLORREF background = GetSysColor(COLOR_BTNFACE);
    for (int focused = 0; focused < 2; ++focused) {
        dialog.messageCtrl.FocusLink(focused);
        UpdateWindow(message);
        ClientCapture capture(message);
        EXPECT_GT(capture.CountOther(boxes[focused], background), 0) << focused;
        EXPECT_EQ(capture.CountOther(boxes[1 - focused], background), 0) << focused;
    }
}

TEST_F(HtmlAccess, AControlWithoutLinksIsNoTabStop) {
    dialog.disclaimerCtrl.SetHtml("No links here.");
    EXPECT_FALSE(GetWindowLongA(dialog.disclaimerCtrl.hwnd, GWL_STYLE) & WS_TABSTOP);
    dialog.disclaimerCtrl.FitHeightToContent();
    EXPECT_FALSE(GetWindowLongA(dialog.disclaimerCtrl.hwnd, GWL_STYLE) & WS_TABSTOP);
    dialog.disclaimerCtrl.SetHtml("<a href=\"x\">one</a>");
    dialog.disclaimerCtrl.FitHeightToContent();
    EXPECT_TRUE(GetWindowLongA(dialog.disclaimerCtrl.hwnd, GWL_STYLE) & WS_TABSTOP);
}

TEST_F(HtmlAccess, TheObjectAnswersEFailOnceTheDialogIsGone) {
    IAccessible* object = Object(dialog.messageCtrl.hwnd);
    ASSERT_NE(object, nullptr);
    DestroyWindow(window);
    Pump(window);
    BSTR text = nullptr;
    VARIANT any;
    LONG number = 0;
    IDispatch* dispatch = nullptr;
    const HRESULT results[] = {
        object->get_accName(Child(CHILDID_SELF), &text), object->get_accName(Child(1), &text),
        object->get_accValue(Child(1), &text), object->get_accRole(Child(1), &any),
        object->get_accState(Child(CHILDID_SELF), &any), object->get_accChildCount(&number),
        object->get_accChild(Child(1), &dispatch), object->get_accParent(&dispatch),
        object->get_accFocus(&any), object->accHitTest(10, 10, &any),
        object->accLocation(&number, &number, &number, &number, Child(1)), object->accDoDefaultAction(Child(1)),
    };
    for (size_t i = 0; i < sizeof results / sizeof results[0]; ++i) EXPECT_EQ(results[i], E_FAIL) << i;
    EXPECT_EQ(object->Release(), 0u) << "the window let go of its reference";
}

// The example offer as a reader meets it; the readout is printed.
TEST(HtmlAccessExample, TheOfferReadsWithoutMarkupAndTabReachesBothLinks) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    std::string path = std::string("Z:") + MIREL_EXAMPLE_OFFER;
    for (char& c : path) c = c == '/' ? '\\' : c;
    ConsentDialog dialog;
    dialog.SetParameters(path.c_str());
    HWND window = dialog.CreateModeless(FALSE);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    Pump(window);
    std::vector<std::string> names;
    for (CHaleSimpleHtmlCtrl* control : {&dialog.messageCtrl, &dialog.disclaimerCtrl}) {
        IAccessible* object = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(control->hwnd, OBJID_CLIENT, kIidAccessible,
                                             reinterpret_cast<void**>(&object)),
                  S_OK);
        LONG links = 0;
        object->get_accChildCount(&links);
        EXPECT_EQ(links, 1);
        for (LONG child = 0; child <= links; ++child) {
            BSTR name = nullptr, value = nullptr;
            object->get_accName(Child(child), &name);
            object->get_accValue(Child(child), &value);
            names.push_back(Take(name));
            printf("[ reads    ] %s child %ld: name \"%s\" value \"%s\"\n", control == &dialog.messageCtrl ? "message" : "disclaimer",
                   static_cast<long>(child), names.back().c_str(), Take(value).c_str());
            EXPECT_EQ(names.back().find_first_of("<>"), std::string::npos);
            EXPECT_EQ(names.back().find("nbsp"), std::string::npos);
            EXPECT_EQ(names.back().find("  "), std::string::npos);
        }
        object->Release();
    }
    std::vector<std::string> order;
    for (int press = 0; press < 5; ++press) {
        PressKey(window, VK_TAB);
        HWND focus = GetFocus();
        int id = GetDlgCtrlID(focus);
        CHaleSimpleHtmlCtrl* control = id == IDC_MESSAGE ? &dialog.messageCtrl : id == IDC_DISCLAIMER ? &dialog.disclaimerCtrl : nullptr;
        char text[64] = "";
        GetWindowTextA(focus, text, sizeof text);
        order.push_back(control ? CHaleSimpleHtmlCtrl::ReadableText(control->LinkAnchorAt(control->FocusedLink())->linkMembers).operator const char*()
                                : std::string(text).substr(0, std::string(text).find('\t')));
        printf("[ tab      ] %d: %s\n", press + 1, order.back().c_str());
    }
    EXPECT_EQ(order, (std::vector<std::string>{"No", "licence", "the Extra Tool page", "Yes", "No"}));
    DestroyWindow(window);
    CoUninitialize();
}

// The modal run: the dialog manager would give the focus to the first tab
// stop, which is now the message's first link.
TEST(HtmlAccessModal, TheFocusStartsOnYes) {
    HWND focus = nullptr, yes = nullptr;
    DialogDriver driver([&](HWND dialog) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
        focus = info.hwndFocus;
        yes = GetDlgItem(dialog, IDC_YES);
        PostMessageA(GetDlgItem(dialog, IDC_NO), BM_CLICK, 0, 0);
    });
    ConsentDialog dialog;
    dialog.SetParameters(kParameters.c_str());
    EXPECT_EQ(dialog.DoModal(), MIREL_RESULT_NO);
    driver.Finish();
    ASSERT_TRUE(driver.ActionRan());
    EXPECT_NE(yes, nullptr);
    EXPECT_EQ(focus, yes);
}

}  // namespace
