// Reads the export and import tables of a PE file (32- or 64-bit) from disk,
// with every offset checked against the file size.
#pragma once
#include <string>
#include <vector>

struct PeExport {
    std::string name;
    unsigned ordinal;
};

struct PeImage {
    bool is64 = false;
    std::vector<PeExport> exports;     // named exports with their ordinals
    std::vector<std::string> imports;  // names of the imported DLLs

    // False when the file cannot be read or is not a well-formed PE image.
    bool Load(const std::string& path);
};
