// Security attributes that grant everyone full access, inherited by files and
// sub-containers, and a load-time test of whether the current user may read
// and write the program-files directory and the machine's software key.
// The library builds two instances when it is loaded (WorldAccessInstances.cpp)
// and destroys them when it is unloaded.
#pragma once
#include "platform/WinSeam.h"

#include <aclapi.h>

#include "security/NtSecurityFunctions.h"

class WorldAccessSecurity {
public:
    // Builds the access list, the descriptor and the attributes, then runs the
    // probes. Never fails: what cannot be built leaves the references null.
    WorldAccessSecurity();
    virtual ~WorldAccessSecurity();

    // Whether the current user holds all of the desired access to the named
    // object. True when the check cannot be made on this system.
    bool CheckNamedObjectAccess(const char* name, SE_OBJECT_TYPE type, DWORD desired) const;

    // The descriptor and attributes, or null unless everything was built.
    const SECURITY_DESCRIPTOR* DescriptorRef() const { return descriptorRef; }
    const SECURITY_ATTRIBUTES* AttributesRef() const { return attributesRef; }
    bool LacksAccess() const { return lacksAccess; }
    bool Probed() const { return probed; }
    bool IsNT() const { return isNT; }

private:
    typedef DWORD(WINAPI* GetNamedSecurityInfoFn)(LPSTR name, SE_OBJECT_TYPE type,
                                                   SECURITY_INFORMATION info, PSID* owner,
                                                   PSID* group, PACL* dacl, PACL* sacl,
                                                   PSECURITY_DESCRIPTOR* descriptor);
    typedef DWORD(WINAPI* SetNamedSecurityInfoFn)(LPSTR name, SE_OBJECT_TYPE type,
                                                   SECURITY_INFORMATION info, PSID owner,
                                                   PSID group, PACL dacl, PACL sacl);

    WorldAccessSecurity(const WorldAccessSecurity&) = delete;
    WorldAccessSecurity& operator=(const WorldAccessSecurity&) = delete;

    void LoadSecurityFunctions();
    void BuildWorldAccess();
    bool BuildWorldDescriptor(PSID world);
    void DropWorldAccess();
    void RunProbes();
    bool ProgramFilesProbe() const;
    bool AccessGranted(PSECURITY_DESCRIPTOR securityDescriptor, SE_OBJECT_TYPE type,
                       DWORD desired) const;

    bool lacksAccess;
    bool probed;
    SetNamedSecurityInfoFn setNamedSecurityInfo;
    GetNamedSecurityInfoFn getNamedSecurityInfo;
    HMODULE advapiModule;
    NtSecurityFunctions nt;  // usable only while isNT
    bool isNT;
    PACL dacl;
    SECURITY_DESCRIPTOR descriptor;
    SECURITY_DESCRIPTOR* descriptorRef;
    SECURITY_ATTRIBUTES attributes;
    SECURITY_ATTRIBUTES* attributesRef;
};
