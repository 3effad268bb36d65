#include "window/DpiScale.h"

#include <climits>

namespace {
const int BASE_DPI = 96;

int Sane(int dpi) { return dpi > 0 ? dpi : BASE_DPI; }
}  // namespace

DpiScale::DpiScale(HDC dc)
    : dpiX(dc ? Sane(GetDeviceCaps(dc, LOGPIXELSX)) : BASE_DPI),
      dpiY(dc ? Sane(GetDeviceCaps(dc, LOGPIXELSY)) : BASE_DPI) {}

DpiScale DpiScale::ForWindow(HWND window) {
    HDC dc = GetDC(window);
    DpiScale scale(dc);
    if (dc) ReleaseDC(window, dc);
    return scale;
}

// MulDiv rounds half away from zero and gives -1 when the result leaves the
// int range. Above 96 DPI a length of more than one pixel cannot scale to a
// true -1, so there -1 means overflow and the length saturates instead.
int DpiScale::Scale(int length, int dpi) {
    if (dpi == BASE_DPI) return length;
    const int scaled = MulDiv(length, dpi, BASE_DPI);
    if (scaled != -1 || dpi < BASE_DPI || (length <= 0 && length >= -1)) return scaled;
    return length > 0 ? INT_MAX : INT_MIN;
}
