// A device context with the few drawing and measuring operations the library
// uses. It keeps an output DC (where drawing goes) and an attribute DC (where
// state queries and measuring go); both are the same handle after AttachDc,
// but every operation stays correct if they ever differ.
//
// Like every class of the library, slot 0 of the vtable is a deleting
// destructor taking flags (bit 0 set: free the memory) instead of a C++
// virtual destructor; the C++ destructors themselves are not virtual.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "text/TextEncoding.h"

class DeviceContext {
public:
    DeviceContext();
    // Deletes an output DC that is still attached; scopes detach first.
    ~DeviceContext();

    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    virtual DeviceContext* Destroy(unsigned flags);

    // Refuses a null handle (false, nothing changes).
    bool AttachDc(HDC dc);
    // Clears both handles and returns the output DC without releasing it.
    HDC DetachDc();

    HDC OutputDc() const { return outputDc; }
    HDC AttributeDc() const { return attributeDc; }

    // Applied to both DCs; the result comes from the attribute DC when there
    // is one. Null, CLR_INVALID or (0, 0) when no DC is attached.
    HGDIOBJ SelectObject(HGDIOBJ object);
    COLORREF SetBkColor(COLORREF color);
    COLORREF SetTextColor(COLORREF color);
    POINT MoveTo(int x, int y);

    BOOL LineTo(int x, int y);
    BOOL ExtTextOut(int x, int y, UINT options, const RECT* rect,
                    const char* text, UINT count, const INT* spacing);
    // (0, 0) when the measurement fails.
    SIZE GetTextExtent(const char* text, int count);
    // Text of count bytes in an encoding: code-page text through the calls
    // above, UTF-8 as UTF-16 through ExtTextOutW and GetTextExtentPoint32W,
    // so that every character the font (and the system's font linking) has
    // is drawn.
    BOOL ExtTextOut(int x, int y, UINT options, const RECT* rect, const char* text, int count,
                    TextEncoding encoding);
    SIZE GetTextExtent(const char* text, int count, TextEncoding encoding);

    // Solid fill through an opaque empty text output; leaves the output DC's
    // background colour set to the fill colour.
    void FillWithColor(const RECT& rect, COLORREF color);
    void FillWithColor(int x, int y, int cx, int cy, COLORREF color);

    // One-pixel frame: top and left edges in topLeft, right column and bottom
    // row in bottomRight (which therefore owns three of the four corners).
    void DrawBevel(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    void DrawBevel(const RECT& rect, COLORREF topLeft, COLORREF bottomRight);

protected:
    HDC outputDc;
    HDC attributeDc;
};
