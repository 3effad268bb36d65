// Growable array of untyped pointers that owns its elements through a release
// function chosen at construction (null: elements are not owned). Storage is
// exact: every Add reallocates to count + 1 slots.
#pragma once

typedef void (*PtrArrayRelease)(void* element);

class PtrArray {
public:
    explicit PtrArray(PtrArrayRelease releaseFunction);
    virtual ~PtrArray();

    // Appends; returns the new element's index, or -1 when memory runs out
    // (the array is then unchanged and the element stays the caller's).
    int Add(void* element);
    // Appends elementCount elements with a single reallocation (storage stays
    // exact); returns the first one's index, or -1 when memory runs out or
    // the count is negative (the array is then unchanged).
    int AddRange(void* const* elements, int elementCount);
    // Null when the index is out of range.
    void* GetAt(int index) const;
    // Stores the element and returns the one it replaced (not released); out
    // of range stores nothing and returns null.
    void* SetAt(int index, void* element);
    // Removes and returns the element without releasing it; later elements
    // move down one place. Out of range returns null.
    void* RemoveAt(int index);
    // Releases every element, front to back, and frees the storage.
    void RemoveAll();

    // Hosts and the rest of the library read these fields directly; keep their order.
    void** items;             // exactly count pointers, or null while empty
    int count;                // number of elements
    PtrArrayRelease release;  // applied to each element by RemoveAll and the destructor

private:
    PtrArray(const PtrArray&) = delete;
    PtrArray& operator=(const PtrArray&) = delete;
};

// Heap copy (new[]) of the text, or null for a null text or when memory runs out.
char* DuplicateText(const char* text);
