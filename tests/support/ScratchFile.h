// A file with given bytes in the temporary directory, removed on destruction.
// Works natively and under Wine (plain C stdio).
#pragma once
#include <string>

class ScratchFile {
public:
    explicit ScratchFile(const std::string& bytes);
    ~ScratchFile();

    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& Path() const { return path; }

private:
    std::string path;
};

// An existing directory (the temporary directory, without a trailing separator).
std::string ScratchDirectory();
