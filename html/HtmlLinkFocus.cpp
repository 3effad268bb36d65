// Links by number, for the keyboard and for accessibility clients: Tab and
// Shift+Tab walk the links and then leave the control, Enter and Space open
// the focused link as a click does, the focused link wears a focus rectangle,
// and WM_GETOBJECT hands out the control's accessible object. The focused
// link and the object are kept as window properties: the control's fields
// are fixed by the public header.
#include "html/AccessibilityApi.h"
#include "html/CHaleSimpleHtmlCtrl.h"
#include "html/HtmlAccessible.h"
#include "window/DcScopes.h"

namespace {
const char kFocusProperty[] = "MirelHtmlLinkFocus";        // link number + 1
const char kAccessibleProperty[] = "MirelHtmlAccessible";  // holds one reference

// Only the start of an anchor with an address gathers link members.
bool IsLink(const CHtmlElement* element) { return element && element->linkMembers.count > 0; }

// Only content is ever placed.
bool IsPlaced(const CHtmlElement* element) { return element && element->x >= 0 && element->y >= 0; }

bool ShiftDown() { return GetKeyState(VK_SHIFT) < 0; }
}  // namespace

int CHaleSimpleHtmlCtrl::LinkCount() const { return LinksBefore(nullptr); }

int CHaleSimpleHtmlCtrl::LinksBefore(const CHtmlElement* stop) const {
    int count = 0;
    for (int i = 0; i < elements.count && GetElement(i) != stop; ++i)
        if (IsLink(GetElement(i))) ++count;
    return count;
}

CHtmlElement* CHaleSimpleHtmlCtrl::LinkAnchorAt(int link) const {
    for (int i = 0; link >= 0 && i < elements.count; ++i) {
        CHtmlElement* element = GetElement(i);
        if (IsLink(element) && link-- == 0) return element;
    }
    return nullptr;
}

int CHaleSimpleHtmlCtrl::LinkIndexOf(CHtmlElement* element) const {
    CHtmlElement* anchor = LinkAnchorOf(element);
    return IsLink(anchor) ? LinksBefore(anchor) : -1;
}

RECT CHaleSimpleHtmlCtrl::LinkBounds(int link) const {
    RECT bounds = {0, 0, 0, 0};
    CHtmlElement* anchor = LinkAnchorAt(link);
    if (!anchor) return bounds;
    int shift = -GetScrollPos(hwnd, SB_VERT);
    for (int i = 0; i < anchor->linkMembers.count; ++i) {
        CHtmlElement* member = anchor->linkMembers.GetAt(i);
        if (!IsPlaced(member)) continue;
        RECT box = ElementBox(member, shift);
        UnionRect(&bounds, &bounds, &box);
    }
    return bounds;
}

CMsString CHaleSimpleHtmlCtrl::ReadableText(const CHtmlElementList& list) {
    CMsString text;
    bool blank = false;
    for (int i = 0; i < list.count; ++i) {
        const CHtmlElement* element = list.GetAt(i);
        int kind = element ? element->kind : 0;
        // Spaces, breaks and &nbsp; (a word that is one blank) read as one blank.
        blank = blank || kind == HEK_SPACE || kind == HEK_BR;
        if (kind != HEK_TEXT) continue;
        CMsString word = element->GetAttrib("value");
        if (word.IsEmpty() || word[0] == ' ') {
            blank = true;
            continue;
        }
        if (blank && !text.IsEmpty()) text += ' ';
        blank = false;
        text += word;
    }
    return text;
}

void CHaleSimpleHtmlCtrl::ActivateLinkAt(int link) {
    CHtmlElement* anchor = LinkAnchorAt(link);
    if (anchor) ActivateLink(anchor);
}

int CHaleSimpleHtmlCtrl::FocusedLink() const {
    return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(hwnd, kFocusProperty))) - 1;
}

void CHaleSimpleHtmlCtrl::InvalidateLink(int link) {
    RECT bounds = LinkBounds(link);
    InvalidateRect(hwnd, &bounds, FALSE);
}

void CHaleSimpleHtmlCtrl::FocusLink(int link) {
    InvalidateLink(FocusedLink());
    SetPropA(hwnd, kFocusProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(link + 1)));
    InvalidateLink(link);
    if (GetFocus() == hwnd) NotifyChildFocus(hwnd, link + 1);
}

void CHaleSimpleHtmlCtrl::ResetLinkFocus() {
    if (!hwnd) return;
    RemovePropA(hwnd, kFocusProperty);
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    LONG wanted = (style & ~WS_TABSTOP) | (LinkCount() > 0 ? WS_TABSTOP : 0);
    if (wanted != style) SetWindowLongA(hwnd, GWL_STYLE, wanted);
}

int CHaleSimpleHtmlCtrl::TabTarget() const {
    int focused = FocusedLink();
    if (focused < 0) return -1;
    int next = ShiftDown() ? focused - 1 : focused + 1;
    return next < LinkCount() ? next : -1;
}

// Tab is wanted while there is a link to go to, Enter while a link has the focus.
LRESULT CHaleSimpleHtmlCtrl::OnGetDlgCode(const MSG* message) const {
    if (!message || message->message != WM_KEYDOWN) return 0;
    if (message->wParam == VK_TAB) return TabTarget() >= 0 ? DLGC_WANTTAB : 0;
    return message->wParam == VK_RETURN && FocusedLink() >= 0 ? DLGC_WANTMESSAGE : 0;
}

bool CHaleSimpleHtmlCtrl::OnKeyDown(WPARAM key) {
    int focused = FocusedLink();
    if (focused < 0) return false;
    if (key == VK_TAB) {
        int next = TabTarget();
        if (next >= 0) FocusLink(next);
        return true;
    }
    if (key != VK_RETURN && key != VK_SPACE) return false;
    ActivateLinkAt(focused);
    return true;
}

// Coming in with Shift+Tab lands on the last link, any other way on the first.
void CHaleSimpleHtmlCtrl::OnFocusChange(bool gained) {
    if (!gained) {
        InvalidateLink(FocusedLink());
        return;
    }
    int links = LinkCount();
    if (links > 0) FocusLink(ShiftDown() ? links - 1 : 0);
}

// The focus rectangle is drawn by inverting, so every paint repaints all of
// it first.
LRESULT CHaleSimpleHtmlCtrl::PaintWithLinkFocus() {
    int link = GetFocus() == hwnd ? FocusedLink() : -1;
    RECT bounds = LinkBounds(link);
    if (link >= 0) InvalidateRect(hwnd, &bounds, FALSE);
    LRESULT result = OnPaint();
    if (link >= 0) {
        ClientDcScope dc(this);
        DrawFocusRect(dc.OutputDc(), &bounds);
    }
    return result;
}

// The window's object is made on the first request and kept with the window.
LRESULT CHaleSimpleHtmlCtrl::OnGetObject(WPARAM wParam, LPARAM lParam) {
    const AccessibilityApi* api = nullptr;
    if (static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)) api = GetAccessibilityApi();
    CHtmlAccessible* object = api ? static_cast<CHtmlAccessible*>(GetPropA(hwnd, kAccessibleProperty)) : nullptr;
    if (api && !object) {
        object = CHtmlAccessible::Create(this);
        if (object && !SetPropA(hwnd, kAccessibleProperty, object)) {
            object->Release();
            object = nullptr;
        }
    }
    LRESULT result = object ? api->lresultFromObject(IID_IACCESSIBLE_DATA, wParam, object->Interface()) : E_FAIL;
    return SUCCEEDED(result) ? result : WindowBase::WindowProc(WM_GETOBJECT, wParam, lParam);
}

// Clients may keep their references: the object is cut off from the control
// and from the system's proxies, and only the window's own reference goes.
void CHaleSimpleHtmlCtrl::ReleaseAccessible() {
    RemovePropA(hwnd, kFocusProperty);
    CHtmlAccessible* object = static_cast<CHtmlAccessible*>(RemovePropA(hwnd, kAccessibleProperty));
    if (!object) return;
    object->Disconnect();
    // An object exists only where the functions were found.
    GetAccessibilityApi()->coDisconnectObject(object->Interface(), 0);
    object->Release();
}

LRESULT CHaleSimpleHtmlCtrl::OnKeyboardOrAccess(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE:
        return OnGetDlgCode(reinterpret_cast<const MSG*>(lParam));
    case WM_KEYDOWN:
        if (OnKeyDown(wParam)) return 0;
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        OnFocusChange(message == WM_SETFOCUS);
        return 0;
    case WM_GETOBJECT:
        return OnGetObject(wParam, lParam);
    case HTML_MSG_ACTIVATE_LINK:
        ActivateLinkAt(static_cast<int>(wParam));
        return 0;
    case WM_NCDESTROY:
        ReleaseAccessible();
        break;
    }
    return WindowBase::WindowProc(message, wParam, lParam);
}
