#include "support/win/FakeBrowserLog.h"

#include <cstdlib>

namespace {

const char kLogVariable[] = "MIREL_FAKE_BROWSER_LOG";

std::string ReadWholeFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string text(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    if (!text.empty()) ReadFile(file, &text[0], static_cast<DWORD>(text.size()), &read, nullptr);
    CloseHandle(file);
    text.resize(read);
    return text;
}

// Complete records only: one still being written has no end line yet.
std::vector<LaunchRecord> ParseRecords(const std::string& log) {
    std::vector<LaunchRecord> records;
    LaunchRecord current;
    size_t start = 0;
    for (size_t end = log.find('\n'); end != std::string::npos; start = end + 1, end = log.find('\n', start)) {
        std::string line = log.substr(start, end - start);
        if (line.rfind("command: ", 0) == 0) current.command = line.substr(9);
        if (line.rfind("arg: ", 0) == 0) current.args.push_back(line.substr(5));
        if (line.rfind("parent: ", 0) == 0) {
            current.parentId = strtoul(line.c_str() + 8, nullptr, 10);
            current.parentProgram = line.substr(line.find(' ', 8) + 1);
        }
        if (line == "end") {
            records.push_back(current);
            current = LaunchRecord();
        }
    }
    return records;
}

}  // namespace

std::string ProgramDirectory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory = path;
    return directory.substr(0, directory.rfind('\\'));
}

FakeBrowserLog::FakeBrowserLog() : browserPath(ProgramDirectory() + "\\mirel_fake_browser.exe") {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    logPath = std::string(temp) + "mirel-browser-" + std::to_string(GetCurrentProcessId()) + ".log";
    DeleteFileA(logPath.c_str());
    SetEnvironmentVariableA(kLogVariable, logPath.c_str());
}

FakeBrowserLog::~FakeBrowserLog() {
    SetEnvironmentVariableA(kLogVariable, nullptr);
    DeleteFileA(logPath.c_str());
}

bool FakeBrowserLog::BrowserExists() const {
    return GetFileAttributesA(browserPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<LaunchRecord> FakeBrowserLog::Records() const { return ParseRecords(ReadWholeFile(logPath)); }

std::vector<LaunchRecord> FakeBrowserLog::WaitForRecords(size_t count, DWORD timeoutMs) const {
    std::vector<LaunchRecord> records = Records();
    for (DWORD waited = 0; records.size() < count && waited < timeoutMs; waited += 50) {
        Sleep(50);
        records = Records();
    }
    return records;
}
