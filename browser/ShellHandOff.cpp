#include "browser/ShellHandOff.h"

#include <windows.h>
#include <exdisp.h>
#include <shldisp.h>
#include <shlobj.h>

#include "util/SystemLibrary.h"

namespace {

const GUID kTopLevelBrowser = {0x4C96BE40, 0x915C, 0x11CF, {0x99, 0xD3, 0x00, 0xAA, 0x00, 0x4A, 0xE8, 0x37}};

// The COM and automation functions the hand-off needs, in the order of kFunctions.
struct ComFunctions {
    HRESULT(WINAPI* coInitializeEx)(LPVOID, DWORD);
    void(WINAPI* coUninitialize)();
    HRESULT(WINAPI* coCreateInstance)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
    BSTR(WINAPI* sysAllocStringLen)(const OLECHAR*, UINT);
    void(WINAPI* sysFreeString)(BSTR);
};

enum { OLE32, OLEAUT32, LIBRARY_COUNT };
const char* const kLibraries[LIBRARY_COUNT] = {"ole32.dll", "oleaut32.dll"};

const struct {
    int library;
    const char* name;
} kFunctions[] = {
    {OLE32, "CoInitializeEx"},
    {OLE32, "CoUninitialize"},
    {OLE32, "CoCreateInstance"},
    {OLEAUT32, "SysAllocStringLen"},
    {OLEAUT32, "SysFreeString"},
};

// Holds ole32 and oleaut32 loaded while the hand-off runs.
class ComLibraries {
public:
    ComLibraries() {
        for (int i = 0; i < LIBRARY_COUNT; ++i) modules[i] = LoadSystemLibrary(kLibraries[i]);
    }
    ~ComLibraries() {
        for (HMODULE module : modules)
            if (module) FreeLibrary(module);
    }
    ComLibraries(const ComLibraries&) = delete;
    ComLibraries& operator=(const ComLibraries&) = delete;

    bool Find(ComFunctions& functions) const {
        FARPROC* slots = reinterpret_cast<FARPROC*>(&functions);
        for (const auto& function : kFunctions) {
            HMODULE module = modules[function.library];
            *slots = module ? GetProcAddress(module, function.name) : nullptr;
            if (!*slots++) return false;
        }
        return true;
    }

private:
    HMODULE modules[LIBRARY_COUNT];
};

// The thread in a single-threaded apartment while this lives. A thread that
// already has a multi-threaded one keeps it and is then not uninitialised.
class ComApartment {
public:
    explicit ComApartment(const ComFunctions& com) : com(com) {
        HRESULT result = com.coInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        owned = SUCCEEDED(result);
        usable = owned || result == RPC_E_CHANGED_MODE;
    }
    // Once for S_OK and S_FALSE alike, after the last Release.
    ~ComApartment() {
        if (owned) com.coUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    bool usable;

private:
    const ComFunctions& com;
    bool owned;
};

// The interfaces from the shell windows to the desktop's automation object,
// each got from the one before; all are released together, in one place.
struct DesktopChain {
    DesktopChain() { ZeroMemory(this, sizeof(*this)); }
    ~DesktopChain() {
        for (IUnknown* link : links)
            if (link) link->Release();
    }
    DesktopChain(const DesktopChain&) = delete;
    DesktopChain& operator=(const DesktopChain&) = delete;

    union {
        struct {
            IShellWindows* windows;
            IDispatch* desktop;
            IServiceProvider* services;
            IShellBrowser* browser;
            IShellView* view;
            IDispatch* background;
            IShellFolderViewDual* folderView;
            IDispatch* application;
            IShellDispatch2* shell;
        };
        IUnknown* links[9];
    };
};

// Whether the call succeeded and filled in the link. The link is read here,
// after the call; read as an argument beside the call it could come first.
template <typename Interface>
bool Got(HRESULT result, Interface* const& link) {
    return SUCCEEDED(result) && link;
}

VARIANT IntegerVariant(LONG value) {
    VARIANT variant;
    ZeroMemory(&variant, sizeof(variant));
    variant.vt = VT_I4;
    variant.lVal = value;
    return variant;
}

// The desktop window of the shell windows, its browser's active view, the
// view's background object, and that folder view's application.
bool FindDesktopShell(const ComFunctions& com, DesktopChain& c) {
    VARIANT desktop = IntegerVariant(CSIDL_DESKTOP);
    VARIANT none;
    ZeroMemory(&none, sizeof(none));
    LONG window = 0;
    return Got(com.coCreateInstance(__uuidof(ShellWindows), nullptr, CLSCTX_LOCAL_SERVER, __uuidof(IShellWindows),
                                    reinterpret_cast<void**>(&c.windows)),
               c.windows) &&
           Got(c.windows->FindWindowSW(&desktop, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, &c.desktop),
               c.desktop) &&
           Got(c.desktop->QueryInterface(__uuidof(IServiceProvider), reinterpret_cast<void**>(&c.services)),
               c.services) &&
           Got(c.services->QueryService(kTopLevelBrowser, __uuidof(IShellBrowser),
                                        reinterpret_cast<void**>(&c.browser)),
               c.browser) &&
           Got(c.browser->QueryActiveShellView(&c.view), c.view) &&
           Got(c.view->GetItemObject(SVGIO_BACKGROUND, __uuidof(IDispatch), reinterpret_cast<void**>(&c.background)),
               c.background) &&
           Got(c.background->QueryInterface(__uuidof(IShellFolderViewDual), reinterpret_cast<void**>(&c.folderView)),
               c.folderView) &&
           Got(c.folderView->get_Application(&c.application), c.application) &&
           Got(c.application->QueryInterface(__uuidof(IShellDispatch2), reinterpret_cast<void**>(&c.shell)), c.shell);
}

// The text in the ANSI code page as a new string, or null.
BSTR WideString(const ComFunctions& com, const char* text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0) return nullptr;
    BSTR wide = com.sysAllocStringLen(nullptr, static_cast<UINT>(length - 1));
    if (wide && MultiByteToWideChar(CP_ACP, 0, text, -1, wide, length) != length) {
        com.sysFreeString(wide);
        return nullptr;
    }
    return wide;
}

// Owns a string made by WideString.
class OwnedBstr {
public:
    OwnedBstr(const ComFunctions& com, const char* text) : com(com), text(WideString(com, text)) {}
    ~OwnedBstr() {
        if (text) com.sysFreeString(text);
    }
    OwnedBstr(const OwnedBstr&) = delete;
    OwnedBstr& operator=(const OwnedBstr&) = delete;

    const ComFunctions& com;
    BSTR text;
};

bool ShellExecuteInDesktop(const ComFunctions& com, BSTR program, BSTR arguments) {
    DesktopChain chain;
    if (!FindDesktopShell(com, chain)) return false;
    VARIANT args;
    ZeroMemory(&args, sizeof(args));
    args.vt = VT_BSTR;
    args.bstrVal = arguments;
    VARIANT none;
    ZeroMemory(&none, sizeof(none));
    // No directory and the program's default verb; the window shown normally.
    return chain.shell->ShellExecute(program, args, none, none, IntegerVariant(SW_SHOWNORMAL)) == S_OK;
}

}  // namespace

bool StartThroughDesktopShell(const char* program, const char* arguments) {
    ComLibraries libraries;
    ComFunctions com;
    if (!libraries.Find(com)) return false;
    ComApartment apartment(com);
    if (!apartment.usable) return false;
    OwnedBstr file(com, program);
    OwnedBstr parameters(com, arguments);
    return file.text && parameters.text && ShellExecuteInDesktop(com, file.text, parameters.text);
}
