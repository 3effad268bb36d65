// Linked into the trapping builds of the arithmetic-heavy tests: a fault in a
// window procedure ends the program there too instead of being swallowed.
#include "support/win/FaultWatch.h"

namespace {
const bool watchingFaults = (WatchOwnFaults(), true);
}  // namespace
