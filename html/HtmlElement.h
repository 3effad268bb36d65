// The HTML control's document: one flat, ordered sequence of elements. Words,
// spaces, breaks and images are elements, and so is each start and end tag of
// the formatting tags; the text-style stack pairs them up later.
#pragma once
#include "html/HtmlAttrib.h"
#include "util/PtrArray.h"

class CHaleSimpleHtmlCtrl;
class CHtmlElement;

enum HtmlElementKind {
    HEK_TEXT = 1,      // one word, or one &nbsp; (held as a blank)
    HEK_SPACE = 2,     // a run of blanks between words
    HEK_BR = 3,        // br start or end tag
    HEK_CENTER = 4,
    HEK_P = 5,
    HEK_B = 6,
    HEK_I = 7,
    HEK_A = 8,
    HEK_FONT = 9,
    HEK_HEADING = 10,  // h1..h6, with size "1".."6"
    HEK_IMG = 11,
};

// Caller-owned position of an iteration over a CHtmlElementList.
struct CHtmlElementCursor {
    int index = 0;
    CHtmlElement* current = nullptr;
};

class CHtmlElementList : public PtrArray {
public:
    // An owning list deletes its elements when cleared or destroyed; a
    // non-owning one (an anchor's link members) only forgets them.
    explicit CHtmlElementList(bool ownsElements = true);
    ~CHtmlElementList() override;

    // The new index, or -1 when memory runs out (the element stays the caller's).
    int Add(CHtmlElement* element);
    using PtrArray::AddRange;
    // Null for an index outside 0..count-1.
    CHtmlElement* GetAt(int index) const;
    // Releases every element (if owned) and sets textSeen back to 0.
    void RemoveAll();
    // Moves the cursor on: true with cursor.current set, or false with it
    // null once the end is reached.
    bool Next(CHtmlElementCursor& cursor) const;

    int textSeen;  // 1 once a word has been added since the last clear
};

class CHtmlElement {
public:
    CHtmlElement(CHaleSimpleHtmlCtrl* owner, int kind, int isOpen);
    // Copies the attributes with CopyAttribs.
    CHtmlElement(CHaleSimpleHtmlCtrl* owner, int kind, int isOpen, const CHtmlAttribList& source);
    // Stores one pair with SetAttrib; an invalid pair leaves the element without it.
    CHtmlElement(CHaleSimpleHtmlCtrl* owner, int kind, int isOpen, const char* name,
                 const char* value);
    ~CHtmlElement();

    CMsString GetAttrib(const char* name) const;
    int GetAttribNumber(const char* name, int defaultValue, AttribType type) const;
    // Words, spaces, breaks and images take room on a line.
    bool IsContent() const;

    CHaleSimpleHtmlCtrl* owner;  // not owned, never dereferenced here
    int kind;                    // an HtmlElementKind
    int isOpen;                  // 1: start tag or standalone element; 0: end tag
    CHtmlAttribList attribs;
    // Layout fields, written by the layout.
    int cx;
    int cy;
    int x;       // -1 until placed
    int y;       // -1 until placed
    int lineCy;  // the box is as tall as the larger of cy and lineCy
    int dx;      // horizontal offset added to the box
    // Filled by the parser's link pass.
    CHtmlElement* linkAnchor;      // the HEK_A this element's link belongs to, or null
    CHtmlElementList linkMembers;  // on an anchor: its link's elements, not owned

private:
    CHtmlElement(const CHtmlElement&) = delete;
    CHtmlElement& operator=(const CHtmlElement&) = delete;
};
