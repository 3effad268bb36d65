#include "window/DcScopes.h"

#include "window/WindowBase.h"

namespace {

HWND HandleOf(WindowBase* window) {
    return window ? window->hwnd : nullptr;
}

}  // namespace

// The window handle is kept only once a DC was obtained, so a failed
// acquisition releases nothing.
ClientDcScope::ClientDcScope(WindowBase* window) : hwnd(nullptr) {
    HWND target = HandleOf(window);
    if (AttachDc(::GetDC(target)))
        hwnd = target;
}

ClientDcScope::~ClientDcScope() {
    HDC dc = DetachDc();
    ::ReleaseDC(hwnd, dc);
}

DeviceContext* ClientDcScope::Destroy(unsigned flags) {
    this->~ClientDcScope();
    if (flags & 1)
        ::operator delete(this);
    return this;
}

WindowDcScope::WindowDcScope(WindowBase* window) : hwnd(nullptr) {
    HWND target = HandleOf(window);
    if (AttachDc(::GetWindowDC(target)))
        hwnd = target;
}

WindowDcScope::~WindowDcScope() {
    HDC dc = DetachDc();
    ::ReleaseDC(hwnd, dc);
}

DeviceContext* WindowDcScope::Destroy(unsigned flags) {
    this->~WindowDcScope();
    if (flags & 1)
        ::operator delete(this);
    return this;
}

PaintDcScope::PaintDcScope(WindowBase* window) : paint(), hwnd(nullptr) {
    HWND target = HandleOf(window);
    if (AttachDc(::BeginPaint(target, &paint)))
        hwnd = target;
}

PaintDcScope::~PaintDcScope() {
    if (hwnd)
        ::EndPaint(hwnd, &paint);
    DetachDc();
}

DeviceContext* PaintDcScope::Destroy(unsigned flags) {
    this->~PaintDcScope();
    if (flags & 1)
        ::operator delete(this);
    return this;
}

BorrowedDcScope::BorrowedDcScope(HDC dc) {
    AttachDc(dc);
}

BorrowedDcScope::~BorrowedDcScope() {
    DetachDc();
}

DeviceContext* BorrowedDcScope::Destroy(unsigned flags) {
    this->~BorrowedDcScope();
    if (flags & 1)
        ::operator delete(this);
    return this;
}
