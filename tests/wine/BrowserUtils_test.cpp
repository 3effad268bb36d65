// The launcher against a real registry and a real process: the tests register
// the fake browser, which records its command line, and undo every registry
// change afterwards. Under Wine every process holds a full elevated token:
// the tests of a browser started by the library itself make the library read
// no elevation from it.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "browser/BrowserUtils.h"
#include "support/win/ElevationAnswer.h"
#include "support/win/FakeBrowserLog.h"
#include "support/win/ImportHook.h"
#include "support/win/RegistrySandbox.h"

namespace {

const char kAppPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
const char kShellUrlKey[] = "InternetShortcut\\shell\\open\\command";
const char kHtmlClass[] = "MirelTest.Html";
const char kHtmlCommandKey[] = "MirelTest.Html\\shell\\open\\command";
const char kMisuseWarning[] =
    "WARNING: BrowserUtils::LaunchURL(): Must use NewBrowser when BrowserType != BT_DEFAULT";

// Watches, while it lives, the library's registry opens, process starts,
// shell calls and debug output. Registry paths listed in hiddenKeys fail to
// open, as on a system that lacks them.
class SystemCallWatch {
public:
    SystemCallWatch()
        : regOpen("advapi32.dll", "RegOpenKeyExA", reinterpret_cast<void*>(&OpenKey)),
          regClose("advapi32.dll", "RegCloseKey", reinterpret_cast<void*>(&CloseKey)),
          createProcess("kernel32.dll", "CreateProcessA", reinterpret_cast<void*>(&StartProcess)),
          shellExecute("shell32.dll", "ShellExecuteA", reinterpret_cast<void*>(&Shell)),
          debugOutput("kernel32.dll", "OutputDebugStringA", reinterpret_cast<void*>(&Debug)) {
        active = this;
        openedKeys.clear();
        hiddenKeys.clear();
        debugLines.clear();
        openKeys = processStarts = shellCalls = 0;
    }
    ~SystemCallWatch() { active = nullptr; }

    bool Installed() const {
        return regOpen.Installed() && regClose.Installed() && createProcess.Installed() &&
               shellExecute.Installed() && debugOutput.Installed();
    }

    static std::vector<std::string> openedKeys;
    static std::vector<std::string> hiddenKeys;
    static std::vector<std::string> debugLines;
    static int openKeys;
    static int processStarts;
    static int shellCalls;

private:
    static LONG WINAPI OpenKey(HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY key) {
        std::string name = path ? path : "";
        openedKeys.push_back(name);
        for (const std::string& hidden : hiddenKeys)
            if (lstrcmpiA(hidden.c_str(), name.c_str()) == 0) return ERROR_FILE_NOT_FOUND;
        LONG result = active->regOpen.Original<decltype(&RegOpenKeyExA)>()(root, path, options, access, key);
        if (result == ERROR_SUCCESS) ++openKeys;
        return result;
    }
    static LONG WINAPI CloseKey(HKEY key) {
        --openKeys;
        return active->regClose.Original<decltype(&RegCloseKey)>()(key);
    }
    static BOOL WINAPI StartProcess(LPCSTR application, LPSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                                   LPSECURITY_ATTRIBUTES threadAttributes, BOOL inherit, DWORD flags,
                                   LPVOID environment, LPCSTR directory, LPSTARTUPINFOA startup,
                                   LPPROCESS_INFORMATION info) {
        ++processStarts;
        return active->createProcess.Original<decltype(&CreateProcessA)>()(
            application, commandLine, processAttributes, threadAttributes, inherit, flags, environment,
            directory, startup, info);
    }
    static HINSTANCE WINAPI Shell(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                  INT show) {
        ++shellCalls;
        return active->shellExecute.Original<decltype(&ShellExecuteA)>()(owner, verb, file, parameters,
                                                                           directory, show);
    }
    static void WINAPI Debug(LPCSTR text) { debugLines.push_back(text ? text : ""); }

    static SystemCallWatch* active;
    ImportHook regOpen;
    ImportHook regClose;
    ImportHook createProcess;
    ImportHook shellExecute;
    ImportHook debugOutput;
};

SystemCallWatch* SystemCallWatch::active = nullptr;
std::vector<std::string> SystemCallWatch::openedKeys;
std::vector<std::string> SystemCallWatch::hiddenKeys;
std::vector<std::string> SystemCallWatch::debugLines;
int SystemCallWatch::openKeys = 0;
int SystemCallWatch::processStarts = 0;
int SystemCallWatch::shellCalls = 0;

class BrowserLaunch : public ::testing::Test {
protected:
    BrowserLaunch() : unelevated(ElevationAnswer::kQueryFails) {}
    void SetUp() override {
        ASSERT_TRUE(unelevated.Installed());
        fakeBrowser = browser.BrowserPath();
        ASSERT_TRUE(browser.BrowserExists()) << fakeBrowser;
    }

    std::string Quoted(const std::string& path) const { return "\"" + path + "\""; }

    void RegisterHtmlCommand(const std::string& command, DWORD type = REG_SZ) {
        ASSERT_TRUE(registry.SetString(HKEY_CLASSES_ROOT, ".htm", nullptr, kHtmlClass));
        ASSERT_TRUE(registry.SetString(HKEY_CLASSES_ROOT, kHtmlCommandKey, nullptr, command.c_str(), type));
    }
    void RegisterAppPath(const char* executable, const std::string& path) {
        std::string key = std::string(kAppPaths) + executable;
        ASSERT_TRUE(registry.SetString(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, path.c_str()));
    }
    void RemoveAppPath(const char* executable) {
        std::string key = std::string(kAppPaths) + executable;
        ASSERT_TRUE(registry.RemoveValue(HKEY_LOCAL_MACHINE, key.c_str(), nullptr));
    }
    void EnsureShellHandlesUrls() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kShellUrlKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            RegCloseKey(key);
            return;
        }
        ASSERT_TRUE(registry.SetString(HKEY_CLASSES_ROOT, kShellUrlKey, nullptr, "unused"));
    }
    // A URL scheme whose handler is the fake browser, marked so that its launches can be told apart.
    void RegisterScheme(const char* scheme, const char* marker) {
        ASSERT_TRUE(registry.SetString(HKEY_CLASSES_ROOT, scheme, "URL Protocol", ""));
        std::string command = Quoted(fakeBrowser) + " " + marker + " \"%1\"";
        std::string key = std::string(scheme) + "\\shell\\open\\command";
        ASSERT_TRUE(registry.SetString(HKEY_CLASSES_ROOT, key.c_str(), nullptr, command.c_str()));
    }

    std::vector<LaunchRecord> WaitForRecords(size_t count) { return browser.WaitForRecords(count); }

    ElevationAnswer unelevated;
    RegistrySandbox registry;
    FakeBrowserLog browser;
    std::string fakeBrowser;
};

TEST_F(BrowserLaunch, DefaultCommandIsTheOneRegisteredForHtmlDocuments) {
    std::string command = Quoted(fakeBrowser) + " --html \"%1\"";
    RegisterHtmlCommand(command);
    EXPECT_STREQ(BrowserUtils::FindBrowserCommand(BT_DEFAULT), command.c_str());

    ASSERT_EQ(BrowserUtils::LaunchURL("http://example.com/page", 1, BT_DEFAULT), 1);
    std::vector<LaunchRecord> records = WaitForRecords(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].command, Quoted(fakeBrowser) + " --html \"http://example.com/page\"");
    EXPECT_EQ(records[0].args, (std::vector<std::string>{"--html", "http://example.com/page"}));
}

TEST_F(BrowserLaunch, CommandWithoutPlaceholderGetsTheUrlAppended) {
    RegisterHtmlCommand(Quoted(fakeBrowser) + " -nohome");
    ASSERT_EQ(BrowserUtils::LaunchURL("http://example.com/", 1, BT_DEFAULT), 1);
    std::vector<LaunchRecord> records = WaitForRecords(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].command, Quoted(fakeBrowser) + " -nohome http://example.com/");
    EXPECT_EQ(records[0].args, (std::vector<std::string>{"-nohome", "http://example.com/"}));
}

TEST_F(BrowserLaunch, EveryPlaceholderReceivesTheUrl) {
    RegisterHtmlCommand(Quoted(fakeBrowser) + " \"%1\" --again %1");
    ASSERT_EQ(BrowserUtils::LaunchURL("http://example.com/x", 1, BT_DEFAULT), 1);
    std::vector<LaunchRecord> records = WaitForRecords(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].args,
              (std::vector<std::string>{"http://example.com/x", "--again", "http://example.com/x"}));
}

TEST_F(BrowserLaunch, ExpandableCommandIsExpandedBeforeUse) {
    SetEnvironmentVariableA("MIREL_FAKE_DIR", ProgramDirectory().c_str());
    RegisterHtmlCommand("\"%MIREL_FAKE_DIR%\\mirel_fake_browser.exe\" --expanded \"%1\"", REG_EXPAND_SZ);
    EXPECT_STREQ(BrowserUtils::FindBrowserCommand(BT_DEFAULT),
                 (Quoted(fakeBrowser) + " --expanded \"%1\"").c_str());
    ASSERT_EQ(BrowserUtils::LaunchURL("http://example.com/e", 1, BT_DEFAULT), 1);
    SetEnvironmentVariableA("MIREL_FAKE_DIR", nullptr);
    std::vector<LaunchRecord> records = WaitForRecords(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].args, (std::vector<std::string>{"--expanded", "http://example.com/e"}));
}

TEST_F(BrowserLaunch, UnregisteredHtmFallsBackToTheHttpClass) {
    ASSERT_TRUE(registry.RemoveValue(HKEY_CLASSES_ROOT, ".htm", nullptr));
    std::string httpCommand = Quoted(fakeBrowser) + " --http \"%1\"";
    ASSERT_TRUE(registry.SetString(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", nullptr, httpCommand.c_str()));
    EXPECT_STREQ(BrowserUtils::FindBrowserCommand(BT_DEFAULT), httpCommand.c_str());
    ASSERT_EQ(BrowserUtils::LaunchURL("http://example.com/h", 1, BT_DEFAULT), 1);
    std::vector<LaunchRecord> records = WaitForRecords(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].args, (std::vector<std::string>{"--http", "http://example.com/h"}));
}

TEST_F(BrowserLaunch, RegisteredClassWithoutCommandFindsNothing) {
    ASSERT_TRUE(registry.SetString(HKEY_CLASSES_ROOT, ".htm", nullptr, "MirelTest.NoCommand"));
    ASSERT_TRUE(registry.SetString(HKEY_CLASSES_ROOT, "MirelTest.NoCommand", nullptr, "no command here"));
    EXPECT_TRUE(BrowserUtils::FindBrowserCommand(BT_DEFAULT).IsEmpty());
    SystemCallWatch watch;
    ASSERT_TRUE(watch.Installed());
    EXPECT_EQ(BrowserUtils::LaunchURL("http://example.com/", 1, BT_DEFAULT), 0);
    EXPECT_EQ(SystemCallWatch::processStarts, 0);
}

TEST_F(BrowserLaunch, NetscapeNamesAreTriedInOrder) {
    RemoveAppPath("netscp.exe");
    RemoveAppPath("netscp6.exe");
    RegisterAppPath("netscape.exe", "C:\\Nets\\netscape.exe");
    {
        SystemCallWatch watch;
        ASSERT_TRUE(watch.Installed());
        EXPECT_STREQ(BrowserUtils::FindBrowserCommand(BT_NETSCAPE), "C:\\Nets\\netscape.exe -url \"%1\"");
        EXPECT_EQ(SystemCallWatch::openedKeys,
                  (std::vector<std::string>{std::string(kAppPaths) + "netscp.exe",
                                            std::string(kAppPaths) + "netscp6.exe",
                                            std::string(kAppPaths) + "netscape.exe"}));
        EXPECT_EQ(SystemCallWatch::openKeys, 0) << "a key was left open";
    }
    RegisterAppPath("netscp6.exe", "C:\\Nets\\netscp6.exe");
    EXPECT_STREQ(BrowserUtils::FindBrowserCommand(BT_NETSCAPE), "C:\\Nets\\netscp6.exe -url \"%1\"");
    RegisterAppPath("netscp.exe", "C:\\Nets\\netscp.exe");
    {
        SystemCallWatch watch;
        EXPECT_STREQ(BrowserUtils::FindBrowserCommand(BT_NETSCAPE), "C:\\Nets\\netscp.exe -url \"%1\"");
        EXPECT_EQ(SystemCallWatch::openedKeys.size(), 1u) << "the search goes on after a find";
    }
}

TEST_F(BrowserLaunch, NamedBrowsersGetTheirArgumentTemplates) {
    RegisterAppPath("iexplore.exe", fakeBrowser);
    RegisterAppPath("aol.exe", fakeBrowser);
    RegisterAppPath("netscape.exe", fakeBrowser);
    RemoveAppPath("netscp.exe");
    RemoveAppPath("netscp6.exe");
    ASSERT_EQ(BrowserUtils::LaunchURL("http://example.com/ie", 1, BT_IE), 1);
    ASSERT_EQ(WaitForRecords(1).size(), 1u);
    ASSERT_EQ(BrowserUtils::LaunchURL("http://example.com/aol", 1, BT_AOL), 1);
    ASSERT_EQ(WaitForRecords(2).size(), 2u);
    ASSERT_EQ(BrowserUtils::LaunchURL("http://example.com/ns", 1, BT_NETSCAPE), 1);
    std::vector<LaunchRecord> records = WaitForRecords(3);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].command, fakeBrowser + " \"http://example.com/ie\"");
    EXPECT_EQ(records[1].command, fakeBrowser + " http://example.com/aol");
    EXPECT_EQ(records[2].command, fakeBrowser + " -url \"http://example.com/ns\"");
    EXPECT_EQ(records[2].args, (std::vector<std::string>{"-url", "http://example.com/ns"}));
}

// A copy of the fake browser in a directory whose name has blanks, removed
// again afterwards.
class BrowserCopyWithBlanks {
public:
    explicit BrowserCopyWithBlanks(const std::string& original) {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        directory = std::string(temp) + "Mirel Test " + std::to_string(GetCurrentProcessId());
        path = directory + "\\fake browser.exe";
        CreateDirectoryA(directory.c_str(), nullptr);
        copied = CopyFileA(original.c_str(), path.c_str(), FALSE) != FALSE;
    }
    ~BrowserCopyWithBlanks() {
        // The copy may still be running for a moment.
        for (int attempt = 0; attempt < 50 && !DeleteFileA(path.c_str()); ++attempt) Sleep(100);
        RemoveDirectoryA(directory.c_str());
    }
    std::string directory;
    std::string path;
    bool copied;
};

TEST_F(BrowserLaunch, AppPathWithBlanksIsQuotedBeforeTheStart) {
    BrowserCopyWithBlanks copy(fakeBrowser);
    ASSERT_TRUE(copy.copied) << copy.path;
    RegisterAppPath("iexplore.exe", copy.path);
    EXPECT_STREQ(BrowserUtils::FindBrowserCommand(BT_IE), (Quoted(copy.path) + " \"%1\"").c_str());
    ASSERT_EQ(BrowserUtils::LaunchURL("http://example.com/blanks", 1, BT_IE), 1);
    std::vector<LaunchRecord> records = WaitForRecords(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].command, Quoted(copy.path) + " \"http://example.com/blanks\"");
    EXPECT_EQ(records[0].args, (std::vector<std::string>{"http://example.com/blanks"}));
}

TEST_F(BrowserLaunch, OnlyPlainAddressesAreOpenedOnEitherPath) {
    // An unquoted placeholder, as some registrations have it.
    RegisterHtmlCommand(Quoted(fakeBrowser) + " %1");
    EnsureShellHandlesUrls();
    const char* refused[] = {"-k http://e.test/", "--renderer-cmd-prefix=calc.exe", "/c calc.exe",
                             " \t-k", "javascript:alert(1)", "JavaScript:alert(1)", "VBScript:msgbox(1)"};
    for (int newBrowser : {0, 1}) {
        for (const char* url : refused) {
            SystemCallWatch watch;
            ASSERT_TRUE(watch.Installed());
            EXPECT_EQ(BrowserUtils::LaunchURL(url, newBrowser, BT_DEFAULT), 0) << url << " " << newBrowser;
            EXPECT_EQ(SystemCallWatch::processStarts, 0) << url << " " << newBrowser;
            EXPECT_EQ(SystemCallWatch::shellCalls, 0) << url << " " << newBrowser;
        }
    }
    const char url[] = "https://example.test/path?q=1";
    ASSERT_EQ(BrowserUtils::LaunchURL(url, 1, BT_DEFAULT), 1);
    std::vector<LaunchRecord> records = WaitForRecords(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].command, Quoted(fakeBrowser) + " " + url);
    EXPECT_EQ(records[0].args, (std::vector<std::string>{url}));
}

TEST_F(BrowserLaunch, UnknownBrowserTypesStartNothing) {
    RegisterHtmlCommand(Quoted(fakeBrowser) + " \"%1\"");
    RegisterAppPath("iexplore.exe", fakeBrowser);
    for (int type : {0, 5, -1, 0x7FFFFFFF}) {
        SystemCallWatch watch;
        ASSERT_TRUE(watch.Installed());
        EXPECT_TRUE(BrowserUtils::FindBrowserCommand(type).IsEmpty()) << type;
        EXPECT_EQ(BrowserUtils::LaunchURL("http://example.com/", 1, type), 0) << type;
        EXPECT_EQ(SystemCallWatch::processStarts, 0) << type;
        EXPECT_EQ(SystemCallWatch::shellCalls, 0) << type;
    }
}

TEST_F(BrowserLaunch, EmptyUrlReadsNoRegistryAndStartsNothing) {
    RegisterHtmlCommand(Quoted(fakeBrowser) + " \"%1\"");
    EnsureShellHandlesUrls();
    SystemCallWatch watch;
    ASSERT_TRUE(watch.Installed());
    for (int newBrowser : {0, 1}) {
        EXPECT_EQ(BrowserUtils::LaunchURL("", newBrowser, BT_DEFAULT), 0);
        EXPECT_EQ(BrowserUtils::LaunchURL(nullptr, newBrowser, BT_DEFAULT), 0);
        EXPECT_EQ(BrowserUtils::LaunchURL("", newBrowser, BT_NETSCAPE), 0);
    }
    EXPECT_TRUE(SystemCallWatch::openedKeys.empty());
    EXPECT_EQ(SystemCallWatch::processStarts, 0);
    EXPECT_EQ(SystemCallWatch::shellCalls, 0);
    EXPECT_TRUE(SystemCallWatch::debugLines.empty());
}

TEST_F(BrowserLaunch, DefaultBrowserWithoutNewProcessGoesThroughTheShell) {
    EnsureShellHandlesUrls();
    RegisterScheme("mireltest", "--via-shell");
    RegisterHtmlCommand(Quoted(fakeBrowser) + " --via-html \"%1\"");
    SystemCallWatch watch;
    ASSERT_TRUE(watch.Installed());
    ASSERT_EQ(BrowserUtils::LaunchURL("mireltest://shell/page", 0, BT_DEFAULT), 1);
    EXPECT_EQ(SystemCallWatch::shellCalls, 1);
    EXPECT_EQ(SystemCallWatch::processStarts, 0);
    EXPECT_TRUE(SystemCallWatch::debugLines.empty());
    std::vector<LaunchRecord> records = WaitForRecords(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].args, (std::vector<std::string>{"--via-shell", "mireltest://shell/page"}));
}

TEST_F(BrowserLaunch, ShellRefusalIsAFailureWithoutFallback) {
    EnsureShellHandlesUrls();
    RegisterHtmlCommand(Quoted(fakeBrowser) + " --via-html \"%1\"");
    SystemCallWatch watch;
    ASSERT_TRUE(watch.Installed());
    EXPECT_EQ(BrowserUtils::LaunchURL("mirelnosuchscheme://x", 0, BT_DEFAULT), 0);
    EXPECT_EQ(SystemCallWatch::shellCalls, 1);
    EXPECT_EQ(SystemCallWatch::processStarts, 0);
}

TEST_F(BrowserLaunch, WithoutShellUrlHandlerTheRegisteredCommandIsUsed) {
    RegisterHtmlCommand(Quoted(fakeBrowser) + " --via-html \"%1\"");
    SystemCallWatch watch;
    ASSERT_TRUE(watch.Installed());
    SystemCallWatch::hiddenKeys.push_back(kShellUrlKey);
    ASSERT_EQ(BrowserUtils::LaunchURL("http://example.com/noshell", 0, BT_DEFAULT), 1);
    EXPECT_EQ(SystemCallWatch::shellCalls, 0);
    EXPECT_EQ(SystemCallWatch::processStarts, 1);
    ASSERT_FALSE(SystemCallWatch::openedKeys.empty());
    EXPECT_EQ(SystemCallWatch::openedKeys[0], kShellUrlKey);
    std::vector<LaunchRecord> records = WaitForRecords(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].args, (std::vector<std::string>{"--via-html", "http://example.com/noshell"}));
}

TEST_F(BrowserLaunch, NamedBrowserWithoutNewProcessWarnsAndStillSearchesAppPaths) {
    EnsureShellHandlesUrls();
    RemoveAppPath("netscp.exe");
    RemoveAppPath("netscp6.exe");
    RegisterAppPath("netscape.exe", fakeBrowser);
    SystemCallWatch watch;
    ASSERT_TRUE(watch.Installed());
    ASSERT_EQ(BrowserUtils::LaunchURL("http://example.com/warn", 0, BT_NETSCAPE), 1);
    EXPECT_EQ(SystemCallWatch::debugLines, (std::vector<std::string>{kMisuseWarning}));
    EXPECT_EQ(SystemCallWatch::shellCalls, 0);
    EXPECT_EQ(SystemCallWatch::processStarts, 1);
    std::vector<LaunchRecord> records = WaitForRecords(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].args, (std::vector<std::string>{"-url", "http://example.com/warn"}));

    SystemCallWatch::debugLines.clear();
    ASSERT_EQ(BrowserUtils::LaunchURL("http://example.com/nowarn", 1, BT_NETSCAPE), 1);
    EXPECT_TRUE(SystemCallWatch::debugLines.empty());
    EXPECT_EQ(WaitForRecords(2).size(), 2u);
}

TEST_F(BrowserLaunch, MissingBrowserProgramIsAFailure) {
    RegisterHtmlCommand("\"C:\\no\\such\\browser.exe\" \"%1\"");
    EXPECT_EQ(BrowserUtils::LaunchURL("http://example.com/", 1, BT_DEFAULT), 0);
}

TEST_F(BrowserLaunch, HostileUrlReachesTheBrowserAsOneArgument) {
    const char* url = "http://example.com/a b\t\"c\" --evil \"d";
    const char* encoded = "http://example.com/a%20b%09%22c%22%20--evil%20%22d";
    const std::string commands[] = {Quoted(fakeBrowser) + " \"%1\"", Quoted(fakeBrowser) + " %1",
                                     Quoted(fakeBrowser) + " --first \"%1\" --last"};
    size_t expected = 0;
    for (const std::string& command : commands) {
        RegisterHtmlCommand(command);
        ASSERT_EQ(BrowserUtils::LaunchURL(url, 1, BT_DEFAULT), 1) << command;
        std::vector<LaunchRecord> records = WaitForRecords(++expected);
        ASSERT_EQ(records.size(), expected) << command;
        std::vector<std::string> args = records.back().args;
        std::vector<std::string> wanted = {encoded};
        if (command.find("--first") != std::string::npos) wanted = {"--first", encoded, "--last"};
        EXPECT_EQ(args, wanted) << records.back().command;
    }
}

// A full elevated token has the desktop shell start the browser, with the
// same arguments, and never hands the URL to the shell on its own; without
// one (UAC turned off) the browser starts from this process.
TEST_F(BrowserLaunch, OnlyAFullTokenHasTheDesktopShellStartTheBrowser) {
    EnsureShellHandlesUrls();
    RegisterHtmlCommand(Quoted(fakeBrowser) + " " + browser.LogArgument() + " \"%1\"");
    const struct {
        int token;
        int newBrowser;
        bool byShell;
    } cases[] = {{TokenElevationTypeDefault, 1, false}, {TokenElevationTypeFull, 0, true}};
    for (const auto& c : cases) {
        ElevationAnswer token(c.token);
        SystemCallWatch watch;
        EXPECT_EQ(BrowserUtils::LaunchURL("http://example.test/a b", c.newBrowser, BT_DEFAULT), 1) << c.token;
        EXPECT_EQ(SystemCallWatch::processStarts + SystemCallWatch::shellCalls, c.byShell ? 0 : 1) << c.token;
        std::vector<LaunchRecord> records = WaitForRecords(&c - cases + 1);
        ASSERT_EQ(records.size(), static_cast<size_t>(&c - cases + 1)) << c.token;
        EXPECT_EQ(records.back().args, (std::vector<std::string>{"http://example.test/a%20b"})) << c.token;
        EXPECT_EQ(records.back().parentProgram == "explorer.exe", c.byShell) << c.token;
    }
}

template <typename Info>
Info ProcessTokenInformation(TOKEN_INFORMATION_CLASS type) {
    Info info{};
    HANDLE token = nullptr;
    DWORD size = 0;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        GetTokenInformation(token, type, &info, sizeof(info), &size);
        CloseHandle(token);
    }
    return info;
}

// This program once more, with the limited token that elevation split off:
// that process starts the browser itself, as before the shell's hand-off.
TEST(LimitedToken, ChildStartsTheBrowserItself) {
    const char url[] = "http://example.test/limited";
    const char childVariable[] = "MIREL_LIMITED_CHILD";
    TOKEN_ELEVATION_TYPE elevation = ProcessTokenInformation<TOKEN_ELEVATION_TYPE>(TokenElevationType);
    if (GetEnvironmentVariableA(childVariable, nullptr, 0)) {
        ASSERT_EQ(elevation, TokenElevationTypeLimited);
        EXPECT_EQ(BrowserUtils::LaunchURL(url, 1, BT_DEFAULT), 1);
        return;
    }
    ASSERT_EQ(elevation, TokenElevationTypeFull);
    RegistrySandbox registry;
    FakeBrowserLog browser;
    ASSERT_TRUE(registry.SetString(HKEY_CLASSES_ROOT, ".htm", nullptr, kHtmlClass));
    ASSERT_TRUE(registry.SetString(HKEY_CLASSES_ROOT, kHtmlCommandKey, nullptr,
                                   (browser.QuotedBrowserPath() + " \"%1\"").c_str()));
    HANDLE linked = ProcessTokenInformation<TOKEN_LINKED_TOKEN>(TokenLinkedToken).LinkedToken;
    HANDLE token = nullptr;
    DuplicateTokenEx(linked, TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation, TokenPrimary, &token);
    CloseHandle(linked);
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string commandLine = std::string("\"") + program + "\" --gtest_filter=LimitedToken.*";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child = {};
    SetEnvironmentVariableA(childVariable, "1");
    ASSERT_TRUE(CreateProcessAsUserA(token, nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                     &startup, &child));
    SetEnvironmentVariableA(childVariable, nullptr);
    CloseHandle(token);
    // 32-bit Wine under an emulator takes about a minute to start a process.
    EXPECT_EQ(WaitForSingleObject(child.hProcess, 300000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(child.hProcess, &exitCode);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    EXPECT_EQ(exitCode, 0u);
    std::vector<LaunchRecord> records = browser.WaitForRecords(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].parentId, child.dwProcessId);
    EXPECT_EQ(records[0].args, (std::vector<std::string>{url}));
}

}  // namespace
