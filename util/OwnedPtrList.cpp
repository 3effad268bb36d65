#include "util/OwnedPtrList.h"

#include <climits>
#include <cstring>
#include <new>

namespace {
const int FIRST_ROOM = 8;
}  // namespace

OwnedPtrList::OwnedPtrList(PtrArrayRelease releaseFunction)
    : PtrArray(releaseFunction), roomItems(nullptr), room(0) {}

OwnedPtrList::~OwnedPtrList() { RemoveAll(); }

int OwnedPtrList::Room() const { return items && items == roomItems ? room : count; }

int OwnedPtrList::Add(void* element) {
    if (count < 0) return -1;
    if (count >= Room() && !Grow()) return -1;
    items[count] = element;
    return count++;
}

bool OwnedPtrList::Grow() {
    if (count == INT_MAX) return false;
    int grown = count > INT_MAX / 2 ? INT_MAX : count * 2;
    if (grown < FIRST_ROOM) grown = FIRST_ROOM;
    void** storage = new (std::nothrow) void*[static_cast<size_t>(grown)];
    if (!storage) return false;
    if (count > 0) memcpy(storage, items, sizeof(void*) * static_cast<size_t>(count));
    delete[] items;
    items = storage;
    roomItems = storage;
    room = grown;
    return true;
}
