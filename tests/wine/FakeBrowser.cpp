// Stands in for a web browser in the launcher tests. It appends one record to
// its log: its raw command line, each argument as the C runtime split it, its
// parent process, and an end line, then exits at once. The log is named by the
// environment variable MIREL_FAKE_BROWSER_LOG, or, for a start by the desktop
// shell (whose environment is not the test's), by a first argument
// "--log=PATH", which is not recorded as an argument.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace {

const char kLogOption[] = "--log=";

// The process id and program file of the process that started this one.
std::string ParentProcess() {
    std::map<DWORD, std::pair<DWORD, std::string>> processes;  // id: parent id, program
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        processes[entry.th32ProcessID] = {entry.th32ParentProcessID, entry.szExeFile};
    CloseHandle(snapshot);
    DWORD parent = processes[GetCurrentProcessId()].first;
    return std::to_string(parent) + " " + processes[parent].second;
}

}  // namespace

int main(int argc, char** argv) {
    const char* logPath = getenv("MIREL_FAKE_BROWSER_LOG");
    int first = 1;
    if (argc > 1 && strncmp(argv[1], kLogOption, sizeof(kLogOption) - 1) == 0) {
        logPath = argv[1] + sizeof(kLogOption) - 1;
        first = 2;
    }
    if (!logPath || !*logPath) return 2;
    std::string record = std::string("command: ") + GetCommandLineA() + "\n";
    for (int i = first; i < argc; ++i) record += std::string("arg: ") + argv[i] + "\n";
    record += "parent: " + ParentProcess() + "\nend\n";
    FILE* log = fopen(logPath, "ab");
    if (!log) return 3;
    fwrite(record.data(), 1, record.size(), log);
    fclose(log);
    return 0;
}
