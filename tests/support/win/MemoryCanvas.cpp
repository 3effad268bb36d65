#include "support/win/MemoryCanvas.h"

MemoryCanvas::MemoryCanvas(int w, int h, COLORREF fill)
    : width(w), height(h), dc(CreateCompatibleDC(nullptr)), bitmap(nullptr),
      previousBitmap(nullptr), bits(nullptr) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    bits = static_cast<DWORD*>(pixels);
    previousBitmap = SelectObject(dc, bitmap);
    Fill(fill);
}

MemoryCanvas::~MemoryCanvas() {
    SelectObject(dc, previousBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

COLORREF MemoryCanvas::Pixel(int x, int y) const {
    if (!bits || x < 0 || y < 0 || x >= width || y >= height)
        return CLR_INVALID;
    GdiFlush();
    DWORD bgr = bits[y * width + x];
    return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
}

void MemoryCanvas::Fill(COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
}

RECT MemoryCanvas::InkBounds(const RECT& area, COLORREF background) const {
    RECT box = {0, 0, 0, 0};
    bool found = false;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (Pixel(x, y) == background)
                continue;
            if (!found) {
                box = {x, y, x + 1, y + 1};
                found = true;
                continue;
            }
            if (x < box.left) box.left = x;
            if (x >= box.right) box.right = x + 1;
            if (y >= box.bottom) box.bottom = y + 1;
        }
    }
    return box;
}
