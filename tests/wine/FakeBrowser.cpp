// Stands in for a web browser in the launcher tests. It appends one record to
// the file named by the environment variable MIREL_FAKE_BROWSER_LOG: its raw
// command line, each argument as the C runtime split it, and an end line, then
// exits at once.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    const char* logPath = getenv("MIREL_FAKE_BROWSER_LOG");
    if (!logPath || !*logPath) return 2;
    std::string record = std::string("command: ") + GetCommandLineA() + "\n";
    for (int i = 1; i < argc; ++i) record += std::string("arg: ") + argv[i] + "\n";
    record += "end\n";
    FILE* log = fopen(logPath, "ab");
    if (!log) return 3;
    fwrite(record.data(), 1, record.size(), log);
    fclose(log);
    return 0;
}
