// Stack scopes that acquire a device context in their constructor and give it
// back in their destructor. None of them deselects objects: whoever selects a
// font, pen, brush or palette puts the previous one back itself.
//
// The window scopes take a window object or null; null means the screen (for
// ClientDcScope) or simply a failed acquisition. A scope whose acquisition
// failed stays detached: its two-DC operations make no call at all.
#pragma once

#include "window/DeviceContext.h"

class WindowBase;

// GetDC / ReleaseDC.
class ClientDcScope : public DeviceContext {
public:
    explicit ClientDcScope(WindowBase* window);
    ~ClientDcScope();
    DeviceContext* Destroy(unsigned flags) override;

private:
    HWND hwnd;
};

// GetWindowDC / ReleaseDC: the whole window including its frame.
class WindowDcScope : public DeviceContext {
public:
    explicit WindowDcScope(WindowBase* window);
    ~WindowDcScope();
    DeviceContext* Destroy(unsigned flags) override;

private:
    HWND hwnd;
};

// BeginPaint / EndPaint. Paint().rcPaint is the update rectangle.
class PaintDcScope : public DeviceContext {
public:
    explicit PaintDcScope(WindowBase* window);
    ~PaintDcScope();
    DeviceContext* Destroy(unsigned flags) override;

    const PAINTSTRUCT& Paint() const { return paint; }

private:
    PAINTSTRUCT paint;
    HWND hwnd;
};

// Wraps a DC that belongs to the caller (for example the one handed over with
// WM_DRAWITEM); the DC is neither released nor deleted.
class BorrowedDcScope : public DeviceContext {
public:
    explicit BorrowedDcScope(HDC dc);
    ~BorrowedDcScope();
    DeviceContext* Destroy(unsigned flags) override;
};
