// One element of the HTML control's document.
#include "html/HtmlElement.h"

CHtmlElement::CHtmlElement(CHaleSimpleHtmlCtrl* owner, int kind, int isOpen)
    : owner(owner),
      kind(kind),
      isOpen(isOpen),
      cx(0),
      cy(0),
      x(-1),
      y(-1),
      lineCy(0),
      dx(0),
      linkAnchor(nullptr),
      linkMembers(false) {}

CHtmlElement::CHtmlElement(CHaleSimpleHtmlCtrl* owner, int kind, int isOpen,
                           const CHtmlAttribList& source)
    : CHtmlElement(owner, kind, isOpen) {
    attribs.CopyAttribs(source);
}

CHtmlElement::CHtmlElement(CHaleSimpleHtmlCtrl* owner, int kind, int isOpen, const char* name,
                           const char* value)
    : CHtmlElement(owner, kind, isOpen) {
    attribs.SetAttrib(name, value);
}

// The link members belong to the document's own list; only forget them.
CHtmlElement::~CHtmlElement() { linkMembers.RemoveAll(); }

CMsString CHtmlElement::GetAttrib(const char* name) const { return attribs.GetAttrib(name); }

int CHtmlElement::GetAttribNumber(const char* name, int defaultValue, AttribType type) const {
    return attribs.GetAttribNumber(name, defaultValue, type);
}

bool CHtmlElement::IsContent() const {
    return kind == HEK_TEXT || kind == HEK_SPACE || kind == HEK_BR || kind == HEK_IMG;
}
