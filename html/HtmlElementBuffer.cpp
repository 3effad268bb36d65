#include "html/HtmlElementBuffer.h"

#include <climits>
#include <cstring>
#include <new>

CHtmlElementBuffer::CHtmlElementBuffer(bool ownsElements)
    : m_items(nullptr), m_count(0), m_room(0), m_ownsElements(ownsElements) {}

CHtmlElementBuffer::~CHtmlElementBuffer() { Clear(); }

bool CHtmlElementBuffer::Add(CHtmlElement* element) {
    if (m_count == m_room) {
        if (m_room > INT_MAX / 2) return false;
        int room = m_room ? m_room * 2 : 64;
        void** grown = new (std::nothrow) void*[static_cast<size_t>(room)];
        if (!grown) return false;
        if (m_count) memcpy(grown, m_items, sizeof(void*) * static_cast<size_t>(m_count));
        delete[] m_items;
        m_items = grown;
        m_room = room;
    }
    m_items[m_count++] = element;
    return true;
}

CHtmlElement* CHtmlElementBuffer::GetAt(int index) const {
    if (index < 0 || index >= m_count) return nullptr;
    return static_cast<CHtmlElement*>(m_items[index]);
}

bool CHtmlElementBuffer::MoveTo(CHtmlElementList& list) {
    if (list.AddRange(m_items, m_count) < 0) return false;
    delete[] m_items;
    m_items = nullptr;
    m_count = 0;
    m_room = 0;
    return true;
}

void CHtmlElementBuffer::Clear() {
    Reuse();
    delete[] m_items;
    m_items = nullptr;
    m_count = 0;
    m_room = 0;
}

void CHtmlElementBuffer::Reuse() {
    if (m_ownsElements) {
        for (int i = 0; i < m_count; ++i) delete GetAt(i);
    }
    m_count = 0;
}
