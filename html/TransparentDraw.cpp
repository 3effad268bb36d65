#include "html/TransparentDraw.h"

namespace {
const COLORREF BLACK = 0x000000;
const COLORREF WHITE = 0xFFFFFF;

bool IsPaletteDevice(HDC dc) { return (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0; }

void UsePalette(HDC dc, HPALETTE palette, BOOL forceBackground) {
    SelectPalette(dc, palette, forceBackground);
    RealizePalette(dc);
}

void RestoreObject(HDC dc, HGDIOBJ previous) {
    if (previous) SelectObject(dc, previous);
}

// The sw x sh area at (sx, sy) of the bitmap drawn into w x h at (x, y);
// equal sizes copy pixel for pixel.
void DrawTransparentArea(HDC dc, HBITMAP bitmap, HPALETTE palette, int x, int y, int w, int h,
                         int sx, int sy, int sw, int sh, COLORREF transparent,
                         BOOL forceBackground) {
    if (w < 1 || h < 1) return;
    HDC maskDc = CreateCompatibleDC(dc);
    HDC imageDc = CreateCompatibleDC(dc);
    HDC sourceDc = CreateCompatibleDC(dc);

    HBITMAP image = CreateCompatibleBitmap(dc, w, h);
    HGDIOBJ previousImage = SelectObject(imageDc, image);
    HPALETTE previousPalette = nullptr;
    bool paletteSelected = palette && IsPaletteDevice(dc);
    if (paletteSelected) {
        previousPalette = SelectPalette(dc, palette, forceBackground);
        RealizePalette(dc);
        UsePalette(imageDc, palette, FALSE);
        UsePalette(maskDc, palette, FALSE);
    }
    HGDIOBJ previousSource = SelectObject(sourceDc, bitmap);
    StretchBlt(imageDc, 0, 0, w, h, sourceDc, sx, sy, sw, sh, SRCCOPY);

    // White (1) where the image has exactly the transparent colour.
    HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
    HGDIOBJ previousMask = SelectObject(maskDc, mask);
    SetBkColor(imageDc, transparent);
    BitBlt(maskDc, 0, 0, w, h, imageDc, 0, 0, SRCCOPY);

    // Transparent pixels of the image become black.
    SetBkColor(imageDc, BLACK);
    SetTextColor(imageDc, WHITE);
    BitBlt(imageDc, 0, 0, w, h, maskDc, 0, 0, SRCAND);

    // Clear the destination where the image is opaque, then OR the image in.
    SetBkColor(dc, WHITE);
    SetTextColor(dc, BLACK);
    BitBlt(dc, x, y, w, h, maskDc, 0, 0, SRCAND);
    BitBlt(dc, x, y, w, h, imageDc, 0, 0, SRCPAINT);

    RestoreObject(sourceDc, previousSource);
    RestoreObject(maskDc, previousMask);
    RestoreObject(imageDc, previousImage);
    if (mask) DeleteObject(mask);
    if (image) DeleteObject(image);
    DeleteDC(sourceDc);
    DeleteDC(imageDc);
    DeleteDC(maskDc);
    if (paletteSelected) UsePalette(dc, previousPalette, forceBackground);
}
}  // namespace

SIZE BitmapSize(HBITMAP bitmap) {
    SIZE size = {0, 0};
    BITMAP info;
    if (!bitmap || !GetObjectA(bitmap, sizeof(info), &info)) return size;
    size.cx = info.bmWidth;
    size.cy = info.bmHeight;
    return size;
}

void DrawTransparent(HDC dc, HBITMAP bitmap, HPALETTE palette, int x, int y, int w, int h, int sx,
                     int sy, COLORREF transparent, BOOL forceBackground) {
    DrawTransparentArea(dc, bitmap, palette, x, y, w, h, sx, sy, w, h, transparent, forceBackground);
}

void DrawStretchedTransparent(HDC dc, HBITMAP bitmap, int x, int y, int w, int h,
                              COLORREF transparent) {
    const SIZE size = BitmapSize(bitmap);
    DrawTransparentArea(dc, bitmap, nullptr, x, y, w, h, 0, 0, size.cx, size.cy, transparent, FALSE);
}

void DrawBitmapTransparent(HDC dc, HBITMAP bitmap, HPALETTE palette, int x, int y,
                           COLORREF transparent, BOOL forceBackground) {
    SIZE size = BitmapSize(bitmap);
    DrawTransparent(dc, bitmap, palette, x, y, size.cx, size.cy, 0, 0, transparent,
                    forceBackground);
}
