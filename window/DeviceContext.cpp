#include "window/DeviceContext.h"

#include "text/WideText.h"

DeviceContext::DeviceContext() : outputDc(nullptr), attributeDc(nullptr) {}

DeviceContext::~DeviceContext() {
    if (outputDc)
        ::DeleteDC(DetachDc());
}

DeviceContext* DeviceContext::Destroy(unsigned flags) {
    this->~DeviceContext();
    if (flags & 1)
        ::operator delete(this);
    return this;
}

bool DeviceContext::AttachDc(HDC dc) {
    if (!dc)
        return false;
    outputDc = dc;
    attributeDc = dc;
    return true;
}

HDC DeviceContext::DetachDc() {
    HDC dc = outputDc;
    outputDc = nullptr;
    attributeDc = nullptr;
    return dc;
}

// The two-DC operations touch the output DC only when it is a separate handle,
// so a shared handle is changed once and the answer always describes the DC
// that measuring sees.
HGDIOBJ DeviceContext::SelectObject(HGDIOBJ object) {
    HGDIOBJ previous = nullptr;
    if (outputDc && outputDc != attributeDc)
        previous = ::SelectObject(outputDc, object);
    if (attributeDc)
        previous = ::SelectObject(attributeDc, object);
    return previous;
}

COLORREF DeviceContext::SetBkColor(COLORREF color) {
    COLORREF previous = CLR_INVALID;
    if (outputDc && outputDc != attributeDc)
        previous = ::SetBkColor(outputDc, color);
    if (attributeDc)
        previous = ::SetBkColor(attributeDc, color);
    return previous;
}

COLORREF DeviceContext::SetTextColor(COLORREF color) {
    COLORREF previous = CLR_INVALID;
    if (outputDc && outputDc != attributeDc)
        previous = ::SetTextColor(outputDc, color);
    if (attributeDc)
        previous = ::SetTextColor(attributeDc, color);
    return previous;
}

POINT DeviceContext::MoveTo(int x, int y) {
    POINT previous = {0, 0};
    if (outputDc && outputDc != attributeDc)
        ::MoveToEx(outputDc, x, y, &previous);
    if (attributeDc)
        ::MoveToEx(attributeDc, x, y, &previous);
    return previous;
}

BOOL DeviceContext::LineTo(int x, int y) {
    if (attributeDc && attributeDc != outputDc)
        ::MoveToEx(attributeDc, x, y, nullptr);
    return ::LineTo(outputDc, x, y);
}

BOOL DeviceContext::ExtTextOut(int x, int y, UINT options, const RECT* rect,
                               const char* text, UINT count, const INT* spacing) {
    return ::ExtTextOutA(outputDc, x, y, options, rect, text, count, spacing);
}

SIZE DeviceContext::GetTextExtent(const char* text, int count) {
    SIZE size = {0, 0};
    if (!::GetTextExtentPoint32A(attributeDc, text, count, &size))
        size.cx = size.cy = 0;
    return size;
}

BOOL DeviceContext::ExtTextOut(int x, int y, UINT options, const RECT* rect, const char* text, int count,
                               TextEncoding encoding) {
    if (encoding == TEXT_CODE_PAGE)
        return ExtTextOut(x, y, options, rect, text, static_cast<UINT>(count), nullptr);
    WideText wide(text, count, encoding);
    return ::ExtTextOutW(outputDc, x, y, options, rect, wide.Units(), static_cast<UINT>(wide.Count()), nullptr);
}

SIZE DeviceContext::GetTextExtent(const char* text, int count, TextEncoding encoding) {
    if (encoding == TEXT_CODE_PAGE)
        return GetTextExtent(text, count);
    WideText wide(text, count, encoding);
    SIZE size = {0, 0};
    if (!::GetTextExtentPoint32W(attributeDc, wide.Units(), wide.Count(), &size))
        size.cx = size.cy = 0;
    return size;
}

void DeviceContext::FillWithColor(const RECT& rect, COLORREF color) {
    ::SetBkColor(outputDc, color);
    ::ExtTextOutA(outputDc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void DeviceContext::FillWithColor(int x, int y, int cx, int cy, COLORREF color) {
    RECT rect = {x, y, x + cx, y + cy};
    FillWithColor(rect, color);
}

// The right and bottom strips are given with a negative extent from the far
// edge; ExtTextOut normalises the rectangle, so each covers the last column
// or row over the full height or width.
void DeviceContext::DrawBevel(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
    FillWithColor(x, y, cx - 1, 1, topLeft);
    FillWithColor(x, y, 1, cy - 1, topLeft);
    FillWithColor(x + cx, y, -1, cy, bottomRight);
    FillWithColor(x, y + cy, cx, -1, bottomRight);
}

void DeviceContext::DrawBevel(const RECT& rect, COLORREF topLeft, COLORREF bottomRight) {
    DrawBevel(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, topLeft, bottomRight);
}
