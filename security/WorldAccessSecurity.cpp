#include "security/WorldAccessSecurity.h"

#include <new>

#include "browser/RegistryReader.h"
#include "util/SystemLibrary.h"

namespace {

const char kVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";
const char kSoftwareKeyObject[] = "MACHINE\\Software";
const DWORD kProgramFilesAccess = FILE_GENERIC_READ | FILE_GENERIC_WRITE;
const DWORD kSoftwareKeyAccess = KEY_READ | KEY_WRITE;
const SECURITY_INFORMATION kOwnerGroupDacl =
    OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

// Results of GetNamedSecurityInfoA that mean the system or the object has no
// security to check, so the user is not held back by it.
bool CheckCannotBeMade(DWORD result) {
    return result == ERROR_NOT_SUPPORTED || result == ERROR_CALL_NOT_IMPLEMENTED ||
           result == ERROR_PROC_NOT_FOUND || result == ERROR_NO_SECURITY_ON_OBJECT;
}

// AccessCheck needs the object type's own meaning of the generic rights: the
// standard key rights for registry keys, the standard file rights for files
// (and for any other object, which the library never asks about).
GENERIC_MAPPING StandardMapping(SE_OBJECT_TYPE type) {
    if (type == SE_REGISTRY_KEY) return GENERIC_MAPPING{KEY_READ, KEY_WRITE, KEY_EXECUTE, KEY_ALL_ACCESS};
    return GENERIC_MAPPING{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
}

template <typename Function>
Function ResolveFunction(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Owns a descriptor that GetNamedSecurityInfoA allocated.
class LocalDescriptor {
public:
    LocalDescriptor() : descriptor(nullptr) {}
    ~LocalDescriptor() {
        if (descriptor) LocalFree(descriptor);
    }
    LocalDescriptor(const LocalDescriptor&) = delete;
    LocalDescriptor& operator=(const LocalDescriptor&) = delete;

    PSECURITY_DESCRIPTOR descriptor;
};

// The thread impersonates itself while this lives.
class SelfImpersonation {
public:
    explicit SelfImpersonation(const NtSecurityFunctions& nt)
        : nt(nt), active(nt.impersonateSelf(SecurityImpersonation) != FALSE) {}
    ~SelfImpersonation() {
        if (active) nt.revertToSelf();
    }
    SelfImpersonation(const SelfImpersonation&) = delete;
    SelfImpersonation& operator=(const SelfImpersonation&) = delete;

    const NtSecurityFunctions& nt;
    const bool active;
};

// Owns the thread's token handle.
class ThreadToken {
public:
    explicit ThreadToken(const NtSecurityFunctions& nt) : handle(nullptr) {
        if (!nt.openThreadToken(GetCurrentThread(), TOKEN_QUERY, FALSE, &handle)) handle = nullptr;
    }
    ~ThreadToken() {
        if (handle) CloseHandle(handle);
    }
    ThreadToken(const ThreadToken&) = delete;
    ThreadToken& operator=(const ThreadToken&) = delete;

    HANDLE handle;
};

}  // namespace

WorldAccessSecurity::WorldAccessSecurity()
    : lacksAccess(false),
      probed(false),
      setNamedSecurityInfo(nullptr),
      getNamedSecurityInfo(nullptr),
      advapiModule(nullptr),
      isNT(false),
      dacl(nullptr),
      descriptorRef(nullptr),
      attributesRef(nullptr) {
    ZeroMemory(&nt, sizeof(nt));
    ZeroMemory(&descriptor, sizeof(descriptor));
    ZeroMemory(&attributes, sizeof(attributes));
    LoadSecurityFunctions();
    BuildWorldAccess();
    RunProbes();
}

WorldAccessSecurity::~WorldAccessSecurity() {
    delete[] reinterpret_cast<BYTE*>(dacl);
    if (advapiModule) FreeLibrary(advapiModule);
}

void WorldAccessSecurity::LoadSecurityFunctions() {
    advapiModule = LoadSystemLibrary("advapi32.dll");
    if (!advapiModule) return;
    setNamedSecurityInfo = ResolveFunction<SetNamedSecurityInfoFn>(advapiModule, "SetNamedSecurityInfoA");
    getNamedSecurityInfo = ResolveFunction<GetNamedSecurityInfoFn>(advapiModule, "GetNamedSecurityInfoA");
}

void WorldAccessSecurity::BuildWorldAccess() {
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof(version));
    version.dwOSVersionInfoSize = sizeof(version);
    if (GetVersionExA(&version)) isNT = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    if (!isNT) return;
    if (!advapiModule || !nt.Resolve(advapiModule)) {
        DropWorldAccess();
        return;
    }
    SID_IDENTIFIER_AUTHORITY worldAuthority = {SECURITY_WORLD_SID_AUTHORITY};
    PSID world = nullptr;
    bool built = nt.allocateAndInitializeSid(&worldAuthority, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0,
                                             &world) &&
                 BuildWorldDescriptor(world);
    if (world) nt.freeSid(world);
    if (!built) DropWorldAccess();
}

// One access-allowed entry for everyone with full access, inherited by files
// and sub-containers, in a descriptor that the attributes hand on.
bool WorldAccessSecurity::BuildWorldDescriptor(PSID world) {
    DWORD size = nt.getLengthSid(world) + sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD);
    dacl = reinterpret_cast<PACL>(new (std::nothrow) BYTE[size]);
    if (!dacl || !nt.initializeAcl(dacl, size, ACL_REVISION)) return false;
    if (!nt.addAccessAllowedAce(dacl, ACL_REVISION, GENERIC_ALL, world)) return false;
    ACL_SIZE_INFORMATION sizeInfo;
    if (!nt.getAclInformation(dacl, &sizeInfo, sizeof(sizeInfo), AclSizeInformation)) return false;
    void* ace = nullptr;
    if (sizeInfo.AceCount == 0 || !nt.getAce(dacl, sizeInfo.AceCount - 1, &ace)) return false;
    static_cast<ACE_HEADER*>(ace)->AceFlags = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    if (!nt.initializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION)) return false;
    if (!nt.setSecurityDescriptorDacl(&descriptor, TRUE, dacl, FALSE)) return false;
    attributes.nLength = sizeof(attributes);
    attributes.lpSecurityDescriptor = &descriptor;
    attributes.bInheritHandle = TRUE;
    descriptorRef = &descriptor;
    attributesRef = &attributes;
    return true;
}

void WorldAccessSecurity::DropWorldAccess() {
    isNT = false;
    delete[] reinterpret_cast<BYTE*>(dacl);
    dacl = nullptr;
    descriptorRef = nullptr;
    attributesRef = nullptr;
}

void WorldAccessSecurity::RunProbes() {
    if (probed) return;
    lacksAccess = false;
    if (!ProgramFilesProbe() ||
        !CheckNamedObjectAccess(kSoftwareKeyObject, SE_REGISTRY_KEY, kSoftwareKeyAccess))
        lacksAccess = true;
    probed = true;
}

// Passes when the directory is not named or the user may read and write it.
bool WorldAccessSecurity::ProgramFilesProbe() const {
    char* directory = nullptr;
    ReadRegistryValue(HKEY_LOCAL_MACHINE, kVersionKey, "ProgramFilesDir", &directory, nullptr);
    bool passed = !directory || !*directory ||
                  CheckNamedObjectAccess(directory, SE_FILE_OBJECT, kProgramFilesAccess);
    delete[] directory;
    return passed;
}

bool WorldAccessSecurity::CheckNamedObjectAccess(const char* name, SE_OBJECT_TYPE type,
                                                 DWORD desired) const {
    if (!isNT || !setNamedSecurityInfo || !getNamedSecurityInfo) return true;
    LocalDescriptor found;
    DWORD result = getNamedSecurityInfo(const_cast<LPSTR>(name), type, kOwnerGroupDacl, nullptr, nullptr,
                                        nullptr, nullptr, &found.descriptor);
    if (CheckCannotBeMade(result)) return true;
    if (result != ERROR_SUCCESS) return false;
    return AccessGranted(found.descriptor, type, desired);
}

// Asks the system whether the thread, impersonating itself, holds the access.
bool WorldAccessSecurity::AccessGranted(PSECURITY_DESCRIPTOR securityDescriptor, SE_OBJECT_TYPE type,
                                        DWORD desired) const {
    SelfImpersonation impersonation(nt);
    if (!impersonation.active) return false;
    ThreadToken token(nt);
    if (!token.handle) return false;
    GENERIC_MAPPING mapping = StandardMapping(type);
    PRIVILEGE_SET privileges;
    DWORD privilegesLength = sizeof(privileges);
    DWORD granted = 0;
    BOOL status = FALSE;
    if (!nt.accessCheck(securityDescriptor, token.handle, desired, &mapping, &privileges, &privilegesLength,
                        &granted, &status))
        return false;
    return status && nt.areAllAccessesGranted(granted, desired);
}
