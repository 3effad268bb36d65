// The two pieces of the C++ runtime the DLL uses, allocation over the host's
// process heap and the guard of function-local statics, so that no C++
// runtime library is linked into it. Test
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

// A function-local static is built once, by its first caller; a host may call
// the DLL from several threads, so a second caller waits until it is built.
// The compiler tests the guard's first byte itself; the next four bytes are
// the lock.
namespace {
volatile LONG* GuardLock(long long* guard) { return reinterpret_cast<volatile LONG*>(guard) + 1; }
volatile char* GuardDone(long long* guard) { return reinterpret_cast<volatile char*>(guard); }
}  // namespace

extern "C" int __cxa_guard_acquire(long long* guard) {
    while (InterlockedCompareExchange(GuardLock(guard), 1, 0) != 0) Sleep(0);
    if (!*GuardDone(guard)) return 1;
    InterlockedExchange(GuardLock(guard), 0);
    return 0;
}

extern "C" void __cxa_guard_release(long long* guard) {
    *GuardDone(guard) = 1;
    InterlockedExchange(GuardLock(guard), 0);
}
