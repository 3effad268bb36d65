// The one piece of the C++ runtime the DLL uses, allocation, over the host's
// process heap, so that no C++ runtime library is linked into it. Test
// programs link the library's objects with the compiler's own runtime instead.
#include <new>

#include "platform/WinSeam.h"

// Every allocation of the library is new (std::nothrow); the runtime that
// would define this tag is not linked.
namespace std {
const nothrow_t nothrow{};
}

namespace {
// new gives a block of its own even for zero bytes.
void* HeapBlock(size_t bytes) {
    return HeapAlloc(GetProcessHeap(), 0, bytes ? bytes : 1);
}

// HeapFree leaves a null block undefined; delete of null does nothing.
void FreeHeapBlock(void* block) {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}
}  // namespace

void* operator new(size_t bytes, const std::nothrow_t&) noexcept { return HeapBlock(bytes); }
void* operator new[](size_t bytes, const std::nothrow_t&) noexcept { return HeapBlock(bytes); }
void operator delete(void* block) noexcept { FreeHeapBlock(block); }
void operator delete[](void* block) noexcept { FreeHeapBlock(block); }
void operator delete(void* block, size_t) noexcept { FreeHeapBlock(block); }
void operator delete[](void* block, size_t) noexcept { FreeHeapBlock(block); }
