// Keeps count of the system objects that code in this test program creates
// and releases: GDI objects (fonts, brushes, pens, bitmaps, palettes), memory
// DCs, borrowed DCs (GetDC, GetWindowDC, BeginPaint), cursors made with
// CreateCursor, windows made with CreateWindowExA and window class
// registrations. It redirects the program's own import entries while it
// lives; the library's objects are linked into the program, so their calls
// pass through them. Wine's GetGuiResources reports nothing, hence this.
//
// The ledger allocates nothing from the C++ heap after construction, so a test
// that also counts heap blocks is not disturbed by it. One instance at a time.
#pragma once
#include <windows.h>

struct HandleCounts {
    long gdiObjects;    // created and not deleted
    long memoryDcs;     // CreateCompatibleDC without DeleteDC
    long borrowedDcs;   // GetDC, GetWindowDC, BeginPaint without their release
    long cursors;       // CreateCursor without DestroyCursor
    long windows;       // windows made through CreateWindowExA that still exist
    long classes;       // class registrations without unregistration
};

class HandleLedger {
public:
    HandleLedger();
    ~HandleLedger();
    HandleLedger(const HandleLedger&) = delete;
    HandleLedger& operator=(const HandleLedger&) = delete;

    // False when some entry could not be redirected.
    bool Installed() const;
    // What is alive now.
    HandleCounts Live() const;
    // Everything created since construction, released or not.
    HandleCounts Created() const;
};
