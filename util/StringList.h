// List of private heap copies of zero-terminated texts.
#pragma once
#include "util/PtrArray.h"

class StringList : public PtrArray {
public:
    StringList();
    ~StringList() override;

    // Stores a copy of the text; -1 for a null text or when memory runs out.
    int Add(const char* text);
    const char* GetAt(int index) const;
    // Index of the first non-empty entry equal to the text (ASCII letters fold
    // when caseSensitive is 0), or -1; an empty text never matches.
    int Find(const char* text, int caseSensitive) const;
};
