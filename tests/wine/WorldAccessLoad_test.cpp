// Loading and unloading the library builds and destroys its two world-access
// objects each time: nothing may stay behind, neither an impersonation token
// on the loading thread nor memory.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string LibraryPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory = path;
    return directory.substr(0, directory.rfind('\\')) + "\\MirelDialog.dll";
}

bool ThreadHasToken() {
    HANDLE token = nullptr;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token)) return false;
    CloseHandle(token);
    return true;
}

// Committed private pages of the process.
size_t PrivateCommittedBytes() {
    size_t total = 0;
    MEMORY_BASIC_INFORMATION info;
    const char* address = nullptr;
    while (VirtualQuery(address, &info, sizeof(info)) == sizeof(info)) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
        const char* next = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
        if (next <= address) break;
        address = next;
    }
    return total;
}

// Bytes in use in all heaps of the process.
size_t HeapBusyBytes() {
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    size_t total = 0;
    for (HANDLE heap : heaps) {
        if (!HeapLock(heap)) continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heap, &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
        HeapUnlock(heap);
    }
    return total;
}

void LoadAndUnload(const std::string& path, int times) {
    for (int i = 0; i < times; ++i) {
        HMODULE library = LoadLibraryA(path.c_str());
        ASSERT_NE(library, nullptr) << "load " << i << ", error " << GetLastError();
        EXPECT_FALSE(ThreadHasToken()) << "impersonating after load " << i;
        ASSERT_TRUE(FreeLibrary(library));
        EXPECT_FALSE(ThreadHasToken()) << "impersonating after unload " << i;
    }
}

TEST(LibraryLoad, HundredLoadsLeaveNoImpersonationAndNoMemory) {
    const std::string path = LibraryPath();
    ASSERT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
    // The first loads settle caches of the loader and the runtime.
    LoadAndUnload(path, 10);
    ASSERT_EQ(GetModuleHandleA(path.c_str()), nullptr) << "the library stayed loaded";
    const size_t heapBefore = HeapBusyBytes();
    const size_t privateBefore = PrivateCommittedBytes();

    LoadAndUnload(path, 100);

    const size_t heapAfter = HeapBusyBytes();
    const size_t privateAfter = PrivateCommittedBytes();
    printf("heap bytes in use: %zu before, %zu after 100 loads\n", heapBefore, heapAfter);
    printf("private committed bytes: %zu before, %zu after 100 loads\n", privateBefore, privateAfter);
    EXPECT_FALSE(ThreadHasToken());
    // A leak of even one small block per load (the access list is 28 bytes)
    // adds several kilobytes over 100 loads.
    EXPECT_LE(heapAfter, heapBefore + 1024);
    EXPECT_LE(privateAfter, privateBefore + 64 * 1024);
}

}  // namespace
