#include "browser/ElevatedToken.h"

#include <windows.h>

namespace {

typedef BOOL(WINAPI* OpenProcessTokenFn)(HANDLE, DWORD, PHANDLE);
typedef BOOL(WINAPI* GetTokenInformationFn)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);

template <typename Function>
Function Resolve(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

bool IsProcessElevated() {
    // advapi32.dll is one of the library's own imports; the token functions
    // are looked up because a 9x advapi32 may lack them.
    HMODULE advapi = GetModuleHandleA("advapi32.dll");
    OpenProcessTokenFn openToken = Resolve<OpenProcessTokenFn>(advapi, "OpenProcessToken");
    GetTokenInformationFn queryToken = Resolve<GetTokenInformationFn>(advapi, "GetTokenInformation");
    HANDLE token = nullptr;
    if (!openToken || !queryToken || !openToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    // Before Vista the information class is unknown and the query fails.
    TOKEN_ELEVATION_TYPE type;
    DWORD size;
    bool full = queryToken(token, TokenElevationType, &type, sizeof(type), &size) && type == TokenElevationTypeFull;
    CloseHandle(token);
    return full;
}
