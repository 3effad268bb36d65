// Splits a text into tokens at separator characters.
#include "html/CStringTokenizer.h"

namespace {
bool IsSeparator(const char* at, const char* separators) {
    for (const char* s = separators; *s; ++s) {
        if (*s == *at) return true;
    }
    return false;
}

const char* SkipSeparators(const char* p, const char* separators) {
    while (*p && IsSeparator(p, separators)) p = CharNextA(p);
    return p;
}

const char* SkipToken(const char* p, const char* separators) {
    while (*p && !IsSeparator(p, separators)) p = CharNextA(p);
    return p;
}
}  // namespace

CStringTokenizer::CStringTokenizer(const char* text, const char* separators) : m_next(0) {
    if (!text || !separators) return;
    const char* p = SkipSeparators(text, separators);
    while (*p) {
        const char* end = SkipToken(p, separators);
        CMsString token;
        char* chars = token.GetBuffer(static_cast<int>(end - p));
        if (!chars) return;
        for (const char* q = p; q < end; ++q) *chars++ = *q;
        token.ReleaseBuffer(static_cast<int>(end - p));
        m_tokens.Add(token);
        p = SkipSeparators(end, separators);
    }
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
