// What accessibility clients and keyboard users get from the consent dialog's
// HTML controls: names, roles, states, children and places, the default
// action, Tab and Enter over the links, Yes focused at the start, and an
// object that outlives its window.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "dialog/ConsentDialog.h"
#include "resources/resource.h"
#include "support/win/DialogDriver.h"
#include "support/win/ElevationAnswer.h"
#include "support/win/FakeBrowserLog.h"
#include "support/win/HtmlCtrlHost.h"
#include "support/win/RegistrySandbox.h"

namespace {
// The import library's IID_IAccessible is a code thunk, not the GUID.
const IID kIidAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
const char kTerms[] = "https://example.com/terms";
const char kPrivacy[] = "https://example.com/privacy";
// Entities, styles, a break, a run of blanks and two links, one styled inside.
const std::string kParameters = std::string("<TITLE>A</TITLE><LOCATION>Top-Left</LOCATION><WIDTH>400</WIDTH><MESSAGE>") +
                                "Read <b>the</b> &quot;terms&quot; &amp; <a href=\"" + kTerms +
                                "\">the <i>terms</i> &amp; rules</a><br>and   <font color=\"#FF0000\">the</font> <a href=\"" +
                                kPrivacy + "\">privacy&nbsp;note</a>.</MESSAGE><DISCLAIMER>Accept the <a href=\"x\">"
                                "licence</a>.</DISCLAIMER>";
const LONG kLink = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_LINKED;

VARIANT Child(LONG id) {
    VARIANT child;
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

std::string Take(BSTR text) {
    char narrow[512] = "(null)";
    if (text) WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    SysFreeString(text);
    return narrow;
}

// The modeless dialog's messages, through the dialog manager as a host's loop does.
void Pump(HWND dialog) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        if (!IsDialogMessageA(dialog, &message)) DispatchMessageA(&message);
}

void PressKey(HWND dialog, WPARAM key, bool shift = false) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
    Pump(dialog);
}

std::vector<LONG> focusEvents;
void CALLBACK RecordFocus(HWINEVENTHOOK, DWORD, HWND, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT) focusEvents.push_back(child);
}

std::vector<UINT> notifications;
LONG CALLBACK RecordNotify(HWND, UINT message, WPARAM, LPARAM lParam, DWORD) {
    if (message == WM_NOTIFY) notifications.push_back(reinterpret_cast<const NMHDR*>(lParam)->code);
    return 0;
}

class HtmlAccess : public testing::Test {
protected:
    // The links open the browser from this process, as where no elevation
    // can be read (a Wine process is elevated); the hand-off to the desktop
    // shell is HtmlLinks_test's.
    HtmlAccess() : unelevated(ElevationAnswer::kQueryFails) {}
    void SetUp() override {
        ASSERT_TRUE(unelevated.Installed());
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        notifications.clear();
        dialog.observer = RecordNotify;
        dialog.SetParameters(kParameters.c_str());
        window = dialog.CreateModeless(FALSE);
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        Pump(window);
        // The stand-in browser answers every link.
        std::string command = browser.QuotedBrowserPath() + " \"%1\"";
        registry.SetString(HKEY_CLASSES_ROOT, ".htm", nullptr, "MirelTest.Html");
        registry.SetString(HKEY_CLASSES_ROOT, "MirelTest.Html\\shell\\open\\command", nullptr, command.c_str());
        AccessibleObjectFromWindow(dialog.messageCtrl.hwnd, OBJID_CLIENT, kIidAccessible, reinterpret_cast<void**>(&object));
        ASSERT_NE(object, nullptr);
    }
    void TearDown() override {
        if (object) object->Release();
        DestroyWindow(window);
        CoUninitialize();
    }
    ElevationAnswer unelevated;
    RegistrySandbox registry;
    FakeBrowserLog browser;
    ConsentDialog dialog;
    HWND window = nullptr;
    IAccessible* object = nullptr;
};

TEST_F(HtmlAccess, TheMessageIsTextWithItsLinksAsChildren) {
    LONG count = -1;
    EXPECT_EQ(object->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 2);
    const struct {
        LONG child;
        const char* name;
        const char* value;
        LONG role, state;
        const char* action;
        HRESULT childResult;
    } rows[] = {
        {CHILDID_SELF, "Read the \"terms\" & the terms & rules and the privacy note.", "(null)", ROLE_SYSTEM_STATICTEXT,
         STATE_SYSTEM_READONLY, "(null)", E_INVALIDARG},
        {1, "the terms & rules", kTerms, ROLE_SYSTEM_LINK, kLink, "Click", S_FALSE},
        {2, "privacy note", kPrivacy, ROLE_SYSTEM_LINK, kLink, "Click", S_FALSE},
    };
    for (const auto& row : rows) {
        BSTR name = nullptr, value = nullptr, action = nullptr;
        VARIANT role = {}, state = {};
        IDispatch* child = reinterpret_cast<IDispatch*>(1);
        EXPECT_EQ(object->get_accName(Child(row.child), &name), S_OK);
        object->get_accValue(Child(row.child), &value);
        object->get_accDefaultAction(Child(row.child), &action);
        EXPECT_EQ(Take(name) + "|" + Take(value) + "|" + Take(action),
                  std::string(row.name) + "|" + row.value + "|" + row.action);
        object->get_accRole(Child(row.child), &role);
        object->get_accState(Child(row.child), &state);
        EXPECT_EQ(role.lVal, row.role) << row.child;
        EXPECT_EQ(state.lVal, row.state) << row.child;
        EXPECT_EQ(object->get_accChild(Child(row.child), &child), row.childResult);
        EXPECT_EQ(child, nullptr);
    }
    BSTR name = nullptr;
    EXPECT_EQ(object->get_accName(Child(3), &name), E_INVALIDARG);
    IDispatch* parent = nullptr;
    HWND parentWindow = nullptr;
    ASSERT_EQ(object->get_accParent(&parent), S_OK);
    EXPECT_EQ(WindowFromAccessibleObject(reinterpret_cast<IAccessible*>(parent), &parentWindow), S_OK);
    EXPECT_EQ(parentWindow, dialog.messageCtrl.hwnd);
    parent->Release();
}

TEST_F(HtmlAccess, LinksAreLocatedAndHitOnTheirOwnWords) {
    CHaleSimpleHtmlCtrl& message = dialog.messageCtrl;
    for (LONG child = 0; child <= 2; ++child) {
        RECT expected = {}, found = {};
        GetWindowRect(message.hwnd, &expected);
        CHtmlElement* anchor = child ? message.LinkAnchorAt(child - 1) : nullptr;
        if (anchor) SetRectEmpty(&expected);
        for (int i = 0; anchor && i < anchor->linkMembers.count; ++i) {
            RECT box = message.ElementBox(anchor->linkMembers.GetAt(i), 0);
            MapWindowPoints(message.hwnd, nullptr, reinterpret_cast<POINT*>(&box), 2);
            if (anchor->linkMembers.GetAt(i)->x >= 0) UnionRect(&expected, &expected, &box);
        }
        LONG x, y, cx, cy;
        EXPECT_EQ(object->accLocation(&x, &y, &cx, &cy, Child(child)), S_OK);
        SetRect(&found, x, y, x + cx, y + cy);
        EXPECT_TRUE(EqualRect(&found, &expected) && !IsRectEmpty(&found)) << child;
        VARIANT hit = {};
        // The middle of a link; a corner of the control is margin, which is the text itself.
        EXPECT_EQ(object->accHitTest(child ? x + cx / 2 : x + 1, child ? y + cy / 2 : y + 1, &hit), S_OK);
        EXPECT_EQ(hit.lVal, child);
        if (child == 0) {
            EXPECT_EQ(object->accHitTest(x - 5, y, &hit), S_FALSE);
            EXPECT_EQ(hit.vt, VT_EMPTY);
        }
    }
}

TEST_F(HtmlAccess, DefaultActionReturnsAtOnceThenOpensTheLinkLikeAClick) {
    EXPECT_EQ(object->accDoDefaultAction(Child(2)), S_OK);
    EXPECT_TRUE(notifications.empty()) << "nothing happens inside the client's call";
    EXPECT_EQ(object->accDoDefaultAction(Child(CHILDID_SELF)), DISP_E_MEMBERNOTFOUND);
    Pump(window);
    EXPECT_EQ(notifications, (std::vector<UINT>{4, 6}));
    std::vector<LaunchRecord> records = browser.WaitForRecords(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].args, (std::vector<std::string>{kPrivacy}));
    VARIANT state = {};
    object->get_accState(Child(2), &state);
    EXPECT_EQ(state.lVal, kLink | STATE_SYSTEM_TRAVERSED);
}

TEST_F(HtmlAccess, TabWalksEveryLinkBetweenNoAndYesAndEnterOpensTheFocusedOne) {
    HWND message = dialog.messageCtrl.hwnd, disclaimer = dialog.disclaimerCtrl.hwnd;
    HWND yes = GetDlgItem(window, IDC_YES);
    EXPECT_EQ(GetFocus(), yes);
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, RecordFocus,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    const struct {
        bool shift;
        HWND focus;
        int link;
    } steps[] = {{false, GetDlgItem(window, IDC_NO), -1}, {false, disclaimer, 0}, {false, message, 0},
                 {false, message, 1},  {false, yes, -1},  {true, message, 1},  {true, message, 0}};
    for (const auto& step : steps) {
        focusEvents.clear();
        PressKey(window, VK_TAB, step.shift);
        EXPECT_EQ(GetFocus(), step.focus) << &step - steps;
        VARIANT focused = {};
        object->get_accFocus(&focused);
        EXPECT_EQ(focused.vt == VT_EMPTY ? -1 : focused.lVal - 1, step.focus == message ? step.link : -1);
        if (step.link < 0) continue;
        EXPECT_EQ(static_cast<CHaleSimpleHtmlCtrl*>(WindowObjectFrom(step.focus))->FocusedLink(), step.link);
        EXPECT_EQ(focusEvents.empty() ? -1 : focusEvents.back(), step.link + 1) << &step - steps;
        UpdateWindow(step.focus);
        ClientCapture capture(step.focus);
        for (int link = 0; link < 2 && step.focus == message; ++link) {
            RECT edge = dialog.messageCtrl.LinkBounds(link);  // the top row of the focus rectangle
            edge.bottom = edge.top + 1;
            EXPECT_EQ(capture.CountOther(edge, GetSysColor(COLOR_BTNFACE)) > 0, link == step.link) << &step - steps;
        }
    }
    UnhookWinEvent(hook);
    PressKey(window, VK_RETURN);
    PressKey(window, VK_TAB);
    PressKey(window, VK_SPACE);
    EXPECT_EQ(notifications, (std::vector<UINT>{4, 6, 4, 6}));
    std::vector<LaunchRecord> records = browser.WaitForRecords(2);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].args[0] + records[1].args[0], std::string(kTerms) + kPrivacy);
    EXPECT_TRUE(IsWindow(window)) << "Enter on a link is not the dialog's OK";
    dialog.disclaimerCtrl.SetHtml("No links.");
    EXPECT_FALSE(GetWindowLongA(disclaimer, GWL_STYLE) & WS_TABSTOP);
}

TEST_F(HtmlAccess, TheObjectAnswersEFailOnceTheDialogIsGone) {
    DestroyWindow(window);
    BSTR text = nullptr;
    VARIANT any = {};
    LONG n = 0;
    IDispatch* dispatch = nullptr;
    const HRESULT results[] = {
        object->get_accName(Child(0), &text),  object->get_accValue(Child(1), &text), object->get_accRole(Child(1), &any),
        object->get_accState(Child(0), &any),  object->get_accChildCount(&n),         object->get_accParent(&dispatch),
        object->get_accFocus(&any),            object->accHitTest(10, 10, &any),      object->accDoDefaultAction(Child(1)),
        object->accLocation(&n, &n, &n, &n, Child(1)),
    };
    for (HRESULT result : results) EXPECT_EQ(result, E_FAIL);
    EXPECT_EQ(object->Release(), 0u) << "the window let go of its reference";
    object = nullptr;
}

// The dialog manager would give the focus to the first tab stop, now the message's first link.
TEST(HtmlAccessModal, TheFocusStartsOnYes) {
    HWND focus = nullptr, yes = nullptr;
    DialogDriver driver([&](HWND dialog) {
        GUITHREADINFO info;
        ZeroMemory(&info, sizeof info);
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
        focus = info.hwndFocus;
        yes = GetDlgItem(dialog, IDC_YES);
        PostMessageA(GetDlgItem(dialog, IDC_NO), BM_CLICK, 0, 0);
    });
    ConsentDialog dialog;
    dialog.SetParameters(kParameters.c_str());
    EXPECT_EQ(dialog.DoModal(), CONSENT_NO);
    driver.Finish();
    EXPECT_TRUE(yes && focus == yes);
}
}  // namespace
