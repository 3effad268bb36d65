// Case folding of the runtime's default locale: only A-Z change, and only in
// characters of one byte. Under a double-byte ANSI code page the trail byte of
// a character may be a letter (ア is "\x83" "A", ヂ "\x83" "a"): it is compared
// exactly, and matches begin only at character starts.
#pragma once
#include <cstring>

#include "platform/WinSeam.h"
#include "text/TextEncoding.h"

inline char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Bytes of text when it matches the start of p with letters folded, else -1.
inline int MatchFoldedAt(const char* p, const char* text, TextEncoding encoding = TEXT_CODE_PAGE) {
    int i = 0;
    while (text[i]) {
        int size = CharSize(text + i, encoding);
        bool same = size == 1 ? FoldAscii(p[i]) == FoldAscii(text[i])
                              : strncmp(p + i, text + i, static_cast<size_t>(size)) == 0;
        if (!same) return -1;
        i += size;
    }
    return i;
}

inline bool EqualsFoldedAscii(const char* a, const char* b) {
    int matched = MatchFoldedAt(a, b);
    return matched >= 0 && a[matched] == '\0';
}

// Only printable 7-bit characters (blank to tilde).
inline bool IsPrintableAscii(const char* text) {
    for (; *text; ++text) {
        if (*text < ' ' || *text > '~') return false;
    }
    return true;
}

// lstrcmpiA(a, b) == 0. The system compare converts both texts and weighs
// them by the locale's sort tables, which costs microseconds a call; on two
// texts of printable ASCII it agrees with folding A-Z, so only other texts
// take it.
inline bool EqualsNoCase(const char* a, const char* b) {
    if (IsPrintableAscii(a) && IsPrintableAscii(b)) return EqualsFoldedAscii(a, b);
    return lstrcmpiA(a, b) == 0;
}
