// Mouse handling of the HTML control: the hand cursor over links, a left
// click that opens a link and tells the parent, and Ctrl+Shift+right click
// that shows a link's address.
#include "browser/BrowserCommandLine.h"
#include "browser/BrowserUtils.h"
#include "html/CHaleSimpleHtmlCtrl.h"
#include "html/HandCursor.h"

namespace {

const DWORD kLaunchWaitMs = 2000;
const char kLinkUrlCaption[] = "Hyperlink URL";

// The notification sent to the parent: the system header and one more field.
struct LinkNotification {
    NMHDR header;
    DWORD reserved;
};

bool KeyDown(int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }

// Ctrl first; Shift is asked only while Ctrl is down.
bool LinkUrlKeysDown() { return KeyDown(VK_CONTROL) && KeyDown(VK_SHIFT); }

HCURSOR SystemCursor(LPCSTR id) { return LoadCursorA(nullptr, id); }

// The anchor's address as a browser gets it: in a UTF-8 document its bytes
// beyond ASCII written as %XX.
CMsString LinkAddress(const CHtmlElement* anchor, TextEncoding encoding) {
    CMsString url = anchor->GetAttrib("href");
    return encoding == TEXT_UTF8 ? AsciiAddress(url) : url;
}

}  // namespace

// The anchor whose link the element belongs to; outside a link, the element
// itself. The walk is bounded by the number of elements, so a damaged chain
// cannot loop.
CHtmlElement* CHaleSimpleHtmlCtrl::LinkAnchorOf(CHtmlElement* element) const {
    for (int steps = elements.count; element->linkAnchor && steps > 0; --steps) element = element->linkAnchor;
    return element;
}

// Where the mouse is now, in client coordinates; false when it is unknown.
bool CHaleSimpleHtmlCtrl::CursorInClient(POINT& point) const {
    if (!GetCursorPos(&point)) return false;
    return ScreenToClient(hwnd, &point) != FALSE;
}

CHtmlElement* CHaleSimpleHtmlCtrl::ElementAtPoint(POINT point) const {
    int pos = GetScrollPos(hwnd, SB_VERT);
    for (int i = 0; i < elements.count; ++i) {
        CHtmlElement* element = GetElement(i);
        if (!element || element->x < 0 || element->y < 0) continue;
        RECT box = ElementBox(element, -pos);
        if (PtInRect(&box, point)) return element;
    }
    return nullptr;
}

HCURSOR CHaleSimpleHtmlCtrl::GetHandCursor() {
    if (!handCursor) handCursor = CreateHandCursor(instance);
    return handCursor;
}

LRESULT CHaleSimpleHtmlCtrl::OnSetCursor() {
    POINT point;
    CHtmlElement* element = CursorInClient(point) ? ElementAtPoint(point) : nullptr;
    if (!element) {
        SetCursor(SystemCursor(IDC_ARROW));
        return 0;
    }
    return UpdateCursor(element);
}

int CHaleSimpleHtmlCtrl::UpdateCursor(CHtmlElement* element) {
    bool isLink = !LinkAnchorOf(element)->GetAttrib("href").IsEmpty();
    SetCursor(isLink ? GetHandCursor() : SystemCursor(IDC_ARROW));
    return 1;
}

void CHaleSimpleHtmlCtrl::OnLButtonDown() {
    POINT point;
    CHtmlElement* element = CursorInClient(point) ? ElementAtPoint(point) : nullptr;
    if (element) ActivateLink(element);
}

void CHaleSimpleHtmlCtrl::ActivateLink(CHtmlElement* element) {
    // A hand-off to the desktop shell lets messages through while explorer
    // answers: a second click then must not start a second launch.
    CHaleSimpleHtmlCtrl*& opening = OpeningLink();
    if (opening) return;
    CHtmlElement* anchor = LinkAnchorOf(element);
    anchor->attribs.SetAttribNumber("linkcolor", GetBodyAttribNumber("vlink", 0, AT_COLOR), AT_COLOR);
    int pos = GetScrollPos(hwnd, SB_VERT);
    for (int i = 0; i < anchor->linkMembers.count; ++i) {
        RECT box = ElementBox(anchor->linkMembers.GetAt(i), -pos);
        InvalidateRect(hwnd, &box, FALSE);
    }
    // Taken before the parent hears of the click: whatever the parent does
    // with the document then, the address stays valid.
    CMsString url = LinkAddress(anchor, DocumentEncoding());
    NotifyParent(HTML_NOTIFY_ACTIVATING);
    HCURSOR previous = SetCursor(SystemCursor(IDC_WAIT));
    opening = this;
    LaunchResult result = BrowserUtils::Launch(url, 1, browserType);
    // The destructor clears it when the host released the control meanwhile:
    // nothing of it may be touched then.
    if (!opening) return;
    opening = nullptr;
    if (result == LAUNCH_STARTED)
        Sleep(kLaunchWaitMs);  // the wait cursor stays while the browser starts
    else
        NotifyParent(HTML_NOTIFY_LAUNCH_FAILED);
    SetCursor(previous);
    // The user can still open the address by hand: Ctrl+C copies a message
    // box's text. Not once the dialog has ended meanwhile.
    if (result == LAUNCH_SHELL_REFUSED && IsWindowVisible(hwnd)) ShowUrlBox(url);
    NotifyParent(HTML_NOTIFY_DONE);
}

void CHaleSimpleHtmlCtrl::NotifyParent(UINT code) {
    LinkNotification notification;
    ZeroMemory(&notification, sizeof(notification));
    notification.header.hwndFrom = hwnd;
    notification.header.idFrom = static_cast<UINT_PTR>(GetWindowLongPtrA(hwnd, GWLP_ID));
    notification.header.code = code;
    SendMessageA(GetParent(hwnd), WM_NOTIFY, notification.header.idFrom,
                 reinterpret_cast<LPARAM>(&notification));
}

void CHaleSimpleHtmlCtrl::OnRButtonDown() {
    if (!LinkUrlKeysDown()) return;
    POINT point;
    CHtmlElement* element = CursorInClient(point) ? ElementAtPoint(point) : nullptr;
    if (element) ShowLinkUrl(element);
}

void CHaleSimpleHtmlCtrl::ShowLinkUrl(CHtmlElement* element) {
    CMsString url = LinkAddress(LinkAnchorOf(element), DocumentEncoding());
    if (!url.IsEmpty()) ShowUrlBox(url);
}

void CHaleSimpleHtmlCtrl::ShowUrlBox(const char* url) { MessageBoxA(hwnd, url, kLinkUrlCaption, MB_ICONINFORMATION); }
