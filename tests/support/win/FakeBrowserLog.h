// The stand-in browser of the tests (mirel_fake_browser.exe, built next to
// every test program) and the log in which it records each start. While a
// FakeBrowserLog lives, programs that this process starts write to its own
// fresh log file (through the environment variable MIREL_FAKE_BROWSER_LOG).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// One start of the fake browser: its command line, the arguments the C
// runtime split it into, and the process that started it.
struct LaunchRecord {
    std::string command;
    std::vector<std::string> args;
    DWORD parentId = 0;
    std::string parentProgram;  // its file name, such as "explorer.exe"
};

class FakeBrowserLog {
public:
    FakeBrowserLog();
    ~FakeBrowserLog();
    FakeBrowserLog(const FakeBrowserLog&) = delete;
    FakeBrowserLog& operator=(const FakeBrowserLog&) = delete;

    // The program's full path, and the same between double quotes.
    const std::string& BrowserPath() const { return browserPath; }
    std::string QuotedBrowserPath() const { return "\"" + browserPath + "\""; }
    // The first argument that names this log: a browser started by the
    // desktop shell does not have the test's environment.
    std::string LogArgument() const { return "\"--log=" + logPath + "\""; }
    bool BrowserExists() const;

    std::vector<LaunchRecord> Records() const;
    // Waits until at least count records are there or the time-out passed.
    std::vector<LaunchRecord> WaitForRecords(size_t count, DWORD timeoutMs = 10000) const;

private:
    std::string browserPath;
    std::string logPath;
};

// The directory of the running test program, without a trailing backslash.
std::string ProgramDirectory();
