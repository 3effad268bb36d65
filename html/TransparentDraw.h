// Drawing a bitmap with one colour transparent, through a monochrome mask and
// three raster operations: the mask clears the destination where the image is
// opaque, the image (black where transparent) is then combined in with OR.
#pragma once
#include "platform/WinSeam.h"

// The transparent colour of the HTML control's images (magenta).
const COLORREF IMAGE_TRANSPARENT_COLOR = 0xFF00FF;

// (0, 0) for a null handle or a failed query.
SIZE BitmapSize(HBITMAP bitmap);

// Draws the w x h area at (sx, sy) of the bitmap at (x, y), leaving the pixels
// of the transparent colour as they were. The DC is left with a white
// background and black text colour.
void DrawTransparent(HDC dc, HBITMAP bitmap, HPALETTE palette, int x, int y, int w, int h, int sx,
                     int sy, COLORREF transparent, BOOL forceBackground);
// DrawTransparent of the whole bitmap stretched to w x h at (x, y), without a
// palette.
void DrawStretchedTransparent(HDC dc, HBITMAP bitmap, int x, int y, int w, int h,
                              COLORREF transparent);
// DrawTransparent over the whole bitmap at its own size.
void DrawBitmapTransparent(HDC dc, HBITMAP bitmap, HPALETTE palette, int x, int y,
                           COLORREF transparent, BOOL forceBackground);
