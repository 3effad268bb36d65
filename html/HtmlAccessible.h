// The HTML control's accessible object: static text named by the document's
// words, with one simple child per link (ids 1..n in document order) that a
// client can read, locate, hit-test and click. A plain reference-counted COM
// object; it reaches the control through a pointer that Disconnect clears
// when the window goes, after which every call but the IUnknown ones answers
// E_FAIL.
#pragma once
#include <windows.h>
#include <oleacc.h>

class CHaleSimpleHtmlCtrl;
class CHtmlElement;

// A child id as it arrives by value: the 16 bytes of a VARIANT, of which
// VT_I4 and the number are read. Declared as plain words, the argument is
// used where it lies instead of being copied first, as GCC does with VARIANT.
struct ChildId {
    WORD vt;
    WORD reserved[3];
    LONG lVal;
    LONG high;
};

// The table is IAccessible's, slot for slot (IUnknown, IDispatch, then the
// accessible operations), so a pointer to the object is an IAccessible*.
class CHtmlAccessible final {
public:
    // A new object with one reference, the caller's; null when memory runs out.
    static CHtmlAccessible* Create(CHaleSimpleHtmlCtrl* control);
    void Disconnect() { control = nullptr; }
    IAccessible* Interface() { return reinterpret_cast<IAccessible*>(this); }

    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object);
    virtual ULONG STDMETHODCALLTYPE AddRef();
    virtual ULONG STDMETHODCALLTYPE Release();

    virtual HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count);
    virtual HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**);
    virtual HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*);
    virtual HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*);

    virtual HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent);
    virtual HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count);
    virtual HRESULT STDMETHODCALLTYPE get_accChild(ChildId id, IDispatch** child);
    virtual HRESULT STDMETHODCALLTYPE get_accName(ChildId id, BSTR* name);
    virtual HRESULT STDMETHODCALLTYPE get_accValue(ChildId id, BSTR* value);
    virtual HRESULT STDMETHODCALLTYPE get_accDescription(ChildId id, BSTR* text);
    virtual HRESULT STDMETHODCALLTYPE get_accRole(ChildId id, VARIANT* role);
    virtual HRESULT STDMETHODCALLTYPE get_accState(ChildId id, VARIANT* state);
    virtual HRESULT STDMETHODCALLTYPE get_accHelp(ChildId id, BSTR* text);
    virtual HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, ChildId id, LONG* topic);
    virtual HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(ChildId id, BSTR* text);
    virtual HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* id);
    virtual HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* id);
    virtual HRESULT STDMETHODCALLTYPE get_accDefaultAction(ChildId id, BSTR* action);
    virtual HRESULT STDMETHODCALLTYPE accSelect(LONG flags, ChildId id);
    virtual HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          ChildId id);
    virtual HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, ChildId start, VARIANT* end);
    virtual HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* id);
    virtual HRESULT STDMETHODCALLTYPE accDoDefaultAction(ChildId id);
    virtual HRESULT STDMETHODCALLTYPE put_accName(ChildId, BSTR);
    virtual HRESULT STDMETHODCALLTYPE put_accValue(ChildId, BSTR);

private:
    explicit CHtmlAccessible(CHaleSimpleHtmlCtrl* control);

    // The control's window; null once disconnected or gone.
    HWND Window() const;
    // E_FAIL once disconnected and E_INVALIDARG for an id that names nothing;
    // otherwise S_OK with link -1 for the object itself, else the link's number.
    HRESULT Resolve(const ChildId& id, int& link) const;
    // Name, value, default action, role or state of the object or a link.
    HRESULT Get(const ChildId& id, int property, BSTR* text, VARIANT* number) const;
    LONG LinkState(int link, const CHtmlElement* anchor) const;

    CHaleSimpleHtmlCtrl* control;  // null once disconnected
    LONG references;
};
