#include "support/win/ImportHook.h"

#include <cstring>

namespace {

BYTE* ProgramBase() { return reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr)); }

const IMAGE_IMPORT_DESCRIPTOR* FirstImport(BYTE* base) {
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return nullptr;
    return reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
}

bool ImportsByName(BYTE* base, const IMAGE_THUNK_DATA* name, const char* functionName) {
    if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) return false;
    const IMAGE_IMPORT_BY_NAME* byName =
        reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
    return strcmp(reinterpret_cast<const char*>(byName->Name), functionName) == 0;
}

void WriteSlot(void** slot, void* value) {
    DWORD oldProtection = 0;
    VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &oldProtection);
    *slot = value;
    VirtualProtect(slot, sizeof(void*), oldProtection, &oldProtection);
}

}  // namespace

ImportHook::ImportHook(const char* moduleName, const char* functionName, void* replacement)
    : original(nullptr) {
    BYTE* base = ProgramBase();
    for (const IMAGE_IMPORT_DESCRIPTOR* module = FirstImport(base); module && module->Name; ++module) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + module->Name), moduleName) != 0) continue;
        const IMAGE_THUNK_DATA* name = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
        IMAGE_THUNK_DATA* address = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; name->u1.AddressOfData; ++name, ++address) {
            if (!ImportsByName(base, name, functionName)) continue;
            void** slot = reinterpret_cast<void**>(&address->u1.Function);
            original = *slot;
            slots.push_back(slot);
        }
    }
    for (void** slot : slots) WriteSlot(slot, replacement);
}

ImportHook::~ImportHook() {
    for (void** slot : slots) WriteSlot(slot, original);
}
