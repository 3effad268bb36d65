// The library's two world-access objects: built by static initialisation when
// the DLL is loaded, destroyed when it is unloaded. Only the DLL carries them.
#include "security/WorldAccessSecurity.h"

namespace {
WorldAccessSecurity primaryWorldAccess;
WorldAccessSecurity secondaryWorldAccess;
}  // namespace
