// A 32-bit top-down DIB selected into a memory DC, for tests that draw and
// read the pixels back. Owns the DC and the bitmap; restores the DC's first
// bitmap before deleting either.
#pragma once

#include <windows.h>

class MemoryCanvas {
public:
    MemoryCanvas(int width, int height, COLORREF fill);
    ~MemoryCanvas();

    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;

    HDC Dc() const { return dc; }
    int Width() const { return width; }
    int Height() const { return height; }

    // The colour at (x, y) as a COLORREF; CLR_INVALID outside the canvas.
    COLORREF Pixel(int x, int y) const;
    void Fill(COLORREF color);

    // Bounding box of the pixels that differ from `background` inside
    // `area`; empty (all zero) when none do.
    RECT InkBounds(const RECT& area, COLORREF background) const;

private:
    int width;
    int height;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previousBitmap;
    DWORD* bits;
};
