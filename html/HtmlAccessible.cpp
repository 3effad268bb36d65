#include "html/HtmlAccessible.h"

#include <cstring>
#include <new>

#include "html/AccessibilityApi.h"
#include "html/CHaleSimpleHtmlCtrl.h"
#include "text/WideText.h"

namespace {
const char kDefaultAction[] = "Click";

enum Property { PROPERTY_NAME, PROPERTY_VALUE, PROPERTY_ACTION, PROPERTY_ROLE, PROPERTY_STATE };

HRESULT SetNumber(VARIANT* result, LONG value) {
    if (!result) return E_POINTER;
    result->vt = VT_I4;
    result->lVal = value;
    return S_OK;
}

HRESULT SetEmpty(VARIANT* result) {
    if (!result) return E_POINTER;
    result->vt = VT_EMPTY;
    return S_FALSE;
}

// The text in UTF-16, from the document's encoding. An object exists only
// once the functions were found.
HRESULT SetText(BSTR* result, const char* text, TextEncoding encoding) {
    if (!result) return E_POINTER;
    WideText wide(text, lstrlenA(text), encoding);
    *result = GetAccessibilityApi()->sysAllocStringLen(wide.Units(), static_cast<UINT>(wide.Count()));
    return *result ? S_OK : E_OUTOFMEMORY;
}

// IUnknown and IDispatch differ only in their first field.
bool IsAnswered(REFIID iid) {
    static const IID unknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    if (IsEqualIID(iid, IID_IACCESSIBLE_DATA)) return true;
    return (iid.Data1 == 0 || iid.Data1 == 0x00020400) && memcmp(&iid.Data2, &unknown.Data2, 12) == 0;
}
}  // namespace

CHtmlAccessible::CHtmlAccessible(CHaleSimpleHtmlCtrl* owner) : control(owner), references(1) {}

CHtmlAccessible* CHtmlAccessible::Create(CHaleSimpleHtmlCtrl* control) {
    return new (std::nothrow) CHtmlAccessible(control);
}

HRESULT CHtmlAccessible::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!IsAnswered(iid)) return E_NOINTERFACE;
    *object = this;
    AddRef();
    return S_OK;
}

ULONG CHtmlAccessible::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references)); }

ULONG CHtmlAccessible::Release() {
    LONG left = InterlockedDecrement(&references);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT CHtmlAccessible::GetTypeInfoCount(UINT*) { return E_NOTIMPL; }
HRESULT CHtmlAccessible::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
HRESULT CHtmlAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
HRESULT CHtmlAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

HWND CHtmlAccessible::Window() const { return control ? control->hwnd : nullptr; }

HRESULT CHtmlAccessible::Resolve(const ChildId& id, int& link) const {
    if (!Window()) return E_FAIL;
    if (id.vt != VT_I4) return E_INVALIDARG;
    link = id.lVal - 1;
    if (id.lVal == CHILDID_SELF) return S_OK;
    return id.lVal > 0 && id.lVal <= control->LinkCount() ? S_OK : E_INVALIDARG;
}

HRESULT CHtmlAccessible::Get(const ChildId& id, int property, BSTR* text, VARIANT* number) const {
    if (text) *text = nullptr;
    if (number) number->vt = VT_EMPTY;
    int link;
    HRESULT resolved = Resolve(id, link);
    if (FAILED(resolved)) return resolved;
    CHtmlElement* anchor = control->LinkAnchorAt(link);  // null for the text itself
    if (property == PROPERTY_ROLE) return SetNumber(number, anchor ? ROLE_SYSTEM_LINK : ROLE_SYSTEM_STATICTEXT);
    if (property == PROPERTY_STATE) return SetNumber(number, LinkState(link, anchor));
    TextEncoding encoding = control->DocumentEncoding();
    if (property == PROPERTY_NAME)
        return SetText(text, CHaleSimpleHtmlCtrl::ReadableText(anchor ? anchor->linkMembers : control->elements),
                       encoding);
    if (!anchor) return S_FALSE;
    return SetText(text, property == PROPERTY_VALUE ? anchor->GetAttrib("href") : CMsString(kDefaultAction),
                   encoding);
}

LONG CHtmlAccessible::LinkState(int link, const CHtmlElement* anchor) const {
    if (!anchor) return STATE_SYSTEM_READONLY;
    LONG flags = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_LINKED;
    // A visited link is drawn in its own colour.
    if (!anchor->GetAttrib("linkcolor").IsEmpty()) flags |= STATE_SYSTEM_TRAVERSED;
    if (GetFocus() == control->hwnd && control->FocusedLink() == link) flags |= STATE_SYSTEM_FOCUSED;
    return flags;
}

HRESULT CHtmlAccessible::get_accParent(IDispatch** parent) {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!Window()) return E_FAIL;
    // An IAccessible is an IDispatch.
    return GetAccessibilityApi()->createStdAccessibleObject(control->hwnd, OBJID_WINDOW, IID_IACCESSIBLE_DATA,
                                          reinterpret_cast<void**>(parent));
}

HRESULT CHtmlAccessible::get_accChildCount(LONG* count) {
    if (!count) return E_POINTER;
    if (!Window()) return E_FAIL;
    *count = control->LinkCount();
    return S_OK;
}

// The links are simple elements, not objects of their own.
HRESULT CHtmlAccessible::get_accChild(ChildId id, IDispatch** child) {
    if (child) *child = nullptr;
    int link;
    HRESULT resolved = Resolve(id, link);
    if (FAILED(resolved)) return resolved;
    return link < 0 ? E_INVALIDARG : S_FALSE;
}

HRESULT CHtmlAccessible::get_accName(ChildId id, BSTR* name) { return Get(id, PROPERTY_NAME, name, nullptr); }
HRESULT CHtmlAccessible::get_accValue(ChildId id, BSTR* value) { return Get(id, PROPERTY_VALUE, value, nullptr); }
HRESULT CHtmlAccessible::get_accDefaultAction(ChildId id, BSTR* action) {
    return Get(id, PROPERTY_ACTION, action, nullptr);
}
HRESULT CHtmlAccessible::get_accRole(ChildId id, VARIANT* role) { return Get(id, PROPERTY_ROLE, nullptr, role); }
HRESULT CHtmlAccessible::get_accState(ChildId id, VARIANT* state) { return Get(id, PROPERTY_STATE, nullptr, state); }

// Neither the text nor its links have these.
HRESULT CHtmlAccessible::get_accDescription(ChildId, BSTR*) { return DISP_E_MEMBERNOTFOUND; }
HRESULT CHtmlAccessible::get_accHelp(ChildId, BSTR*) { return DISP_E_MEMBERNOTFOUND; }
HRESULT CHtmlAccessible::get_accKeyboardShortcut(ChildId, BSTR*) { return DISP_E_MEMBERNOTFOUND; }
HRESULT CHtmlAccessible::get_accHelpTopic(BSTR*, ChildId, LONG*) { return DISP_E_MEMBERNOTFOUND; }
HRESULT CHtmlAccessible::get_accSelection(VARIANT*) { return DISP_E_MEMBERNOTFOUND; }
HRESULT CHtmlAccessible::accSelect(LONG, ChildId) { return DISP_E_MEMBERNOTFOUND; }
HRESULT CHtmlAccessible::accNavigate(LONG, ChildId, VARIANT*) { return DISP_E_MEMBERNOTFOUND; }
HRESULT CHtmlAccessible::put_accName(ChildId, BSTR) { return E_NOTIMPL; }
HRESULT CHtmlAccessible::put_accValue(ChildId, BSTR) { return E_NOTIMPL; }

HRESULT CHtmlAccessible::get_accFocus(VARIANT* id) {
    if (!Window()) return E_FAIL;
    if (GetFocus() != Window()) return SetEmpty(id);
    return SetNumber(id, control->FocusedLink() + 1);
}

HRESULT CHtmlAccessible::accLocation(LONG* left, LONG* top, LONG* width, LONG* height, ChildId id) {
    int link;
    HRESULT resolved = Resolve(id, link);
    if (FAILED(resolved)) return resolved;
    if (!left || !top || !width || !height) return E_POINTER;
    RECT box = control->LinkBounds(link);
    MapWindowPoints(control->hwnd, nullptr, reinterpret_cast<POINT*>(&box), 2);
    if (link < 0) GetWindowRect(control->hwnd, &box);
    *left = box.left;
    *top = box.top;
    *width = box.right - box.left;
    *height = box.bottom - box.top;
    return S_OK;
}

HRESULT CHtmlAccessible::accHitTest(LONG x, LONG y, VARIANT* id) {
    if (!Window()) return E_FAIL;
    POINT point = {x, y};
    RECT client;
    ScreenToClient(control->hwnd, &point);
    GetClientRect(control->hwnd, &client);
    if (!PtInRect(&client, point)) return SetEmpty(id);
    CHtmlElement* element = control->ElementAtPoint(point);
    return SetNumber(id, element ? control->LinkIndexOf(element) + 1 : CHILDID_SELF);
}

// A click may start a browser and wait for it: the control does it once the
// client's call has returned.
HRESULT CHtmlAccessible::accDoDefaultAction(ChildId id) {
    int link;
    HRESULT resolved = Resolve(id, link);
    if (FAILED(resolved)) return resolved;
    if (link < 0) return DISP_E_MEMBERNOTFOUND;
    return PostMessageA(control->hwnd, HTML_MSG_ACTIVATE_LINK, static_cast<WPARAM>(link), 0) ? S_OK : E_FAIL;
}
