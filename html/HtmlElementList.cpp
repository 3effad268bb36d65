// The element sequence: owning for the control's document, non-owning for an
// anchor's link members.
#include "html/HtmlElement.h"

namespace {
void ReleaseElement(void* element) { delete static_cast<CHtmlElement*>(element); }
}  // namespace

CHtmlElementList::CHtmlElementList(bool ownsElements)
    : PtrArray(ownsElements ? ReleaseElement : nullptr), textSeen(0) {}

CHtmlElementList::~CHtmlElementList() = default;

int CHtmlElementList::Add(CHtmlElement* element) { return PtrArray::Add(element); }

CHtmlElement* CHtmlElementList::GetAt(int index) const {
    return static_cast<CHtmlElement*>(PtrArray::GetAt(index));
}

void CHtmlElementList::RemoveAll() {
    PtrArray::RemoveAll();
    textSeen = 0;
}

bool CHtmlElementList::Next(CHtmlElementCursor& cursor) const {
    if (cursor.index < 0 || cursor.index >= count) {
        cursor.current = nullptr;
        return false;
    }
    cursor.current = GetAt(cursor.index++);
    return true;
}
