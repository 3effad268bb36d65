#include "security/NtSecurityFunctions.h"

#include <cstring>

namespace {
// In the order of the members.
const char kNames[] =
    "AccessCheck\0AddAccessAllowedAce\0AllocateAndInitializeSid\0AreAllAccessesGranted\0FreeSid\0"
    "GetAce\0GetAclInformation\0GetLengthSid\0ImpersonateSelf\0InitializeAcl\0"
    "InitializeSecurityDescriptor\0OpenThreadToken\0RevertToSelf\0SetSecurityDescriptorDacl\0";
const int kCount = 14;
}  // namespace

bool NtSecurityFunctions::Resolve(HMODULE advapi) {
    FARPROC found[kCount];
    static_assert(sizeof(found) == sizeof(NtSecurityFunctions), "one name per member");
    const char* name = kNames;
    for (FARPROC& function : found) {
        function = GetProcAddress(advapi, name);
        if (!function) return false;
        name += strlen(name) + 1;
    }
    // All function pointers share one representation: the members take the
    // addresses as they are.
    memcpy(this, found, sizeof(found));
    return true;
}
