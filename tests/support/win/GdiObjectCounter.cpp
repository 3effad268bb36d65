#include "support/win/GdiObjectCounter.h"

#include <cstring>
#include <set>

namespace {

typedef HFONT(WINAPI* CreateFontIndirectFn)(const LOGFONTA*);
typedef HFONT(WINAPI* CreateFontFn)(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD,
                                    DWORD, DWORD, DWORD, LPCSTR);
typedef HBRUSH(WINAPI* CreateSolidBrushFn)(COLORREF);
typedef HPEN(WINAPI* CreatePenFn)(int, int, COLORREF);
typedef HBITMAP(WINAPI* CreateCompatibleBitmapFn)(HDC, int, int);
typedef BOOL(WINAPI* DeleteObjectFn)(HGDIOBJ);

struct State {
    CreateFontIndirectFn createFontIndirect = nullptr;
    CreateFontFn createFont = nullptr;
    CreateSolidBrushFn createSolidBrush = nullptr;
    CreatePenFn createPen = nullptr;
    CreateCompatibleBitmapFn createCompatibleBitmap = nullptr;
    DeleteObjectFn deleteObject = nullptr;
    std::set<HGDIOBJ> live;
    int fontsCreated = 0;
    bool failFonts = false;
    bool installed = false;
};

State state;

HGDIOBJ Track(HGDIOBJ object) {
    if (object) state.live.insert(object);
    return object;
}

HFONT WINAPI CountingCreateFontIndirect(const LOGFONTA* font) {
    ++state.fontsCreated;
    if (state.failFonts) return nullptr;
    return static_cast<HFONT>(Track(state.createFontIndirect(font)));
}

HFONT WINAPI CountingCreateFont(int h, int w, int esc, int orient, int weight, DWORD italic,
                                DWORD underline, DWORD strike, DWORD charset, DWORD precision,
                                DWORD clip, DWORD quality, DWORD pitch, LPCSTR face) {
    ++state.fontsCreated;
    if (state.failFonts) return nullptr;
    return static_cast<HFONT>(Track(state.createFont(h, w, esc, orient, weight, italic, underline,
                                                     strike, charset, precision, clip, quality,
                                                     pitch, face)));
}

HBRUSH WINAPI CountingCreateSolidBrush(COLORREF color) {
    return static_cast<HBRUSH>(Track(state.createSolidBrush(color)));
}

HPEN WINAPI CountingCreatePen(int style, int width, COLORREF color) {
    return static_cast<HPEN>(Track(state.createPen(style, width, color)));
}

HBITMAP WINAPI CountingCreateCompatibleBitmap(HDC dc, int cx, int cy) {
    return static_cast<HBITMAP>(Track(state.createCompatibleBitmap(dc, cx, cy)));
}

BOOL WINAPI CountingDeleteObject(HGDIOBJ object) {
    BOOL deleted = state.deleteObject(object);
    if (deleted) state.live.erase(object);
    return deleted;
}

struct Redirect {
    const char* name;
    void* replacement;
    void** original;
};

Redirect redirects[] = {
    {"CreateFontIndirectA", reinterpret_cast<void*>(CountingCreateFontIndirect),
     reinterpret_cast<void**>(&state.createFontIndirect)},
    {"CreateFontA", reinterpret_cast<void*>(CountingCreateFont),
     reinterpret_cast<void**>(&state.createFont)},
    {"CreateSolidBrush", reinterpret_cast<void*>(CountingCreateSolidBrush),
     reinterpret_cast<void**>(&state.createSolidBrush)},
    {"CreatePen", reinterpret_cast<void*>(CountingCreatePen),
     reinterpret_cast<void**>(&state.createPen)},
    {"CreateCompatibleBitmap", reinterpret_cast<void*>(CountingCreateCompatibleBitmap),
     reinterpret_cast<void**>(&state.createCompatibleBitmap)},
    {"DeleteObject", reinterpret_cast<void*>(CountingDeleteObject),
     reinterpret_cast<void**>(&state.deleteObject)},
};

void WriteEntry(ULONG_PTR* entry, ULONG_PTR value) {
    DWORD oldProtect = 0;
    VirtualProtect(entry, sizeof(*entry), PAGE_READWRITE, &oldProtect);
    *entry = value;
    VirtualProtect(entry, sizeof(*entry), oldProtect, &oldProtect);
}

// Swaps the gdi32 import entries of this program named in `redirects`:
// installing stores the originals and writes the counters, removing writes
// the originals back. Returns how many entries were found.
int SwapGdiImports(bool install) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) return 0;
    int found = 0;
    auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
    for (; module->Name; ++module) {
        if (_stricmp(reinterpret_cast<char*>(base + module->Name), "gdi32.dll") != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
        auto* entries = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++entries) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            for (Redirect& r : redirects) {
                if (std::strcmp(reinterpret_cast<char*>(byName->Name), r.name) != 0) continue;
                auto* entry = reinterpret_cast<ULONG_PTR*>(&entries->u1.Function);
                if (install) {
                    *r.original = reinterpret_cast<void*>(*entry);
                    WriteEntry(entry, reinterpret_cast<ULONG_PTR>(r.replacement));
                } else {
                    WriteEntry(entry, reinterpret_cast<ULONG_PTR>(*r.original));
                }
                ++found;
            }
        }
    }
    return found;
}

}  // namespace

GdiObjectCounter::GdiObjectCounter() {
    state.live.clear();
    state.fontsCreated = 0;
    state.failFonts = false;
    state.installed = SwapGdiImports(true) > 0 && state.createFontIndirect && state.deleteObject;
}

GdiObjectCounter::~GdiObjectCounter() {
    SwapGdiImports(false);
    state.installed = false;
}

bool GdiObjectCounter::Installed() const { return state.installed; }

int GdiObjectCounter::FontsCreated() const { return state.fontsCreated; }

int GdiObjectCounter::Live() const { return static_cast<int>(state.live.size()); }

void GdiObjectCounter::FailFontCreation(bool fail) { state.failFonts = fail; }
