// Elements collected before they join a list in one step. A list reallocates
// on every single append, which makes building a long document one element at
// a time cost quadratic time; this buffer grows by doubling instead.
#pragma once
#include "html/HtmlElement.h"

class CHtmlElementBuffer {
public:
    // An owning buffer deletes the elements it still holds when cleared or
    // destroyed; handing them to a list passes that ownership on.
    explicit CHtmlElementBuffer(bool ownsElements);
    ~CHtmlElementBuffer();

    // False when memory runs out (the element stays the caller's).
    bool Add(CHtmlElement* element);
    int Count() const { return m_count; }
    CHtmlElement* GetAt(int index) const;
    // The last element, or null when empty.
    CHtmlElement* Last() const { return GetAt(m_count - 1); }
    // Appends every element to list, in order, and empties the buffer. False
    // when the list cannot grow; the buffer then keeps its elements.
    bool MoveTo(CHtmlElementList& list);
    // Forgets every element, deleting them if owned.
    void Clear();
    // The same, but keeps the storage for the next elements.
    void Reuse();

private:
    CHtmlElementBuffer(const CHtmlElementBuffer&) = delete;
    CHtmlElementBuffer& operator=(const CHtmlElementBuffer&) = delete;

    void** m_items;
    int m_count;
    int m_room;
    bool m_ownsElements;
};
