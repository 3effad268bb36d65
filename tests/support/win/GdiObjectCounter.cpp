#include "support/win/GdiObjectCounter.h"

#include <set>

#include "support/win/ImportHook.h"

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

// Hooks one gdi32 function and keeps its original in `original`; the hook is
// added to `hooks` only when the program imports the function.
template <typename Function>
bool Watch(std::vector<std::unique_ptr<ImportHook>>& hooks, const char* name, Function replacement,
           Function& original) {
    std::unique_ptr<ImportHook> hook(
        new ImportHook("gdi32.dll", name, reinterpret_cast<void*>(replacement)));
    if (!hook->Installed()) return false;
    original = hook->Original<Function>();
    hooks.push_back(std::move(hook));
    return true;
}

}  // namespace

GdiObjectCounter::GdiObjectCounter() : installed(false) {
    state.live.clear();
    state.fontsCreated = 0;
    state.failFonts = false;
    // Deletion first, so that no object is created unseen and deleted seen.
    const bool deletes = Watch(hooks, "DeleteObject", CountingDeleteObject, state.deleteObject);
    const bool fonts =
        Watch(hooks, "CreateFontIndirectA", CountingCreateFontIndirect, state.createFontIndirect);
    Watch(hooks, "CreateFontA", CountingCreateFont, state.createFont);
    Watch(hooks, "CreateSolidBrush", CountingCreateSolidBrush, state.createSolidBrush);
    Watch(hooks, "CreatePen", CountingCreatePen, state.createPen);
    Watch(hooks, "CreateCompatibleBitmap", CountingCreateCompatibleBitmap,
          state.createCompatibleBitmap);
    installed = deletes && fonts;
}

// Hooks come off in reverse order, deletion last.
GdiObjectCounter::~GdiObjectCounter() {
    while (!hooks.empty()) hooks.pop_back();
}

bool GdiObjectCounter::Installed() const { return installed; }

int GdiObjectCounter::FontsCreated() const { return state.fontsCreated; }

int GdiObjectCounter::Live() const { return static_cast<int>(state.live.size()); }

void GdiObjectCounter::FailFontCreation(bool fail) { state.failFonts = fail; }
