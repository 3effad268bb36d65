#include "util/OwnedPtrList.h"

OwnedPtrList::OwnedPtrList(PtrArrayRelease releaseFunction) : PtrArray(releaseFunction) {}

OwnedPtrList::~OwnedPtrList() { RemoveAll(); }
