#include "support/win/HtmlCtrlHost.h"

#include <cstring>

#include "support/win/TestWindowClass.h"

namespace {
const char HOST_CLASS[] = "MirelTestHtmlHost";

bool Inside(const RECT& area, int x, int y) {
    return x >= area.left && x < area.right && y >= area.top && y < area.bottom;
}
}  // namespace

HtmlCtrlHost::HtmlCtrlHost(int width, int height) : window(nullptr) {
    RegisterTestWindowClass(HOST_CLASS, HostProc);
    window = CreateWindowExA(WS_EX_TOPMOST, HOST_CLASS, "html host", WS_POPUP | WS_VISIBLE, 20, 20,
                             width, height, nullptr, nullptr, GetModuleHandleA(nullptr), this);
    UpdateWindow(window);
}

HtmlCtrlHost::~HtmlCtrlHost() { DestroyWindow(window); }

HWND HtmlCtrlHost::AddPlaceholder(int id, int x, int y, int cx, int cy, const char* text) {
    return CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE, x, y, cx, cy, window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

LRESULT CALLBACK HtmlCtrlHost::HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* creation = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* host = reinterpret_cast<HtmlCtrlHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (host && message == WM_NOTIFY && lParam) {
        host->notifications.push_back(reinterpret_cast<NMHDR*>(lParam)->code);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

ClientCapture::ClientCapture(HWND window) : width(0), height(0) {
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    width = client.right;
    height = client.bottom;
    if (width < 1 || height < 1) return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, section);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    pixels.resize(static_cast<size_t>(width) * height);
    const DWORD* source = static_cast<const DWORD*>(bits);
    for (size_t i = 0; source && i < pixels.size(); ++i) {
        DWORD p = source[i];
        pixels[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    SelectObject(memory, previous);
    DeleteObject(section);
    DeleteDC(memory);
    ReleaseDC(window, screen);
}

COLORREF ClientCapture::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
    return pixels[static_cast<size_t>(y) * width + x];
}

int ClientCapture::Count(const RECT& area, COLORREF color) const {
    int count = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (Inside(area, x, y) && At(x, y) == color) ++count;
        }
    }
    return count;
}

int ClientCapture::CountOther(const RECT& area, COLORREF color) const {
    int count = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (Inside(area, x, y) && At(x, y) != color) ++count;
        }
    }
    return count;
}

RECT ClientCapture::Bounds(const RECT& area, COLORREF color) const {
    RECT bounds = {0, 0, 0, 0};
    bool any = false;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!Inside(area, x, y) || At(x, y) != color) continue;
            if (!any) {
                bounds = {x, y, x + 1, y + 1};
                any = true;
            }
            if (x < bounds.left) bounds.left = x;
            if (y < bounds.top) bounds.top = y;
            if (x + 1 > bounds.right) bounds.right = x + 1;
            if (y + 1 > bounds.bottom) bounds.bottom = y + 1;
        }
    }
    return bounds;
}

void PaintNow(HWND window, const RECT* rect) {
    InvalidateRect(window, rect, FALSE);
    UpdateWindow(window);
    // A first paint that lays the text out invalidates the control again
    // (and may hide its scroll bar); let that paint happen too.
    for (int round = 0; round < 3 && GetUpdateRect(window, nullptr, FALSE); ++round) {
        UpdateWindow(window);
    }
    GdiFlush();
}

void FillClient(HWND window, COLORREF color) {
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    ReleaseDC(window, dc);
    ValidateRect(window, nullptr);
    GdiFlush();
}

LOGFONTA BaseFont(int weight, bool italic) {
    LOGFONTA gui = {};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    int points = -MulDiv(gui.lfHeight, 72, dpi);
    LOGFONTA font = {};
    lstrcpynA(font.lfFaceName, gui.lfFaceName, LF_FACESIZE);
    font.lfHeight = -MulDiv(points, dpi, 72);
    font.lfWeight = weight;
    font.lfItalic = italic ? 1 : 0;
    return font;
}

SIZE MeasureBaseText(const char* text, int weight, bool italic) {
    LOGFONTA logFont = BaseFont(weight, italic);
    HFONT font = CreateFontIndirectA(&logFont);
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(screen, text, static_cast<int>(strlen(text)), &size);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);
    return size;
}
