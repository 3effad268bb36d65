// List of heap blocks owned through the release function given by its builder.
#pragma once
#include "util/PtrArray.h"

class OwnedPtrList : public PtrArray {
public:
    explicit OwnedPtrList(PtrArrayRelease releaseFunction);
    ~OwnedPtrList() override;
};
