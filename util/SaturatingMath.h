// 32-bit arithmetic that clamps instead of overflowing. Sizes, margins and
// spacings come from markup and may be as large as an int holds; every sum and
// difference of such values in layout, painting and scrolling goes through
// these so that hostile input gives huge but defined coordinates; the dialog
// layout uses them for the same reason.
#pragma once
#include <climits>

inline int ClampToInt(long long value) {
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

inline int SatAdd(int a, int b) { return ClampToInt(static_cast<long long>(a) + b); }

inline int SatSub(int a, int b) { return ClampToInt(static_cast<long long>(a) - b); }

inline int SatNeg(int a) { return ClampToInt(-static_cast<long long>(a)); }
