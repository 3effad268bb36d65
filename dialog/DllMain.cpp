#include "util/ModuleInstance.h"

// Frees the C++ runtime's emergency exception pool, which the statically
// linked runtime allocates at load and would otherwise leave behind in the
// host at every unload.
namespace __gnu_cxx {
void __freeres() throw();
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) SetModuleInstance(instance);
    if (reason == DLL_PROCESS_DETACH && !reserved) __gnu_cxx::__freeres();
    return TRUE;
}
