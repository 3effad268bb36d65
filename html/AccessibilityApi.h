// The system accessibility functions the HTML control uses, found at run time
// so that the library still loads where oleacc.dll, oleaut32.dll or ole32.dll
// is missing. They are looked up on the first request, and then the libraries
// and this module itself stay loaded for the rest of the process: a client
// may call an accessible object long after the host has unloaded us, and the
// object's code must still be there to answer.
#pragma once
#include <windows.h>
#include <oleacc.h>

struct AccessibilityApi {
    LRESULT(WINAPI* lresultFromObject)(REFIID iid, WPARAM wParam, LPUNKNOWN object);
    HRESULT(WINAPI* createStdAccessibleObject)(HWND window, LONG objectId, REFIID iid, void** object);
    BSTR(WINAPI* sysAllocStringLen)(const OLECHAR* chars, UINT length);
    HRESULT(WINAPI* coDisconnectObject)(LPUNKNOWN object, DWORD reserved);
};

// IID_IAccessible as data: the import library's symbol of that name is not.
extern const IID IID_IACCESSIBLE_DATA;

// The functions, or null when one of them cannot be found.
const AccessibilityApi* GetAccessibilityApi();

// Tells accessibility clients that the child of the window's client object
// now has the keyboard focus. Nothing where the system cannot (Windows 95).
void NotifyChildFocus(HWND window, LONG childId);
