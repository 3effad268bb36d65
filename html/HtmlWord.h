// The word the parser is collecting. A CMsString grows to its exact size on
// every append, which makes a long word cost time quadratic in its length;
// this keeps doubling room in the string instead.
#pragma once
#include "util/CMsString.h"

class CHtmlWord {
public:
    CHtmlWord() : m_room(0) {}

    bool IsEmpty() const { return m_text.IsEmpty(); }
    const CMsString& Text() const { return m_text; }
    // Appends count bytes; on memory exhaustion the word stays as it was.
    void Append(const char* bytes, int count);
    void Empty();

private:
    CMsString m_text;
    int m_room;  // bytes the string's block is known to hold
};
