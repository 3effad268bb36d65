#include "support/ScratchFile.h"

#include <cstdio>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {
int ProcessId() {
#ifdef _WIN32
    return static_cast<int>(GetCurrentProcessId());
#else
    return static_cast<int>(getpid());
#endif
}

std::string NextScratchPath() {
    static int counter = 0;
    char name[64];
    snprintf(name, sizeof name, "mirel_scratch_%d_%d.txt", ProcessId(), ++counter);
#ifdef _WIN32
    return ScratchDirectory() + "\\" + name;
#else
    return ScratchDirectory() + "/" + name;
#endif
}
}  // namespace

std::string ScratchDirectory() {
#ifdef _WIN32
    char buffer[MAX_PATH + 1];
    DWORD length = GetTempPathA(MAX_PATH, buffer);
    if (length == 0 || length > MAX_PATH) throw std::runtime_error("no temporary directory");
    std::string directory(buffer, length);
    while (directory.size() > 3 && directory.back() == '\\') directory.pop_back();
    return directory;
#else
    return "/tmp";
#endif
}

ScratchFile::ScratchFile(const std::string& bytes) : path(NextScratchPath()) {
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) throw std::runtime_error("cannot create " + path);
    size_t written = fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
    if (written != bytes.size()) throw std::runtime_error("cannot write " + path);
}

ScratchFile::~ScratchFile() { remove(path.c_str()); }
