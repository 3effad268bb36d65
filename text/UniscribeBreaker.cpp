#include "text/UniscribeBreaker.h"

#include <memory>
#include <new>

#include "util/SystemLibrary.h"

UniscribeBreaker::UniscribeBreaker()
    : module(nullptr), loadTried(false), itemize(nullptr), breakText(nullptr) {
    breaker.find = Find;
    breaker.context = this;
}

UniscribeBreaker::~UniscribeBreaker() {
    if (module) FreeLibrary(module);
}

bool UniscribeBreaker::Load() {
    if (loadTried) return itemize && breakText;
    loadTried = true;
    module = LoadSystemLibrary("usp10.dll");
    if (!module) return false;
    itemize = reinterpret_cast<ItemizeFunction>(reinterpret_cast<void*>(GetProcAddress(module, "ScriptItemize")));
    breakText = reinterpret_cast<BreakFunction>(reinterpret_cast<void*>(GetProcAddress(module, "ScriptBreak")));
    return itemize && breakText;
}

// The attributes are written into soft itself, each a byte, and then only
// their soft-break bit is kept.
bool UniscribeBreaker::Find(void* self, const WCHAR* text, int count, BYTE* soft) {
    static_assert(sizeof(SCRIPT_LOGATTR) == 1, "one attribute byte a unit");
    UniscribeBreaker* uniscribe = static_cast<UniscribeBreaker*>(self);
    if (!uniscribe->Load()) return false;
    // ScriptItemize wants room for one item more than it may make.
    std::unique_ptr<SCRIPT_ITEM[]> items(new (std::nothrow) SCRIPT_ITEM[static_cast<size_t>(count) + 1]);
    int made = 0;
    if (!items || FAILED(uniscribe->itemize(text, count, count, nullptr, nullptr, items.get(), &made))) return false;
    SCRIPT_LOGATTR* attributes = reinterpret_cast<SCRIPT_LOGATTR*>(soft);
    // The items must cover the text one after another, or some units would
    // keep no answer.
    int first = 0;
    for (int i = 0; i < made; ++i) {
        int end = i + 1 < made ? items[i + 1].iCharPos : count;
        if (items[i].iCharPos != first || end <= first || end > count) return false;
        if (FAILED(uniscribe->breakText(text + first, end - first, &items[i].a, attributes + first))) return false;
        first = end;
    }
    if (first != count) return false;
    for (int i = 0; i < count; ++i) soft[i] = attributes[i].fSoftBreak;
    return true;
}
