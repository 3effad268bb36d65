#include "util/PtrArray.h"

#include <climits>
#include <cstring>
#include <new>

#include "platform/WinSeam.h"

PtrArray::PtrArray(PtrArrayRelease releaseFunction) : items(nullptr), count(0), release(releaseFunction) {}

PtrArray::~PtrArray() { RemoveAll(); }

int PtrArray::Add(void* element) {
    if (count < 0 || count == INT_MAX) return -1;
    void** grown = new (std::nothrow) void*[static_cast<size_t>(count) + 1];
    if (!grown) return -1;
    if (count > 0) memcpy(grown, items, sizeof(void*) * static_cast<size_t>(count));
    grown[count] = element;
    delete[] items;
    items = grown;
    return count++;
}

int PtrArray::AddRange(void* const* elements, int elementCount) {
    if (count < 0 || elementCount < 0 || elementCount > INT_MAX - count) return -1;
    if (elementCount == 0) return count;
    if (!elements) return -1;
    size_t total = static_cast<size_t>(count) + static_cast<size_t>(elementCount);
    void** grown = new (std::nothrow) void*[total];
    if (!grown) return -1;
    if (count > 0) memcpy(grown, items, sizeof(void*) * static_cast<size_t>(count));
    memcpy(grown + count, elements, sizeof(void*) * static_cast<size_t>(elementCount));
    delete[] items;
    items = grown;
    int first = count;
    count += elementCount;
    return first;
}

void* PtrArray::GetAt(int index) const {
    if (!items || index < 0 || index >= count) return nullptr;
    return items[index];
}

void* PtrArray::SetAt(int index, void* element) {
    if (!items || index < 0 || index >= count) return nullptr;
    void* replaced = items[index];
    items[index] = element;
    return replaced;
}

void* PtrArray::RemoveAt(int index) {
    void* removed = nullptr;
    if (items && index >= 0 && index < count) {
        removed = items[index];
        memmove(items + index, items + index + 1, sizeof(void*) * static_cast<size_t>(count - index - 1));
        items[count - 1] = nullptr;
        --count;
    }
    if (count < 1) {
        delete[] items;
        items = nullptr;
        count = 0;
    }
    return removed;
}

void PtrArray::RemoveAll() {
    // Detach the storage first so a release function that looks at this array
    // sees it empty; elements still go front to back.
    void** taken = items;
    int takenCount = count;
    items = nullptr;
    count = 0;
    for (int i = 0; i < takenCount; ++i) {
        if (release && taken[i]) release(taken[i]);
    }
    delete[] taken;
}

char* DuplicateText(const char* text) {
    if (!text) return nullptr;
    int length = lstrlenA(text);
    if (length < 0) return nullptr;
    char* copy = new (std::nothrow) char[static_cast<size_t>(length) + 1];
    if (!copy) return nullptr;
    memcpy(copy, text, static_cast<size_t>(length) + 1);
    return copy;
}
