#include "window/ThreadWindowsDisabler.h"

namespace {
const char kDisabledWindows[] = "MirelDisabledWindows";

// The windows one dialog disabled; a heap block that the dialog's property
// owns until EnableThreadWindows frees it.
struct DisabledWindows {
    UINT count;
    HWND windows[1];
};

// One enumeration pass: counts the windows to disable and, when a list is
// given, disables and records them as far as it has room.
struct Collector {
    HWND dialog;
    DisabledWindows* list;
    UINT capacity;
    UINT found;
};

BOOL CALLBACK Collect(HWND window, LPARAM context) {
    auto* collector = reinterpret_cast<Collector*>(context);
    if (window == collector->dialog || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
    ++collector->found;
    DisabledWindows* list = collector->list;
    if (list && list->count < collector->capacity && !EnableWindow(window, FALSE))
        list->windows[list->count++] = window;
    return TRUE;
}

void EnableAndFree(DisabledWindows* list) {
    const DWORD thread = GetCurrentThreadId();
    for (UINT i = list->count; i-- > 0;) {
        HWND window = list->windows[i];
        if (GetWindowThreadProcessId(window, nullptr) == thread) EnableWindow(window, TRUE);
    }
    HeapFree(GetProcessHeap(), 0, list);
}
}  // namespace

void DisableThreadWindows(HWND dialog) {
    Collector collector = {dialog, nullptr, 0, 0};
    EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(&collector));
    if (!collector.found) return;
    collector.capacity = collector.found;
    collector.list = static_cast<DisabledWindows*>(HeapAlloc(
        GetProcessHeap(), 0, sizeof(DisabledWindows) + collector.capacity * sizeof(HWND)));
    if (!collector.list) return;
    collector.list->count = 0;
    EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(&collector));
    // Without the property nothing would ever enable them again.
    if (!SetPropA(dialog, kDisabledWindows, collector.list)) EnableAndFree(collector.list);
}

void EnableThreadWindows(HWND dialog) {
    auto* list = static_cast<DisabledWindows*>(RemovePropA(dialog, kDisabledWindows));
    if (list) EnableAndFree(list);
}
