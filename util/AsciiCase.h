// Case folding of the runtime's default locale: only A-Z change.
#pragma once

inline char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool EqualsFoldedAscii(const char* a, const char* b) {
    for (; *a && FoldAscii(*a) == FoldAscii(*b); ++a, ++b) {
    }
    return FoldAscii(*a) == FoldAscii(*b);
}
