#include "html/AccessibilityApi.h"

#include "util/ModuleInstance.h"

const IID IID_IACCESSIBLE_DATA = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

namespace {
AccessibilityApi api;
bool apiTried;
bool apiFound;
bool modulePinned;

// Where each function of AccessibilityApi is found, in the same order.
const char* const kFunctions[][2] = {
    {"oleacc.dll", "LresultFromObject"},
    {"oleacc.dll", "CreateStdAccessibleObject"},
    {"oleaut32.dll", "SysAllocStringLen"},
    {"ole32.dll", "CoDisconnectObject"},
};
}  // namespace

const AccessibilityApi* GetAccessibilityApi() {
    // One try per process: a missing library stays missing.
    if (apiTried) return apiFound ? &api : nullptr;
    apiTried = true;
    FARPROC* slots = reinterpret_cast<FARPROC*>(&api);
    for (const auto& function : kFunctions) {
        HMODULE module = LoadLibraryA(function[0]);
        *slots = module ? GetProcAddress(module, function[1]) : nullptr;
        if (!*slots++) return nullptr;
    }
    apiFound = true;
    return apiFound ? &api : nullptr;
}

void PinOwnModule() {
    if (modulePinned) return;
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(GetModuleInstance(), path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    modulePinned = LoadLibraryA(path) != nullptr;
}

void NotifyChildFocus(HWND window, LONG childId) {
    typedef void(WINAPI * NotifyFunction)(DWORD, HWND, LONG, LONG);
    HMODULE user = GetModuleHandleA("user32.dll");
    NotifyFunction notify =
        reinterpret_cast<NotifyFunction>(reinterpret_cast<void (*)()>(user ? GetProcAddress(user, "NotifyWinEvent") : nullptr));
    if (notify) notify(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, childId);
}

BSTR NewBstr(const AccessibilityApi& functions, const char* text, int length) {
    int wide = length > 0 ? MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0) : 0;
    BSTR result = functions.sysAllocStringLen(nullptr, static_cast<UINT>(wide));
    if (result && wide > 0) MultiByteToWideChar(CP_ACP, 0, text, length, result, wide);
    return result;
}
