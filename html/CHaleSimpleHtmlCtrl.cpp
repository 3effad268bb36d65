#include "html/CHaleSimpleHtmlCtrl.h"

#include "browser/BrowserUtils.h"
#include "html/HtmlParser.h"
#include "text/UniscribeBreaker.h"
#include "util/AsciiCase.h"
#include "window/DcScopes.h"
#include "window/WideWindowText.h"
#include "window/WindowUtils.h"

const char HTML_CTRL_CLASS_NAME[] = "HaleSimpleHtmlCtrlClass";

namespace {
const int DEFAULT_MARGIN = 16;
const COLORREF DEFAULT_LINK_COLOR = 0xFF0000;
const COLORREF DEFAULT_VLINK_COLOR = 0x800080;
// Starts the window text of a UTF-8 document, which the window keeps in
// UTF-16: no code page's text becomes U+FEFF. Reading it back costs no call
// to the window server, where a window property would.
const char UTF8_DOCUMENT_MARK[] = "\xEF\xBB\xBF";
const WCHAR UTF16_DOCUMENT_MARK = 0xFEFF;

// EnumFontFamiliesExA reports a family once per character set; keep each
// full name once.
int CALLBACK AddFontName(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM param) {
    StringList* names = reinterpret_cast<StringList*>(param);
    const char* fullName =
        reinterpret_cast<const char*>(reinterpret_cast<const ENUMLOGFONTEXA*>(font)->elfFullName);
    if (names->Find(fullName, 0) < 0) names->Add(fullName);
    return 1;
}
}  // namespace

CHaleSimpleHtmlCtrl::CHaleSimpleHtmlCtrl(HINSTANCE moduleInstance)
    : instance(moduleInstance),
      handCursor(nullptr),
      needsParse(1),
      wheelDelta(0),
      browserType(BT_DEFAULT),
      elements(true) {
    ResetBodyAttribs();
}

CHaleSimpleHtmlCtrl::~CHaleSimpleHtmlCtrl() {
    if (OpeningLink() == this) OpeningLink() = nullptr;
    if (!handCursor) return;
    // The system refuses to destroy the cursor in use: a control that goes
    // while the mouse is on one of its links puts the arrow back first.
    if (GetCursor() == handCursor) SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    DestroyCursor(handCursor);
}

CHaleSimpleHtmlCtrl* CHaleSimpleHtmlCtrl::Destroy(unsigned flags) {
    this->~CHaleSimpleHtmlCtrl();
    if (flags & 1) ::operator delete(this);
    return this;
}

BOOL CHaleSimpleHtmlCtrl::Attach(HWND placeholder) { return ReplaceDialogItem(placeholder); }

BOOL CHaleSimpleHtmlCtrl::ReplaceDialogItem(HWND placeholder) {
    if (!IsWindow(placeholder)) return FALSE;
    return ReplaceDialogItem(GetParent(placeholder), GetWindowLongA(placeholder, GWL_ID));
}

BOOL CHaleSimpleHtmlCtrl::ReplaceDialogItem(HWND parent, int id) {
    HWND placeholder = GetDlgItem(parent, id);
    if (!placeholder) return FALSE;
    CMsString text;
    ReadWindowText(placeholder, text);
    HWND previous = GetWindow(placeholder, GW_HWNDPREV);
    BOOL enabled = IsWindowEnabled(placeholder);
    RECT rect;
    GetWindowRect(placeholder, &rect);
    ::ScreenRectToClient(parent, &rect);
    DestroyWindow(placeholder);

    if (!RegisterClassOnce()) return FALSE;
    if (!CreateWnd(0, HTML_CTRL_CLASS_NAME, text, WS_CHILD | WS_VISIBLE | WS_VSCROLL, rect.left,
                   rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance)) {
        return FALSE;
    }
    SetWindowPos(hwnd, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EnableWindow(hwnd, enabled);
    ListInstalledFonts();
    return TRUE;
}

bool CHaleSimpleHtmlCtrl::RegisterClassOnce() {
    WNDCLASSA existing;
    if (GetClassInfoA(instance, HTML_CTRL_CLASS_NAME, &existing)) return true;
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = HTML_CTRL_CLASS_NAME;
    return RegisterWndClass(&windowClass) != 0;
}

void CHaleSimpleHtmlCtrl::ListInstalledFonts() {
    ClientDcScope dc(this);
    LOGFONTA query = {};
    query.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExA(dc.OutputDc(), &query, AddFontName, reinterpret_cast<LPARAM>(&fontNames),
                        0);
}

void CHaleSimpleHtmlCtrl::ResetBodyAttribs() {
    bodyAttribs.RemoveAll();
    bodyAttribs.SetAttribNumber("text", GetSysColor(COLOR_WINDOWTEXT), AT_COLOR);
    bodyAttribs.SetAttribNumber("bgcolor", GetSysColor(COLOR_BTNFACE), AT_COLOR);
    bodyAttribs.SetAttribNumber("link", DEFAULT_LINK_COLOR, AT_COLOR);
    bodyAttribs.SetAttribNumber("alink", DEFAULT_LINK_COLOR, AT_COLOR);
    bodyAttribs.SetAttribNumber("vlink", DEFAULT_VLINK_COLOR, AT_COLOR);
    bodyAttribs.SetAttrib("scroll", "yes");
    bodyAttribs.SetAttribNumber("leftmargin", DEFAULT_MARGIN, AT_UINT);
    bodyAttribs.SetAttribNumber("rightmargin", DEFAULT_MARGIN, AT_UINT);
    bodyAttribs.SetAttribNumber("topmargin", DEFAULT_MARGIN, AT_UINT);
}

void CHaleSimpleHtmlCtrl::SetScroll(BOOL enable) {
    hostAttribs.SetAttrib("scroll", enable ? "yes" : "no");
}

void CHaleSimpleHtmlCtrl::SetMargins(int left, int right, int top) {
    hostAttribs.SetAttribNumber("leftmargin", left < 0 ? DEFAULT_MARGIN : left, AT_UINT);
    hostAttribs.SetAttribNumber("rightmargin", right < 0 ? DEFAULT_MARGIN : right, AT_UINT);
    hostAttribs.SetAttribNumber("topmargin", top < 0 ? DEFAULT_MARGIN : top, AT_UINT);
}

void CHaleSimpleHtmlCtrl::SetHtml(const char* text, TextEncoding encoding) {
    ClearElements();
    ResetLinkFocus();
    if (!text || !*text) return;
    needsParse = 1;
    if (encoding == TEXT_CODE_PAGE) {
        SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        return;
    }
    CMsString marked(UTF8_DOCUMENT_MARK);
    marked += text;
    if (hwnd) StoreWideWindowText(hwnd, marked);
}

TextEncoding CHaleSimpleHtmlCtrl::DocumentEncoding() const {
    return hwnd && FirstWindowTextUnit(hwnd) == UTF16_DOCUMENT_MARK ? TEXT_UTF8 : TEXT_CODE_PAGE;
}

void CHaleSimpleHtmlCtrl::EnsureLaidOut(DeviceContext& dc) {
    if (!needsParse) return;
    // Without a DC every element would measure zero; wait for one.
    if (!dc.AttributeDc()) return;
    needsParse = 0;
    Parse();
    MeasureElements(dc);
    LayoutLines(dc);
    ResetLinkFocus();
}

void CHaleSimpleHtmlCtrl::Parse() {
    ResetBodyAttribs();
    TextEncoding encoding = DocumentEncoding();
    CMsString text;
    if (encoding == TEXT_UTF8) {
        CMsString marked = ReadWindowTextAsUtf8(hwnd);
        const int markSize = static_cast<int>(sizeof UTF8_DOCUMENT_MARK) - 1;
        text = marked.Mid(markSize, marked.GetLength() - markSize);
    } else {
        ReadWindowText(hwnd, text);
    }
    UniscribeBreaker uniscribe;
    CHtmlParser parser(this, elements, bodyAttribs, fontNames, encoding, uniscribe.Breaker());
    parser.Parse(text);
}

void CHaleSimpleHtmlCtrl::ClearElements() { elements.RemoveAll(); }

CHtmlElement* CHaleSimpleHtmlCtrl::GetElement(int index) const { return elements.GetAt(index); }

CMsString CHaleSimpleHtmlCtrl::GetBodyAttrib(const char* name) const {
    CMsString value = hostAttribs.GetAttrib(name);
    if (!value.IsEmpty()) return value;
    return bodyAttribs.GetAttrib(name);
}

int CHaleSimpleHtmlCtrl::GetBodyAttribNumber(const char* name, int defaultValue,
                                             AttribType type) const {
    return ParseAttribNumber(GetBodyAttrib(name), defaultValue, type);
}

bool CHaleSimpleHtmlCtrl::GetBodyAttribBool(const char* name) const {
    CMsString value = GetBodyAttrib(name);
    return EqualsNoCase(value, "1") || EqualsNoCase(value, "yes");
}

LRESULT CHaleSimpleHtmlCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        return PaintWithLinkFocus();
    case WM_SETCURSOR:
        return OnSetCursor();
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown();
        return 0;
    case WM_RBUTTONDOWN:
        OnRButtonDown();
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
        return 0;
    default:
        return OnKeyboardOrAccess(message, wParam, lParam);
    }
}
