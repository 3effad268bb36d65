// The child window that shows a piece of simple HTML inside a dialog. It takes
// the place of a static placeholder of the dialog template, parses its window
// text into a flat element sequence, lays the elements out once per text,
// paints them and scrolls vertically.
//
// The fields are shared with hosts by layout (include/MirelDialog.h,
// MirelHtmlCtrl); keep their order. Slot 0 of the table is the deleting
// Destroy described in window/WindowBase.h.
#pragma once
#include "html/HtmlAttrib.h"
#include "html/HtmlElement.h"
#include "text/TextEncoding.h"
#include "util/CMsString.h"
#include "util/StringList.h"
#include "window/WindowBase.h"

class CHtmlAccessible;
class CHtmlFormatStack;
class DeviceContext;
class DpiScale;

// The window class every HTML control is created with.
extern const char HTML_CTRL_CLASS_NAME[];

// WM_NOTIFY codes the control sends its parent when an element is clicked.
enum HtmlCtrlNotification {
    HTML_NOTIFY_ACTIVATING = 4,     // before the link is opened
    HTML_NOTIFY_LAUNCH_FAILED = 5,  // no browser was started
    HTML_NOTIFY_DONE = 6,           // always last
};

// Posted to the control to open link number wParam as a click on it does.
const UINT HTML_MSG_ACTIVATE_LINK = WM_USER + 0x4D1;

class CHaleSimpleHtmlCtrl : public WindowBase {
public:
    explicit CHaleSimpleHtmlCtrl(HINSTANCE instance);
    ~CHaleSimpleHtmlCtrl();

    CHaleSimpleHtmlCtrl* Destroy(unsigned flags) override;
    // The Attach slot: replaces the placeholder (see ReplaceDialogItem).
    BOOL Attach(HWND placeholder) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Replaces a dialog control by this control: same id, rectangle, z-order,
    // enabled state and text. 1 on success, 0 on failure; the placeholder is
    // gone once it was found, whatever happens next.
    BOOL ReplaceDialogItem(HWND placeholder);
    BOOL ReplaceDialogItem(HWND parent, int id);

    // Host settings; they win over the document's body attributes.
    void SetScroll(BOOL enable);
    // A negative margin stands for the default of 16 pixels.
    void SetMargins(int left, int right, int top);
    // Drops the document; a non-empty text becomes the window text and is
    // parsed and laid out at the next paint or fit request. A UTF-8 text is
    // kept as UTF-16 (window/WideWindowText.h) after a U+FEFF that marks it:
    // the double-byte code pages would not give its bytes back through an
    // ANSI window text.
    void SetHtml(const char* text, TextEncoding encoding = TEXT_CODE_PAGE);
    // How the document is read, from the mark at the start of its text.
    TextEncoding DocumentEncoding() const;
    // Lays out if needed and makes the window as tall as its content, unless
    // the body asks for a fixed height. 1 when the window was resized.
    int FitHeightToContent();
    // Resizes the window; a dimension below 1 keeps its current value.
    void ResizeControl(int cx, int cy);

    // Parses and lays out once per text, at the first call that has a DC.
    void EnsureLaidOut(DeviceContext& dc);
    void ResetBodyAttribs();
    void Parse();
    void ClearElements();
    CHtmlElement* GetElement(int index) const;

    // Body settings: the host's, else the document's, else empty.
    CMsString GetBodyAttrib(const char* name) const;
    int GetBodyAttribNumber(const char* name, int defaultValue, AttribType type) const;
    bool GetBodyAttribBool(const char* name) const;

    // Layout (html/HtmlLayout.cpp). Coordinates are document pixels from the
    // window's top-left corner, before scrolling.
    void MeasureElements(DeviceContext& dc);
    void LayoutLines(DeviceContext& dc);
    // The element's box moved by its line shift and by (0, shift);
    // (-1, -1, -1, -1) for a null element.
    RECT ElementBox(const CHtmlElement* element, int shift) const;
    bool BoxIntersects(const CHtmlElement* element, const RECT& rect) const;
    bool IsVisibleIn(const CHtmlElement* element, const RECT& rect) const;
    void SetScrollInfoAndRedraw(SCROLLINFO& info);
    static void ResetScrollInfo(SCROLLINFO& info);

    // Painting (html/HtmlPaint.cpp).
    LRESULT OnPaint();
    // From the cursor on, the next element visible in rect; every element
    // passed over goes through the stack when one is given.
    CHtmlElement* NextVisibleElement(int& cursor, const RECT& rect, CHtmlFormatStack* stack) const;
    void PaintElement(const CHtmlElement* element, DeviceContext& dc, int shift, const DpiScale& scale,
                      TextEncoding encoding);

    // Scrolling (html/HtmlScroll.cpp).
    void OnVScroll(int code, int thumb);
    void OnMouseWheel(int keys, int delta);

    // Links and mouse (html/HtmlLinks.cpp). The handlers read the mouse
    // position themselves.
    LRESULT OnSetCursor();
    void OnLButtonDown();
    void OnRButtonDown();
    // The first placed element whose box, after scrolling, holds the point
    // (client coordinates); null over margins and gaps.
    CHtmlElement* ElementAtPoint(POINT point) const;
    // The link cursor, made on first use; null when it cannot be made.
    HCURSOR GetHandCursor();
    // The hand over a link, the arrow elsewhere; always 1.
    int UpdateCursor(CHtmlElement* element);
    // Marks the element's link visited, tells the parent and opens the link;
    // the parent hears HTML_NOTIFY_ACTIVATING, then HTML_NOTIFY_LAUNCH_FAILED
    // if nothing was opened, then HTML_NOTIFY_DONE.
    void ActivateLink(CHtmlElement* element);
    // Shows the address of the element's link in a message box.
    void ShowLinkUrl(CHtmlElement* element);
    // The address in the message box of ShowLinkUrl, owned by the control.
    void ShowUrlBox(const char* url);
    // Sends WM_NOTIFY with the code to the parent window.
    void NotifyParent(UINT code);
    // The anchor whose link holds the element; outside a link, the element.
    CHtmlElement* LinkAnchorOf(CHtmlElement* element) const;

    // Links by number, the keyboard and the accessible object
    // (html/HtmlLinkFocus.cpp). A link is an anchor with an address and its
    // run of elements; links count from 0 in document order.
    int LinkCount() const;
    // The links that start before the element (all of them for null).
    int LinksBefore(const CHtmlElement* stop) const;
    // Null for a number that names no link.
    CHtmlElement* LinkAnchorAt(int link) const;
    // -1 for an element outside every link.
    int LinkIndexOf(CHtmlElement* element) const;
    // The box of the link's placed elements in client coordinates, after
    // scrolling; empty when it has none.
    RECT LinkBounds(int link) const;
    // The words of the elements in order, one blank for each run of spaces
    // and breaks, nothing from tags.
    static CMsString ReadableText(const CHtmlElementList& list);
    void ActivateLinkAt(int link);
    // The link with the keyboard focus when the control has it, or -1.
    int FocusedLink() const;
    void FocusLink(int link);
    // After a document change: no focused link, and a tab stop only with links.
    void ResetLinkFocus();
    // The link that Tab (Shift+Tab with Shift down) goes to, or -1.
    int TabTarget() const;
    LRESULT OnGetDlgCode(const MSG* message) const;
    // True when the key was the control's.
    bool OnKeyDown(WPARAM key);
    void OnFocusChange(bool gained);
    LRESULT PaintWithLinkFocus();
    void InvalidateLink(int link);
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    void ReleaseAccessible();
    // These messages, then the base handling.
    LRESULT OnKeyboardOrAccess(UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance;
    HCURSOR handCursor;  // the link cursor, made on first use
    LONG needsParse;     // 1: parse the window text before the next layout
    StringList fontNames;
    LONG wheelDelta;   // wheel movement not yet turned into a scroll step
    LONG browserType;  // handed to the browser launcher
    CHtmlAttribList bodyAttribs;
    CHtmlAttribList hostAttribs;
    CHtmlElementList elements;

    // The control whose link is being opened, or null: one at a time in the
    // whole module, and no field of the object.
    static CHaleSimpleHtmlCtrl*& OpeningLink() {
        static CHaleSimpleHtmlCtrl* control;
        return control;
    }

private:
    CHaleSimpleHtmlCtrl(const CHaleSimpleHtmlCtrl&) = delete;
    CHaleSimpleHtmlCtrl& operator=(const CHaleSimpleHtmlCtrl&) = delete;

    bool RegisterClassOnce();
    bool CursorInClient(POINT& point) const;
    void ListInstalledFonts();
};
