#include "support/win/RuntimeFunctionHook.h"

#include <string>
#include <utility>
#include <vector>

namespace {
std::vector<std::pair<std::string, void*>> replacements;  // oldest first
}  // namespace

decltype(&GetProcAddress) RuntimeFunctionHook::systemLookup = nullptr;

RuntimeFunctionHook::RuntimeFunctionHook(const char* functionName, void* replacement)
    : hook("kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(&Lookup)) {
    // Only the first live hook replaced the system's function.
    if (replacements.empty()) systemLookup = hook.Original<decltype(&GetProcAddress)>();
    replacements.emplace_back(functionName, replacement);
}

RuntimeFunctionHook::~RuntimeFunctionHook() { replacements.pop_back(); }

FARPROC WINAPI RuntimeFunctionHook::Lookup(HMODULE module, LPCSTR name) {
    bool byOrdinal = reinterpret_cast<ULONG_PTR>(name) <= 0xFFFF;
    for (auto entry = replacements.rbegin(); !byOrdinal && entry != replacements.rend(); ++entry)
        if (entry->first == name) return reinterpret_cast<FARPROC>(entry->second);
    return systemLookup(module, name);
}
