// A visible top-level test window that holds static placeholders for HTML
// controls, plus helpers to paint a window now and read its pixels back.
// Owns its window and destroys it on destruction, so an HTML control bound to
// one of its placeholders must be declared before the host (and so outlive
// its window).
#pragma once

#include <windows.h>

#include <vector>

class HtmlCtrlHost {
public:
    HtmlCtrlHost(int width = 420, int height = 320);
    ~HtmlCtrlHost();

    HtmlCtrlHost(const HtmlCtrlHost&) = delete;
    HtmlCtrlHost& operator=(const HtmlCtrlHost&) = delete;

    HWND Window() const { return window; }
    // A STATIC child with the id, rectangle (client coordinates) and text.
    HWND AddPlaceholder(int id, int x, int y, int cx, int cy, const char* text = "");
    // The WM_NOTIFY codes the host received, in order.
    const std::vector<UINT>& Notifications() const { return notifications; }

private:
    static LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window;
    std::vector<UINT> notifications;
};

// The window's client area as 32-bit pixels, captured from its device context.
class ClientCapture {
public:
    explicit ClientCapture(HWND window);

    int Width() const { return width; }
    int Height() const { return height; }
    // CLR_INVALID outside the captured area.
    COLORREF At(int x, int y) const;
    // Pixels of the colour within the rectangle (client coordinates).
    int Count(const RECT& area, COLORREF color) const;
    // Smallest rectangle holding every pixel of the colour in the area;
    // empty when there is none.
    RECT Bounds(const RECT& area, COLORREF color) const;
    // Pixels in the area that are not of the colour.
    int CountOther(const RECT& area, COLORREF color) const;

private:
    int width;
    int height;
    std::vector<COLORREF> pixels;
};

// Invalidates the whole window (or only the rectangle) without erasing and
// has it painted at once, together with whatever that paint invalidates.
void PaintNow(HWND window, const RECT* rect = nullptr);
// Fills the client area with one colour outside any paint, so that a later
// partial paint shows what it touched.
void FillClient(HWND window, COLORREF color);

// The size of the text in the HTML control's base font (the default GUI font's
// face and point size) with the weight and slant asked for, measured here
// independently of the control.
SIZE MeasureBaseText(const char* text, int weight = FW_NORMAL, bool italic = false);
// The same font's face and the height a LOGFONT gets for it.
LOGFONTA BaseFont(int weight = FW_NORMAL, bool italic = false);
