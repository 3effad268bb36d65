// The installed font names sorted for look-ups without regard to case, so
// that a face list of n names costs n searches of log m steps instead of n
// walks through m installed names. Built at the first look-up: a text
// without faces costs nothing.
#pragma once
#include "util/StringList.h"

class CFontNameIndex {
public:
    explicit CFontNameIndex(const StringList& names);
    ~CFontNameIndex();

    // Whether a non-empty installed name equals the name, as StringList's
    // Find with caseSensitive 0 decides; false for an empty name.
    bool Contains(const char* name) const;

private:
    CFontNameIndex(const CFontNameIndex&) = delete;
    CFontNameIndex& operator=(const CFontNameIndex&) = delete;

    // False when memory runs out.
    bool Build() const;

    const StringList& m_names;
    // Folded copies of the names, in one block, and pointers to them in
    // byte order; both made by Build.
    mutable char* m_text;
    mutable const char** m_keys;
    mutable int m_count;
    mutable bool m_built;
    mutable bool m_usable;
};
