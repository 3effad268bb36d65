#include "html/HtmlWord.h"

void CHtmlWord::Append(const char* bytes, int count) {
    int length = m_text.GetLength();
    if (count <= 0 || count > 0x3FFFFFFF - length) return;
    int needed = length + count;
    int room = m_room;
    if (needed > room) {
        room = needed < 0x1FFFFFFF ? needed * 2 : needed;
        if (room < 16) room = 16;
    }
    char* chars = m_text.GetBuffer(room);
    if (!chars) return;
    m_room = room;
    for (int i = 0; i < count; ++i) chars[length + i] = bytes[i];
    m_text.ReleaseBuffer(needed);
}

void CHtmlWord::Empty() {
    m_text.Empty();
    m_room = 0;
}
