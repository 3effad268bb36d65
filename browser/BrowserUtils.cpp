#include "browser/BrowserUtils.h"

#include <shellapi.h>

#include "browser/BrowserCommandLine.h"
#include "browser/CommandProgram.h"
#include "browser/ElevatedToken.h"
#include "browser/RegistryReader.h"
#include "browser/ShellHandOff.h"
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

// The command's program started by the desktop shell with the command's
// arguments, the URL filled in as for a start of our own.
LaunchResult HandToDesktopShell(const CMsString& command, const char* url) {
    CommandParts parts;
    if (!FindCommandProgram(command, parts)) return LAUNCH_SHELL_REFUSED;
    CMsString program = command.Mid(parts.programStart, parts.programLength);
    CMsString arguments = BuildBrowserCommandLine(static_cast<const char*>(command) + parts.argumentsStart, url);
    if (program.GetLength() != parts.programLength || arguments.IsEmpty())
        return LAUNCH_SHELL_REFUSED;
    return StartThroughDesktopShell(program, arguments) ? LAUNCH_STARTED : LAUNCH_SHELL_REFUSED;
}

}  // namespace

namespace BrowserUtils {

LaunchResult Launch(const char* url, int newBrowser, int browserType) {
    if (!url || !*url) return LAUNCH_FAILED;
    if (!IsPlainAddress(url)) return LAUNCH_FAILED;
    if (!newBrowser && browserType != BT_DEFAULT) OutputDebugStringA(kMisuseWarning);
    bool elevated = IsProcessElevated();
    // The shell's own handling of the URL would start the browser from this
    // process, with its token.
    if (!newBrowser && browserType == BT_DEFAULT && !elevated) {
        int opened = OpenWithShell(url);
        if (opened >= 0) return opened ? LAUNCH_STARTED : LAUNCH_FAILED;
    }
    CMsString command = FindBrowserCommand(browserType);
    if (command.IsEmpty()) return LAUNCH_FAILED;
    if (elevated) return HandToDesktopShell(command, url);
    CMsString commandLine = BuildBrowserCommandLine(command, url);
    if (commandLine.IsEmpty()) return LAUNCH_FAILED;
    return StartProcess(commandLine) ? LAUNCH_STARTED : LAUNCH_FAILED;
}

int LaunchURL(const char* url, int newBrowser, int browserType) {
    return Launch(url, newBrowser, browserType) == LAUNCH_STARTED ? 1 : 0;
}

CMsString FindBrowserCommand(int browserType) {
    if (browserType == BT_DEFAULT) return DefaultBrowserCommand();
    return NamedBrowserCommand(browserType);
}

}  // namespace BrowserUtils
