#include "html/AccessibilityApi.h"

#include "util/ModuleInstance.h"
#include "util/SystemLibrary.h"

const IID IID_IACCESSIBLE_DATA = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

namespace {

// Where each function of AccessibilityApi is found, in the same order.
const char* const kFunctions[][2] = {
    {"oleacc.dll", "LresultFromObject"},
    {"oleacc.dll", "CreateStdAccessibleObject"},
    {"oleaut32.dll", "SysAllocStringLen"},
    {"ole32.dll", "CoDisconnectObject"},
};
bool FindFunctions(AccessibilityApi& api) {
    FARPROC* slots = reinterpret_cast<FARPROC*>(&api);
    for (const auto& function : kFunctions) {
        HMODULE module = LoadSystemLibrary(function[0]);
        *slots = module ? GetProcAddress(module, function[1]) : nullptr;
        if (!*slots++) return false;
    }
    return true;
}

bool PinOwnModule() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(GetModuleInstance(), path, MAX_PATH);
    return length > 0 && length < MAX_PATH && LoadLibraryA(path) != nullptr;
}
}  // namespace

// The first request also keeps this module loaded: from then on, objects
// whose code lives here may be handed out.
const AccessibilityApi* GetAccessibilityApi() {
    static AccessibilityApi api;
    static LONG state;  // 0 not looked for yet, 1 found, -1 missing
    // One try per process: a missing library stays missing.
    if (state == 0) state = FindFunctions(api) && PinOwnModule() ? 1 : -1;
    return state > 0 ? &api : nullptr;
}

void NotifyChildFocus(HWND window, LONG childId) {
    typedef void(WINAPI * NotifyFunction)(DWORD, HWND, LONG, LONG);
    // user32.dll is one of the library's own imports.
    NotifyFunction notify = reinterpret_cast<NotifyFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("user32.dll"), "NotifyWinEvent")));
    if (notify) notify(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, childId);
}
