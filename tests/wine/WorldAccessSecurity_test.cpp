// The world-access security object: its descriptor, the access check against
// real objects, and, through the program's import slots, the results and
// failures that this system does not produce by itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "security/WorldAccessSecurity.h"
#include "support/win/ImportHook.h"

namespace {

typedef DWORD(WINAPI* GetNamedSecurityInfoFn)(LPSTR, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID*, PSID*, PACL*,
                                              PACL*, PSECURITY_DESCRIPTOR*);

// Stands between the library and the security functions: records what is
// asked, forces results by object name, reports a platform, and makes single
// steps of the access check fail.
class SecurityWatch {
public:
    SecurityWatch()
        : procAddress("kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(&ProcAddress)),
          version("kernel32.dll", "GetVersionExA", reinterpret_cast<void*>(&Version)),
          queryValue("advapi32.dll", "RegQueryValueExA", reinterpret_cast<void*>(&QueryValue)),
          localFree("kernel32.dll", "LocalFree", reinterpret_cast<void*>(&FreeLocal)),
          closeHandle("kernel32.dll", "CloseHandle", reinterpret_cast<void*>(&Close)) {
        active = this;
        resolvedNames.clear();
        missingName.clear();
        askedNames.clear();
        askedInfo.clear();
        forcedResults.clear();
        returnedDescriptors.clear();
        freedBlocks.clear();
        openedTokens.clear();
        closedHandles.clear();
        platform = -1;
        versionFails = hideProgramFilesDir = failImpersonation = failToken = failAccessCheck = false;
    }
    ~SecurityWatch() { active = nullptr; }

    bool Installed() const {
        return procAddress.Installed() && version.Installed() && queryValue.Installed() &&
               localFree.Installed() && closeHandle.Installed();
    }

    // The functions the library looked up by name, in order.
    static std::vector<std::string> resolvedNames;
    static std::string missingName;  // looked up in vain
    static std::vector<std::string> askedNames;
    static std::vector<SECURITY_INFORMATION> askedInfo;
    static std::map<std::string, DWORD> forcedResults;
    static std::vector<void*> returnedDescriptors;
    static std::vector<void*> freedBlocks;
    static std::vector<HANDLE> openedTokens;
    static std::vector<HANDLE> closedHandles;
    static int platform;  // reported platform identifier; -1: the real one
    static bool versionFails;
    static bool hideProgramFilesDir;
    static bool failImpersonation;
    static bool failToken;
    static bool failAccessCheck;

private:
    // The library resolves the security functions at run time: the watch
    // hands it its own stand-ins for the ones it watches.
    static FARPROC WINAPI ProcAddress(HMODULE module, LPCSTR name) {
        FARPROC found = active->procAddress.Original<decltype(&GetProcAddress)>()(module, name);
        if (!HIWORD(reinterpret_cast<ULONG_PTR>(name))) return found;
        resolvedNames.push_back(name);
        if (name == missingName) return nullptr;
        const struct {
            const char* name;
            void* standIn;
            void** original;
        } watched[] = {{"GetNamedSecurityInfoA", reinterpret_cast<void*>(&NamedSecurityInfo), nullptr},
                       {"ImpersonateSelf", reinterpret_cast<void*>(&Impersonate), &originalImpersonate},
                       {"OpenThreadToken", reinterpret_cast<void*>(&OpenToken), &originalOpenToken},
                       {"AccessCheck", reinterpret_cast<void*>(&Check), &originalCheck}};
        for (const auto& w : watched) {
            if (strcmp(name, w.name) != 0 || !found) continue;
            if (w.original) *w.original = reinterpret_cast<void*>(found);
            return reinterpret_cast<FARPROC>(w.standIn);
        }
        return found;
    }
    static DWORD WINAPI NamedSecurityInfo(LPSTR name, SE_OBJECT_TYPE type, SECURITY_INFORMATION info, PSID* owner,
                                          PSID* group, PACL* dacl, PACL* sacl, PSECURITY_DESCRIPTOR* descriptor) {
        askedNames.push_back(name ? name : "");
        askedInfo.push_back(info);
        auto forced = forcedResults.find(name ? name : "");
        if (forced != forcedResults.end()) return forced->second;
        DWORD result = GetNamedSecurityInfoA(name, type, info, owner, group, dacl, sacl, descriptor);
        if (result == ERROR_SUCCESS && descriptor) returnedDescriptors.push_back(*descriptor);
        return result;
    }
    static BOOL WINAPI Version(LPOSVERSIONINFOA info) {
        if (versionFails) return FALSE;
        BOOL ok = active->version.Original<decltype(&GetVersionExA)>()(info);
        if (ok && platform >= 0) info->dwPlatformId = static_cast<DWORD>(platform);
        return ok;
    }
    static LONG WINAPI QueryValue(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                  LPDWORD size) {
        if (hideProgramFilesDir && name && strcmp(name, "ProgramFilesDir") == 0) return ERROR_FILE_NOT_FOUND;
        return active->queryValue.Original<decltype(&RegQueryValueExA)>()(key, name, reserved, type, data, size);
    }
    static BOOL WINAPI Impersonate(SECURITY_IMPERSONATION_LEVEL level) {
        if (failImpersonation) return FALSE;
        return reinterpret_cast<decltype(&ImpersonateSelf)>(originalImpersonate)(level);
    }
    static BOOL WINAPI OpenToken(HANDLE thread, DWORD access, BOOL asSelf, PHANDLE token) {
        if (failToken) return FALSE;
        BOOL ok = reinterpret_cast<decltype(&OpenThreadToken)>(originalOpenToken)(thread, access, asSelf, token);
        if (ok) openedTokens.push_back(*token);
        return ok;
    }
    static BOOL WINAPI Check(PSECURITY_DESCRIPTOR descriptor, HANDLE token, DWORD desired, PGENERIC_MAPPING mapping,
                             PPRIVILEGE_SET privileges, LPDWORD privilegesLength, LPDWORD granted, LPBOOL status) {
        if (failAccessCheck) return FALSE;
        return reinterpret_cast<decltype(&AccessCheck)>(originalCheck)(descriptor, token, desired, mapping, privileges,
                                                                       privilegesLength, granted, status);
    }
    static HLOCAL WINAPI FreeLocal(HLOCAL block) {
        freedBlocks.push_back(block);
        return active->localFree.Original<decltype(&LocalFree)>()(block);
    }
    static BOOL WINAPI Close(HANDLE handle) {
        closedHandles.push_back(handle);
        return active->closeHandle.Original<decltype(&CloseHandle)>()(handle);
    }

    static SecurityWatch* active;
    static void* originalImpersonate;
    static void* originalOpenToken;
    static void* originalCheck;
    ImportHook procAddress;
    ImportHook version;
    ImportHook queryValue;
    ImportHook localFree;
    ImportHook closeHandle;
};

SecurityWatch* SecurityWatch::active = nullptr;
void* SecurityWatch::originalImpersonate = nullptr;
void* SecurityWatch::originalOpenToken = nullptr;
void* SecurityWatch::originalCheck = nullptr;
std::vector<std::string> SecurityWatch::resolvedNames;
std::string SecurityWatch::missingName;
std::vector<std::string> SecurityWatch::askedNames;
std::vector<SECURITY_INFORMATION> SecurityWatch::askedInfo;
std::map<std::string, DWORD> SecurityWatch::forcedResults;
std::vector<void*> SecurityWatch::returnedDescriptors;
std::vector<void*> SecurityWatch::freedBlocks;
std::vector<HANDLE> SecurityWatch::openedTokens;
std::vector<HANDLE> SecurityWatch::closedHandles;
int SecurityWatch::platform = -1;
bool SecurityWatch::versionFails = false;
bool SecurityWatch::hideProgramFilesDir = false;
bool SecurityWatch::failImpersonation = false;
bool SecurityWatch::failToken = false;
bool SecurityWatch::failAccessCheck = false;

bool ThreadHasToken() {
    HANDLE token = nullptr;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token)) return false;
    CloseHandle(token);
    return true;
}

std::string ProgramFilesDir() {
    char value[MAX_PATH] = {};
    DWORD size = sizeof(value);
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
                     RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return std::string();
    return value;
}

bool Contains(const std::vector<void*>& blocks, void* block) {
    return std::find(blocks.begin(), blocks.end(), block) != blocks.end();
}

// A directory of the test's own, which the test user can read and write.
class ScratchDirectory {
public:
    ScratchDirectory() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        path = std::string(temp) + "mirel-access-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(path.c_str(), nullptr);
    }
    ~ScratchDirectory() { RemoveDirectoryA(path.c_str()); }
    std::string path;
};

TEST(WorldAccessSecurity, DescriptorHoldsOneInheritableFullAccessEntryForEveryone) {
    WorldAccessSecurity security;
    ASSERT_TRUE(security.IsNT());
    const SECURITY_DESCRIPTOR* descriptor = security.DescriptorRef();
    ASSERT_NE(descriptor, nullptr);
    PSECURITY_DESCRIPTOR writable = const_cast<SECURITY_DESCRIPTOR*>(descriptor);
    EXPECT_TRUE(IsValidSecurityDescriptor(writable));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(writable, &control, &revision));
    EXPECT_EQ(revision, 1u);
    EXPECT_EQ(control & SE_SELF_RELATIVE, 0);

    BOOL present = FALSE, defaulted = TRUE;
    PACL dacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(writable, &present, &dacl, &defaulted));
    EXPECT_TRUE(present);
    EXPECT_FALSE(defaulted);
    ASSERT_NE(dacl, nullptr);
    ACL_SIZE_INFORMATION sizeInfo = {};
    ASSERT_TRUE(GetAclInformation(dacl, &sizeInfo, sizeof(sizeInfo), AclSizeInformation));
    ASSERT_EQ(sizeInfo.AceCount, 1u);
    EXPECT_EQ(dacl->AclRevision, ACL_REVISION);

    void* ace = nullptr;
    ASSERT_TRUE(GetAce(dacl, 0, &ace));
    ACCESS_ALLOWED_ACE* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    EXPECT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
    EXPECT_EQ(allowed->Header.AceFlags, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
    EXPECT_EQ(allowed->Mask, static_cast<ACCESS_MASK>(GENERIC_ALL));
    BYTE world[SECURITY_MAX_SID_SIZE];
    DWORD worldSize = sizeof(world);
    ASSERT_TRUE(CreateWellKnownSid(WinWorldSid, nullptr, world, &worldSize));
    EXPECT_TRUE(EqualSid(&allowed->SidStart, world));
}

TEST(WorldAccessSecurity, AttributesHandTheDescriptorOnWithInheritance) {
    WorldAccessSecurity security;
    const SECURITY_ATTRIBUTES* attributes = security.AttributesRef();
    ASSERT_NE(attributes, nullptr);
    EXPECT_EQ(attributes->nLength, sizeof(SECURITY_ATTRIBUTES));
    EXPECT_EQ(attributes->lpSecurityDescriptor, security.DescriptorRef());
    EXPECT_TRUE(attributes->bInheritHandle);

    // The attributes work on a real object: its handle is inheritable and its
    // access list is the world entry.
    HANDLE event = CreateEventA(const_cast<SECURITY_ATTRIBUTES*>(attributes), TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    DWORD flags = 0;
    EXPECT_TRUE(GetHandleInformation(event, &flags));
    EXPECT_TRUE(flags & HANDLE_FLAG_INHERIT);
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR objectDescriptor = nullptr;
    ASSERT_EQ(GetSecurityInfo(event, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                              &objectDescriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_NE(dacl, nullptr);
    EXPECT_EQ(dacl->AceCount, 1);
    LocalFree(objectDescriptor);
    CloseHandle(event);
}

TEST(WorldAccessSecurity, EachInstanceOwnsItsDescriptor) {
    WorldAccessSecurity first;
    WorldAccessSecurity second;
    ASSERT_NE(first.DescriptorRef(), nullptr);
    ASSERT_NE(second.DescriptorRef(), nullptr);
    EXPECT_NE(first.DescriptorRef(), second.DescriptorRef());
    EXPECT_EQ(second.AttributesRef()->lpSecurityDescriptor, second.DescriptorRef());
}

TEST(WorldAccessSecurity, ProbesRanAtConstructionAndPassForThisUser) {
    WorldAccessSecurity security;
    EXPECT_TRUE(security.Probed());
    EXPECT_FALSE(security.LacksAccess());
    EXPECT_FALSE(ThreadHasToken());
}

TEST(WorldAccessSecurity, CheckAgainstRealObjects) {
    WorldAccessSecurity security;
    ScratchDirectory directory;
    const DWORD readWrite = FILE_GENERIC_READ | FILE_GENERIC_WRITE;
    EXPECT_TRUE(security.CheckNamedObjectAccess(directory.path.c_str(), SE_FILE_OBJECT, readWrite));
    EXPECT_FALSE(security.CheckNamedObjectAccess((directory.path + "\\missing\\deeper").c_str(), SE_FILE_OBJECT,
                                                 readWrite));
    EXPECT_TRUE(security.CheckNamedObjectAccess("CURRENT_USER\\Software", SE_REGISTRY_KEY, KEY_READ | KEY_WRITE));
    EXPECT_FALSE(security.CheckNamedObjectAccess("CURRENT_USER\\Software\\MirelTest\\NoSuchKey", SE_REGISTRY_KEY,
                                                 KEY_READ | KEY_WRITE));
    EXPECT_FALSE(ThreadHasToken());
}

TEST(WorldAccessSecurity, ResultsThatMeanNoCheckCanBeMadePass) {
    SecurityWatch watch;
    ASSERT_TRUE(watch.Installed());
    WorldAccessSecurity security;
    SecurityWatch::openedTokens.clear();
    const struct {
        DWORD result;
        bool passes;
    } cases[] = {{ERROR_NOT_SUPPORTED, true},         {ERROR_CALL_NOT_IMPLEMENTED, true},
                 {ERROR_PROC_NOT_FOUND, true},        {ERROR_NO_SECURITY_ON_OBJECT, true},
                 {ERROR_ACCESS_DENIED, false},        {ERROR_FILE_NOT_FOUND, false},
                 {ERROR_INVALID_PARAMETER, false}};
    for (const auto& c : cases) {
        SecurityWatch::forcedResults["C:\\forced"] = c.result;
        EXPECT_EQ(security.CheckNamedObjectAccess("C:\\forced", SE_FILE_OBJECT, FILE_GENERIC_READ), c.passes)
            << c.result;
    }
    EXPECT_TRUE(SecurityWatch::openedTokens.empty()) << "no access check runs without a descriptor";
}

TEST(WorldAccessSecurity, AsksForOwnerGroupAndAccessList) {
    SecurityWatch watch;
    ASSERT_TRUE(watch.Installed());
    WorldAccessSecurity security;
    ASSERT_FALSE(SecurityWatch::askedInfo.empty());
    for (SECURITY_INFORMATION info : SecurityWatch::askedInfo)
        EXPECT_EQ(info, static_cast<SECURITY_INFORMATION>(OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION |
                                                          DACL_SECURITY_INFORMATION));
}

TEST(WorldAccessSecurity, ImpersonationIsRevertedAndEverythingReleasedOnEveryPath) {
    ScratchDirectory directory;
    enum Failure { kNone, kImpersonation, kToken, kAccessCheck };
    for (Failure failure : {kNone, kImpersonation, kToken, kAccessCheck}) {
        {
            SecurityWatch watch;
            ASSERT_TRUE(watch.Installed());
            WorldAccessSecurity security;
            SecurityWatch::returnedDescriptors.clear();
            SecurityWatch::failImpersonation = failure == kImpersonation;
            SecurityWatch::failToken = failure == kToken;
            SecurityWatch::failAccessCheck = failure == kAccessCheck;
            bool granted = security.CheckNamedObjectAccess(directory.path.c_str(), SE_FILE_OBJECT,
                                                           FILE_GENERIC_READ | FILE_GENERIC_WRITE);
            EXPECT_EQ(granted, failure == kNone) << failure;
            ASSERT_EQ(SecurityWatch::returnedDescriptors.size(), 1u) << failure;
            EXPECT_TRUE(Contains(SecurityWatch::freedBlocks, SecurityWatch::returnedDescriptors[0])) << failure;
            for (HANDLE token : SecurityWatch::openedTokens)
                EXPECT_NE(std::find(SecurityWatch::closedHandles.begin(), SecurityWatch::closedHandles.end(), token),
                          SecurityWatch::closedHandles.end())
                    << "token left open, failure " << failure;
        }
        EXPECT_FALSE(ThreadHasToken()) << "still impersonating after failure " << failure;
    }
}

TEST(WorldAccessSecurity, SystemWithoutNtPlatformBuildsNothingAndPassesEveryCheck) {
    for (bool versionFails : {false, true}) {
        SecurityWatch watch;
        ASSERT_TRUE(watch.Installed());
        SecurityWatch::platform = VER_PLATFORM_WIN32_WINDOWS;
        SecurityWatch::versionFails = versionFails;
        WorldAccessSecurity security;
        EXPECT_FALSE(security.IsNT());
        EXPECT_EQ(security.DescriptorRef(), nullptr);
        EXPECT_EQ(security.AttributesRef(), nullptr);
        EXPECT_TRUE(security.Probed());
        EXPECT_FALSE(security.LacksAccess());
        EXPECT_TRUE(security.CheckNamedObjectAccess("C:\\no\\such\\path", SE_FILE_OBJECT, FILE_GENERIC_READ));
        EXPECT_TRUE(SecurityWatch::askedNames.empty());
    }
}

// A 9x advapi32 lacks some of these, so the library imports none of them and
// looks them up only where the NT platform is reported; without one of them
// it builds nothing, like a 9x system.
TEST(WorldAccessSecurity, NtOnlyFunctionsAreLookedUpOnlyWhereNtIsReported) {
    const std::vector<std::string> named = {"SetNamedSecurityInfoA", "GetNamedSecurityInfoA"};
    std::vector<std::string> all = named;
    for (const char* name : {"AccessCheck", "AddAccessAllowedAce", "AllocateAndInitializeSid", "AreAllAccessesGranted",
                             "FreeSid", "GetAce", "GetAclInformation", "GetLengthSid", "ImpersonateSelf",
                             "InitializeAcl", "InitializeSecurityDescriptor", "OpenThreadToken", "RevertToSelf",
                             "SetSecurityDescriptorDacl"})
        all.push_back(name);
    std::vector<std::string> upToGetAce(all.begin(), all.begin() + 8);
    const struct {
        int platform;
        const char* missing;
        const std::vector<std::string>& resolved;
        bool built;
    } cases[] = {{VER_PLATFORM_WIN32_NT, "", all, true},
                 {VER_PLATFORM_WIN32_WINDOWS, "", named, false},
                 {VER_PLATFORM_WIN32_NT, "GetAce", upToGetAce, false}};
    for (const auto& c : cases) {
        SecurityWatch watch;
        ASSERT_TRUE(watch.Installed());
        SecurityWatch::platform = c.platform;
        SecurityWatch::missingName = c.missing;
        WorldAccessSecurity security;
        EXPECT_EQ(SecurityWatch::resolvedNames, c.resolved) << c.platform << c.missing;
        EXPECT_EQ(security.IsNT(), c.built) << c.platform << c.missing;
        EXPECT_EQ(security.DescriptorRef() != nullptr, c.built) << c.platform << c.missing;
        EXPECT_FALSE(security.LacksAccess()) << c.platform << c.missing;
    }
}

TEST(WorldAccessSecurity, ProgramFilesProbeRunsFirstAndItsFailureSkipsTheRegistryProbe) {
    std::string programFiles = ProgramFilesDir();
    ASSERT_FALSE(programFiles.empty());
    {
        SecurityWatch watch;
        ASSERT_TRUE(watch.Installed());
        WorldAccessSecurity security;
        EXPECT_EQ(SecurityWatch::askedNames, (std::vector<std::string>{programFiles, "MACHINE\\Software"}));
        EXPECT_FALSE(security.LacksAccess());
    }
    {
        SecurityWatch watch;
        SecurityWatch::forcedResults[programFiles] = ERROR_ACCESS_DENIED;
        WorldAccessSecurity security;
        EXPECT_EQ(SecurityWatch::askedNames, (std::vector<std::string>{programFiles}));
        EXPECT_TRUE(security.LacksAccess());
    }
    {
        SecurityWatch watch;
        SecurityWatch::forcedResults["MACHINE\\Software"] = ERROR_ACCESS_DENIED;
        WorldAccessSecurity security;
        EXPECT_EQ(SecurityWatch::askedNames.size(), 2u);
        EXPECT_TRUE(security.LacksAccess());
    }
}

TEST(WorldAccessSecurity, WithoutProgramFilesDirOnlyTheRegistryProbeDecides) {
    for (DWORD registryResult : {static_cast<DWORD>(ERROR_SUCCESS), static_cast<DWORD>(ERROR_ACCESS_DENIED),
                                 static_cast<DWORD>(ERROR_NO_SECURITY_ON_OBJECT)}) {
        SecurityWatch watch;
        ASSERT_TRUE(watch.Installed());
        SecurityWatch::hideProgramFilesDir = true;
        if (registryResult != ERROR_SUCCESS) SecurityWatch::forcedResults["MACHINE\\Software"] = registryResult;
        WorldAccessSecurity security;
        EXPECT_EQ(SecurityWatch::askedNames, (std::vector<std::string>{"MACHINE\\Software"}));
        EXPECT_EQ(security.LacksAccess(), registryResult == ERROR_ACCESS_DENIED) << registryResult;
        EXPECT_TRUE(security.Probed());
    }
}

}  // namespace
