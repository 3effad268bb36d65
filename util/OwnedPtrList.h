// List of heap blocks owned through the release function given by its builder.
// Unlike the other lists it keeps spare room, doubled whenever it fills: the
// format stack pushes one entry per open tag, and with one slot per insertion
// a document of n unclosed tags cost n reallocations of up to n slots in each
// layout and paint pass.
#pragma once
#include "util/PtrArray.h"

class OwnedPtrList : public PtrArray {
public:
    explicit OwnedPtrList(PtrArrayRelease releaseFunction);
    ~OwnedPtrList() override;

    // As PtrArray::Add, but reallocates only when the spare room is used up.
    // Grow the list through this class: PtrArray's own Add knows no room.
    int Add(void* element);

private:
    // Slots that items holds; storage that PtrArray's own operations made
    // has no spare room.
    int Room() const;
    bool Grow();

    void** roomItems;
    int room;
};
