// Splits a text into tokens at separator characters.
#include "html/CStringTokenizer.h"

#include <climits>
#include <cstring>
#include <new>

namespace {
bool IsSeparator(const char* at, const char* separators) {
    for (const char* s = separators; *s; ++s) {
        if (*s == *at) return true;
    }
    return false;
}

// Past the run of characters that are (or are not) separators.
const char* SkipWhile(const char* p, const char* separators, bool separator, TextEncoding encoding) {
    while (*p && IsSeparator(p, separators) == separator) p = NextChar(p, encoding);
    return p;
}

int CountTokens(const char* text, const char* separators, TextEncoding encoding) {
    int total = 0;
    for (const char* p = SkipWhile(text, separators, true, encoding); *p && total < INT_MAX; ++total) {
        p = SkipWhile(SkipWhile(p, separators, false, encoding), separators, true, encoding);
    }
    return total;
}

char* CopyToken(const char* first, const char* end) {
    size_t length = static_cast<size_t>(end - first);
    char* copy = new (std::nothrow) char[length + 1];
    if (!copy) return nullptr;
    memcpy(copy, first, length);
    copy[length] = '\0';
    return copy;
}

// Fills copies with up to room tokens; returns how many were made (fewer
// when memory runs out).
int CopyTokens(const char* text, const char* separators, TextEncoding encoding, void** copies, int room) {
    int made = 0;
    for (const char* p = SkipWhile(text, separators, true, encoding); *p && made < room; ++made) {
        const char* end = SkipWhile(p, separators, false, encoding);
        copies[made] = CopyToken(p, end);
        if (!copies[made]) break;
        p = SkipWhile(end, separators, true, encoding);
    }
    return made;
}
}  // namespace

// The tokens are counted first and join the list in one step: appended one
// at a time, a face list of n names reallocated the list n times.
CStringTokenizer::CStringTokenizer(const char* text, const char* separators, TextEncoding encoding)
    : m_next(0) {
    if (!text || !separators) return;
    int total = CountTokens(text, separators, encoding);
    if (total == 0) return;
    void** copies = new (std::nothrow) void*[static_cast<size_t>(total)];
    if (!copies) return;
    int made = CopyTokens(text, separators, encoding, copies, total);
    if (m_tokens.AddRange(copies, made) < 0) {
        for (int i = 0; i < made; ++i) delete[] static_cast<char*>(copies[i]);
    }
    delete[] copies;
}

bool CStringTokenizer::NextToken(CMsString& token) {
    const char* next = m_tokens.GetAt(m_next);
    if (!next) {
        token.Empty();
        return false;
    }
    ++m_next;
    token = next;
    return true;
}
