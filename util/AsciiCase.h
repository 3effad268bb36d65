// Case folding of the runtime's default locale: only A-Z change.
#pragma once
#include "platform/WinSeam.h"

inline char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool EqualsFoldedAscii(const char* a, const char* b) {
    for (; *a && FoldAscii(*a) == FoldAscii(*b); ++a, ++b) {
    }
    return FoldAscii(*a) == FoldAscii(*b);
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
