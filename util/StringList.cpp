#include "util/StringList.h"

#include <cstring>

#include "util/AsciiCase.h"

namespace {
void FreeText(void* text) { delete[] static_cast<char*>(text); }
}  // namespace

StringList::StringList() : PtrArray(FreeText) {}

StringList::~StringList() { RemoveAll(); }

int StringList::Add(const char* text) {
    char* copy = DuplicateText(text);
    if (!copy) return -1;
    int index = PtrArray::Add(copy);
    if (index < 0) delete[] copy;
    return index;
}

const char* StringList::GetAt(int index) const { return static_cast<const char*>(PtrArray::GetAt(index)); }

int StringList::Find(const char* text, int caseSensitive) const {
    if (!text || !*text) return -1;
    for (int i = 0; i < count; ++i) {
        const char* entry = GetAt(i);
        if (!entry || !*entry) continue;
        bool equal = caseSensitive ? strcmp(entry, text) == 0 : EqualsFoldedAscii(entry, text);
        if (equal) return i;
    }
    return -1;
}
