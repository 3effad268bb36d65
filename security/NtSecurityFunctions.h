// The security functions of advapi32 that only the NT family has. They are
// resolved at run time, and only where the NT platform is reported: a 9x
// advapi32 lacks some of them, and one missing load-time import would keep the
// whole library from loading there.
#pragma once
#include "platform/WinSeam.h"

struct NtSecurityFunctions {
    // Resolves all of them from advapi32; false when one is missing.
    bool Resolve(HMODULE advapi);

    decltype(&::AccessCheck) accessCheck;
    decltype(&::AddAccessAllowedAce) addAccessAllowedAce;
    decltype(&::AllocateAndInitializeSid) allocateAndInitializeSid;
    decltype(&::AreAllAccessesGranted) areAllAccessesGranted;
    decltype(&::FreeSid) freeSid;
    decltype(&::GetAce) getAce;
    decltype(&::GetAclInformation) getAclInformation;
    decltype(&::GetLengthSid) getLengthSid;
    decltype(&::ImpersonateSelf) impersonateSelf;
    decltype(&::InitializeAcl) initializeAcl;
    decltype(&::InitializeSecurityDescriptor) initializeSecurityDescriptor;
    decltype(&::OpenThreadToken) openThreadToken;
    decltype(&::RevertToSelf) revertToSelf;
    decltype(&::SetSecurityDescriptorDacl) setSecurityDescriptorDacl;
};
