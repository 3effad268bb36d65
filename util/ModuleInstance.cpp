#include "util/ModuleInstance.h"

namespace {
HINSTANCE moduleInstance = nullptr;
}

void SetModuleInstance(HINSTANCE instance) { moduleInstance = instance; }

HINSTANCE GetModuleInstance() {
#ifdef _WIN32
    if (!moduleInstance) return GetModuleHandleA(nullptr);
#endif
    return moduleInstance;
}
