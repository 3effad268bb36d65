#include "support/win/PeImage.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {
class Reader {
public:
    explicit Reader(std::vector<unsigned char> bytes) : bytes(std::move(bytes)) {}

    bool Has(uint64_t offset, uint64_t size) const {
        return offset <= bytes.size() && size <= bytes.size() - offset;
    }
    uint32_t U16(uint64_t offset) const { return Has(offset, 2) ? Little(offset, 2) : 0; }
    uint32_t U32(uint64_t offset) const { return Has(offset, 4) ? Little(offset, 4) : 0; }
    std::string Text(uint64_t offset) const {
        std::string text;
        while (offset < bytes.size() && bytes[offset]) text += static_cast<char>(bytes[offset++]);
        return text;
    }

private:
    uint32_t Little(uint64_t offset, int size) const {
        uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[offset + i];
        return value;
    }

    std::vector<unsigned char> bytes;
};

struct Section {
    uint32_t virtualAddress, virtualSize, rawOffset, rawSize;
};

struct Layout {
    uint64_t dataDirectories = 0;
    std::vector<Section> sections;

    // File offset of a relative virtual address; 0 when no section holds it.
    uint64_t Offset(uint32_t rva) const {
        for (const Section& section : sections) {
            uint32_t span = section.virtualSize > section.rawSize ? section.virtualSize
                                                                  : section.rawSize;
            if (rva >= section.virtualAddress && rva - section.virtualAddress < span)
                return uint64_t(section.rawOffset) + (rva - section.virtualAddress);
        }
        return 0;
    }
};

bool ReadLayout(const Reader& file, bool& is64, Layout& layout) {
    if (file.U16(0) != 0x5A4D) return false;  // "MZ"
    uint64_t pe = file.U32(0x3C);
    if (file.U32(pe) != 0x00004550) return false;  // "PE\0\0"
    uint64_t header = pe + 4;
    unsigned sectionCount = file.U16(header + 2);
    unsigned optionalSize = file.U16(header + 16);
    uint64_t optional = header + 20;
    uint32_t magic = file.U16(optional);
    if (magic != 0x10B && magic != 0x20B) return false;
    is64 = magic == 0x20B;
    layout.dataDirectories = optional + (is64 ? 112 : 96);
    uint64_t table = optional + optionalSize;
    if (!file.Has(table, uint64_t(sectionCount) * 40)) return false;
    for (unsigned i = 0; i < sectionCount; ++i) {
        uint64_t entry = table + uint64_t(i) * 40;
        layout.sections.push_back(
            {file.U32(entry + 12), file.U32(entry + 8), file.U32(entry + 20), file.U32(entry + 16)});
    }
    return true;
}

uint32_t DirectoryRva(const Reader& file, const Layout& layout, int index) {
    return file.U32(layout.dataDirectories + uint64_t(index) * 8);
}

bool ReadExports(const Reader& file, const Layout& layout, std::vector<PeExport>& exports) {
    uint32_t rva = DirectoryRva(file, layout, 0);
    if (!rva) return true;
    uint64_t directory = layout.Offset(rva);
    if (!directory || !file.Has(directory, 40)) return false;
    uint32_t base = file.U32(directory + 16);
    uint32_t nameCount = file.U32(directory + 24);
    uint64_t names = layout.Offset(file.U32(directory + 32));
    uint64_t ordinals = layout.Offset(file.U32(directory + 36));
    if (nameCount && (!names || !ordinals)) return false;
    for (uint32_t i = 0; i < nameCount; ++i) {
        uint64_t name = layout.Offset(file.U32(names + uint64_t(i) * 4));
        if (!name) return false;
        exports.push_back({file.Text(name), base + file.U16(ordinals + uint64_t(i) * 2)});
    }
    return true;
}

bool ReadImports(const Reader& file, const Layout& layout, std::vector<std::string>& imports) {
    uint32_t rva = DirectoryRva(file, layout, 1);
    if (!rva) return true;
    uint64_t descriptor = layout.Offset(rva);
    if (!descriptor) return false;
    for (;; descriptor += 20) {
        if (!file.Has(descriptor, 20)) return false;
        uint32_t nameRva = file.U32(descriptor + 12);
        if (!nameRva) return true;
        uint64_t name = layout.Offset(nameRva);
        if (!name) return false;
        imports.push_back(file.Text(name));
    }
}
}  // namespace

bool PeImage::Load(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) return false;
    Reader file{std::vector<unsigned char>(std::istreambuf_iterator<char>(stream), {})};
    Layout layout;
    exports.clear();
    imports.clear();
    return ReadLayout(file, is64, layout) && ReadExports(file, layout, exports) &&
           ReadImports(file, layout, imports);
}
