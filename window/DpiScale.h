// Lengths the layout and drawing code write in pixels are pixels of a screen
// of 96 dots per inch, as a CSS pixel is: on a device of d dots per inch,
// n of them are n * d / 96 device pixels. The DPI comes from the DC that the
// fonts are made for, so lengths and fonts grow together; whether the host is
// DPI-aware is never asked. A length is converted where it is used, never
// where it is stored, and one-pixel lines are not converted at all.
#pragma once
#include "platform/WinSeam.h"

class DpiScale {
public:
    // LOGPIXELSX and LOGPIXELSY of the DC; 96 for a null DC or a failed query.
    explicit DpiScale(HDC dc);
    // The same for the DC of a window (its client area).
    static DpiScale ForWindow(HWND window);

    // Device pixels for a horizontal and a vertical length: rounded half away
    // from zero, clamped to the int range, unchanged at 96 DPI.
    int X(int length) const { return Scale(length, dpiX); }
    int Y(int length) const { return Scale(length, dpiY); }

    static int Scale(int length, int dpi);

private:
    int dpiX;
    int dpiY;
};
