#include "support/win/HandleLedger.h"

#include "support/win/ImportHook.h"

namespace {

// A fixed set of handles: no heap, swap-remove, linear search (few are alive
// at any one time).
class HandleSet {
public:
    static const int CAPACITY = 8192;

    void Add(const void* handle) {
        if (!handle) return;
        ++created;
        if (used == CAPACITY) ++overflow;
        else slots[used++] = handle;
    }

    bool Remove(const void* handle) {
        for (int i = 0; i < used; ++i) {
            if (slots[i] != handle) continue;
            slots[i] = slots[--used];
            return true;
        }
        return false;
    }

    // Forgets the handles for which gone() holds.
    template <typename Gone>
    void Prune(Gone gone) {
        for (int i = 0; i < used;) {
            if (gone(slots[i])) {
                slots[i] = slots[--used];
            } else {
                ++i;
            }
        }
    }

    long Live() const { return used + overflow; }
    long Created() const { return created; }
    void Clear() {
        used = 0;
        created = 0;
        overflow = 0;
    }

private:
    const void* slots[CAPACITY];
    int used = 0;
    long created = 0;
    long overflow = 0;
};

struct Ledger {
    CRITICAL_SECTION lock;
    HandleSet gdiObjects;
    HandleSet memoryDcs;
    HandleSet borrowedDcs;
    HandleSet cursors;
    HandleSet windows;
    long classesLive = 0;
    long classesCreated = 0;
};

Ledger ledger;

// Serialises every change; the hooks can be reached from any thread.
class Locked {
public:
    Locked() { EnterCriticalSection(&ledger.lock); }
    ~Locked() { LeaveCriticalSection(&ledger.lock); }
};

enum Hooked {
    H_CREATE_FONT_INDIRECT, H_CREATE_SOLID_BRUSH, H_CREATE_PEN, H_CREATE_COMPATIBLE_BITMAP,
    H_CREATE_BITMAP, H_CREATE_DI_BITMAP, H_CREATE_PALETTE, H_DELETE_OBJECT,
    H_CREATE_COMPATIBLE_DC, H_DELETE_DC, H_GET_DC, H_GET_WINDOW_DC, H_RELEASE_DC,
    H_BEGIN_PAINT, H_END_PAINT, H_CREATE_CURSOR, H_DESTROY_CURSOR, H_CREATE_WINDOW_EX,
    H_REGISTER_CLASS, H_REGISTER_CLASS_EX, H_UNREGISTER_CLASS, H_COUNT
};

ImportHook* hooks[H_COUNT] = {};

template <typename Function>
Function Original(Hooked which) {
    return hooks[which]->Original<Function>();
}

template <typename Handle>
Handle Track(HandleSet& set, Handle handle) {
    Locked locked;
    set.Add(handle);
    return handle;
}

void Untrack(HandleSet& set, const void* handle) {
    Locked locked;
    set.Remove(handle);
}

HFONT WINAPI LedgerCreateFontIndirectA(const LOGFONTA* font) {
    return Track(ledger.gdiObjects, Original<decltype(&CreateFontIndirectA)>(H_CREATE_FONT_INDIRECT)(font));
}

HBRUSH WINAPI LedgerCreateSolidBrush(COLORREF color) {
    return Track(ledger.gdiObjects, Original<decltype(&CreateSolidBrush)>(H_CREATE_SOLID_BRUSH)(color));
}

HPEN WINAPI LedgerCreatePen(int style, int width, COLORREF color) {
    return Track(ledger.gdiObjects, Original<decltype(&CreatePen)>(H_CREATE_PEN)(style, width, color));
}

HBITMAP WINAPI LedgerCreateCompatibleBitmap(HDC dc, int cx, int cy) {
    return Track(ledger.gdiObjects,
                 Original<decltype(&CreateCompatibleBitmap)>(H_CREATE_COMPATIBLE_BITMAP)(dc, cx, cy));
}

HBITMAP WINAPI LedgerCreateBitmap(int cx, int cy, UINT planes, UINT bits, const void* data) {
    return Track(ledger.gdiObjects, Original<decltype(&CreateBitmap)>(H_CREATE_BITMAP)(cx, cy, planes, bits, data));
}

HBITMAP WINAPI LedgerCreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                                    const BITMAPINFO* info, UINT usage) {
    return Track(ledger.gdiObjects, Original<decltype(&CreateDIBitmap)>(H_CREATE_DI_BITMAP)(dc, header, init, bits,
                                                                                          info, usage));
}

HPALETTE WINAPI LedgerCreatePalette(const LOGPALETTE* palette) {
    return Track(ledger.gdiObjects, Original<decltype(&CreatePalette)>(H_CREATE_PALETTE)(palette));
}

BOOL WINAPI LedgerDeleteObject(HGDIOBJ object) {
    BOOL deleted = Original<decltype(&DeleteObject)>(H_DELETE_OBJECT)(object);
    if (deleted) Untrack(ledger.gdiObjects, object);
    return deleted;
}

HDC WINAPI LedgerCreateCompatibleDC(HDC dc) {
    return Track(ledger.memoryDcs, Original<decltype(&CreateCompatibleDC)>(H_CREATE_COMPATIBLE_DC)(dc));
}

BOOL WINAPI LedgerDeleteDC(HDC dc) {
    BOOL deleted = Original<decltype(&DeleteDC)>(H_DELETE_DC)(dc);
    if (deleted) Untrack(ledger.memoryDcs, dc);
    return deleted;
}

HDC WINAPI LedgerGetDC(HWND window) {
    return Track(ledger.borrowedDcs, Original<decltype(&GetDC)>(H_GET_DC)(window));
}

HDC WINAPI LedgerGetWindowDC(HWND window) {
    return Track(ledger.borrowedDcs, Original<decltype(&GetWindowDC)>(H_GET_WINDOW_DC)(window));
}

int WINAPI LedgerReleaseDC(HWND window, HDC dc) {
    int released = Original<decltype(&ReleaseDC)>(H_RELEASE_DC)(window, dc);
    if (released) Untrack(ledger.borrowedDcs, dc);
    return released;
}

HDC WINAPI LedgerBeginPaint(HWND window, PAINTSTRUCT* paint) {
    return Track(ledger.borrowedDcs, Original<decltype(&BeginPaint)>(H_BEGIN_PAINT)(window, paint));
}

BOOL WINAPI LedgerEndPaint(HWND window, const PAINTSTRUCT* paint) {
    if (paint) Untrack(ledger.borrowedDcs, paint->hdc);
    return Original<decltype(&EndPaint)>(H_END_PAINT)(window, paint);
}

HCURSOR WINAPI LedgerCreateCursor(HINSTANCE instance, int hotX, int hotY, int cx, int cy, const void* andMask,
                                  const void* xorMask) {
    return Track(ledger.cursors, Original<decltype(&CreateCursor)>(H_CREATE_CURSOR)(instance, hotX, hotY, cx, cy,
                                                                                  andMask, xorMask));
}

BOOL WINAPI LedgerDestroyCursor(HCURSOR cursor) {
    BOOL destroyed = Original<decltype(&DestroyCursor)>(H_DESTROY_CURSOR)(cursor);
    if (destroyed) Untrack(ledger.cursors, cursor);
    return destroyed;
}

HWND WINAPI LedgerCreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                                  int cx, int cy, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    HWND window = Original<decltype(&CreateWindowExA)>(H_CREATE_WINDOW_EX)(exStyle, className, windowName, style,
                                                                          x, y, cx, cy, parent, menu, instance,
                                                                          param);
    Locked locked;
    // Child windows go with their parents, unseen: forget the ones gone.
    ledger.windows.Prune([](const void* w) { return !IsWindow(static_cast<HWND>(const_cast<void*>(w))); });
    ledger.windows.Add(window);
    return window;
}

void CountRegistration(ATOM atom) {
    if (!atom) return;
    Locked locked;
    ++ledger.classesLive;
    ++ledger.classesCreated;
}

ATOM WINAPI LedgerRegisterClassA(const WNDCLASSA* windowClass) {
    ATOM atom = Original<decltype(&RegisterClassA)>(H_REGISTER_CLASS)(windowClass);
    CountRegistration(atom);
    return atom;
}

ATOM WINAPI LedgerRegisterClassExA(const WNDCLASSEXA* windowClass) {
    ATOM atom = Original<decltype(&RegisterClassExA)>(H_REGISTER_CLASS_EX)(windowClass);
    CountRegistration(atom);
    return atom;
}

BOOL WINAPI LedgerUnregisterClassA(LPCSTR className, HINSTANCE instance) {
    BOOL removed = Original<decltype(&UnregisterClassA)>(H_UNREGISTER_CLASS)(className, instance);
    if (removed) {
        Locked locked;
        --ledger.classesLive;
    }
    return removed;
}

struct HookSpec {
    Hooked which;
    const char* module;
    const char* name;
    void* replacement;
    bool required;  // the library calls it, so the program imports it
};

const HookSpec HOOKS[] = {
    {H_CREATE_FONT_INDIRECT, "gdi32.dll", "CreateFontIndirectA", reinterpret_cast<void*>(LedgerCreateFontIndirectA), true},
    {H_CREATE_SOLID_BRUSH, "gdi32.dll", "CreateSolidBrush", reinterpret_cast<void*>(LedgerCreateSolidBrush), true},
    {H_CREATE_PEN, "gdi32.dll", "CreatePen", reinterpret_cast<void*>(LedgerCreatePen), true},
    {H_CREATE_COMPATIBLE_BITMAP, "gdi32.dll", "CreateCompatibleBitmap", reinterpret_cast<void*>(LedgerCreateCompatibleBitmap), true},
    {H_CREATE_BITMAP, "gdi32.dll", "CreateBitmap", reinterpret_cast<void*>(LedgerCreateBitmap), true},
    {H_CREATE_DI_BITMAP, "gdi32.dll", "CreateDIBitmap", reinterpret_cast<void*>(LedgerCreateDIBitmap), true},
    {H_CREATE_PALETTE, "gdi32.dll", "CreatePalette", reinterpret_cast<void*>(LedgerCreatePalette), true},
    {H_DELETE_OBJECT, "gdi32.dll", "DeleteObject", reinterpret_cast<void*>(LedgerDeleteObject), true},
    {H_CREATE_COMPATIBLE_DC, "gdi32.dll", "CreateCompatibleDC", reinterpret_cast<void*>(LedgerCreateCompatibleDC), true},
    {H_DELETE_DC, "gdi32.dll", "DeleteDC", reinterpret_cast<void*>(LedgerDeleteDC), true},
    {H_GET_DC, "user32.dll", "GetDC", reinterpret_cast<void*>(LedgerGetDC), true},
    {H_GET_WINDOW_DC, "user32.dll", "GetWindowDC", reinterpret_cast<void*>(LedgerGetWindowDC), false},
    {H_RELEASE_DC, "user32.dll", "ReleaseDC", reinterpret_cast<void*>(LedgerReleaseDC), true},
    {H_BEGIN_PAINT, "user32.dll", "BeginPaint", reinterpret_cast<void*>(LedgerBeginPaint), true},
    {H_END_PAINT, "user32.dll", "EndPaint", reinterpret_cast<void*>(LedgerEndPaint), true},
    {H_CREATE_CURSOR, "user32.dll", "CreateCursor", reinterpret_cast<void*>(LedgerCreateCursor), true},
    {H_DESTROY_CURSOR, "user32.dll", "DestroyCursor", reinterpret_cast<void*>(LedgerDestroyCursor), true},
    {H_CREATE_WINDOW_EX, "user32.dll", "CreateWindowExA", reinterpret_cast<void*>(LedgerCreateWindowExA), true},
    {H_REGISTER_CLASS, "user32.dll", "RegisterClassA", reinterpret_cast<void*>(LedgerRegisterClassA), true},
    {H_REGISTER_CLASS_EX, "user32.dll", "RegisterClassExA", reinterpret_cast<void*>(LedgerRegisterClassExA), false},
    {H_UNREGISTER_CLASS, "user32.dll", "UnregisterClassA", reinterpret_cast<void*>(LedgerUnregisterClassA), false},
};

bool installed = false;

long LiveWindows() {
    Locked locked;
    ledger.windows.Prune([](const void* w) { return !IsWindow(static_cast<HWND>(const_cast<void*>(w))); });
    return ledger.windows.Live();
}

}  // namespace

HandleLedger::HandleLedger() {
    InitializeCriticalSection(&ledger.lock);
    ledger.gdiObjects.Clear();
    ledger.memoryDcs.Clear();
    ledger.borrowedDcs.Clear();
    ledger.cursors.Clear();
    ledger.windows.Clear();
    ledger.classesLive = 0;
    ledger.classesCreated = 0;
    installed = true;
    for (const HookSpec& entry : HOOKS) {
        hooks[entry.which] = new ImportHook(entry.module, entry.name, entry.replacement);
        if (entry.required && !hooks[entry.which]->Installed()) installed = false;
    }
}

HandleLedger::~HandleLedger() {
    for (ImportHook*& hook : hooks) {
        delete hook;
        hook = nullptr;
    }
    DeleteCriticalSection(&ledger.lock);
}

bool HandleLedger::Installed() const { return installed; }

HandleCounts HandleLedger::Live() const {
    long windows = LiveWindows();
    Locked locked;
    return {ledger.gdiObjects.Live(), ledger.memoryDcs.Live(), ledger.borrowedDcs.Live(),
            ledger.cursors.Live(),    windows,                  ledger.classesLive};
}

HandleCounts HandleLedger::Created() const {
    Locked locked;
    return {ledger.gdiObjects.Created(), ledger.memoryDcs.Created(), ledger.borrowedDcs.Created(),
            ledger.cursors.Created(),    ledger.windows.Created(),   ledger.classesCreated};
}
