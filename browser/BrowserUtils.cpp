#include "browser/BrowserUtils.h"

#include <shellapi.h>

#include "browser/BrowserCommandLine.h"
#include "browser/RegistryReader.h"
#include "util/FileUtils.h"
#include "util/StringList.h"

namespace {

const char kShellUrlKey[] = "InternetShortcut\\shell\\open\\command";
const char kAppPathsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const char kMisuseWarning[] =
    "WARNING: BrowserUtils::LaunchURL(): Must use NewBrowser when BrowserType != BT_DEFAULT";

CMsString DefaultBrowserCommand() {
    CMsString className;
    if (RegReadString(HKEY_CLASSES_ROOT, ".htm", nullptr, className, nullptr) == 0) className = "http";
    CMsString command;
    RegReadString(HKEY_CLASSES_ROOT, FormatString("%s\\shell\\open\\command", static_cast<const char*>(className)),
                  nullptr, command, nullptr);
    return command;
}

// The executables of a named browser, in the order they are tried, and the
// arguments that follow the one found.
const char* NamedBrowserTemplate(int browserType, StringList& executables) {
    switch (browserType) {
    case BT_IE:
        executables.Add("iexplore.exe");
        return "\"%1\"";
    case BT_NETSCAPE:
        executables.Add("netscp.exe");
        executables.Add("netscp6.exe");
        executables.Add("netscape.exe");
        return "-url \"%1\"";
    case BT_AOL:
        executables.Add("aol.exe");
        return "%1";
    default:
        return "";
    }
}

CMsString NamedBrowserCommand(int browserType) {
    StringList executables;
    CMsString arguments = NamedBrowserTemplate(browserType, executables);
    CMsString command;
    for (int i = 0; i < executables.count && command.IsEmpty(); ++i) {
        CMsString keyPath = kAppPathsKey;
        AddBackslash(keyPath);
        keyPath += executables.GetAt(i);
        RegReadString(HKEY_LOCAL_MACHINE, keyPath, nullptr, command, nullptr);
    }
    // App Paths hold a bare program path, often under "Program Files".
    command = QuotedProgramPath(command);
    if (!command.IsEmpty() && !arguments.IsEmpty()) {
        command += " ";
        command += arguments;
    }
    return command;
}

// Hands the URL to the shell; -1 when the shell has no handler for URLs.
int OpenWithShell(const char* url) {
    if (!RegKeyExists(HKEY_CLASSES_ROOT, kShellUrlKey)) return -1;
    HINSTANCE result = ShellExecuteA(nullptr, "open", url, nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32 ? 1 : 0;
}

int StartProcess(CMsString commandLine) {
    char* writable = commandLine.GetBuffer(commandLine.GetLength());
    if (!writable) return 0;
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof(process));
    if (!CreateProcessA(nullptr, writable, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return 0;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return 1;
}

}  // namespace

namespace BrowserUtils {

int LaunchURL(const char* url, int newBrowser, int browserType) {
    if (!url || !*url) return 0;
    if (!IsPlainAddress(url)) return 0;
    if (!newBrowser && browserType != BT_DEFAULT) OutputDebugStringA(kMisuseWarning);
    if (!newBrowser && browserType == BT_DEFAULT) {
        int opened = OpenWithShell(url);
        if (opened >= 0) return opened;
    }
    CMsString command = FindBrowserCommand(browserType);
    if (command.IsEmpty()) return 0;
    CMsString commandLine = BuildBrowserCommandLine(command, url);
    if (commandLine.IsEmpty()) return 0;
    return StartProcess(commandLine);
}

CMsString FindBrowserCommand(int browserType) {
    if (browserType == BT_DEFAULT) return DefaultBrowserCommand();
    return NamedBrowserCommand(browserType);
}

}  // namespace BrowserUtils
