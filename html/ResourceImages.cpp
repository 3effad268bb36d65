#include "html/ResourceImages.h"

#include <cstring>
#include <new>

#include "html/HtmlElement.h"

namespace {
const char SOURCE_PREFIX[] = "rsrc://";
const int SOURCE_PREFIX_LENGTH = 7;
const DWORD CORE_HEADER_SIZE = 12;
const DWORD INFO_HEADER_SIZE = 40;
const int MAX_PALETTE_ENTRIES = 256;

WORD ReadWord(const void* dib, int offset) {
    WORD value;
    memcpy(&value, static_cast<const BYTE*>(dib) + offset, sizeof(value));
    return value;
}

DWORD ReadDword(const void* dib, int offset) {
    DWORD value;
    memcpy(&value, static_cast<const BYTE*>(dib) + offset, sizeof(value));
    return value;
}

LONG ReadLong(const void* dib, int offset) {
    LONG value;
    memcpy(&value, static_cast<const BYTE*>(dib) + offset, sizeof(value));
    return value;
}

DWORD HeaderSize(const void* dib) { return ReadDword(dib, 0); }

// Entries the palette takes from the colour table.
int PaletteEntryCount(const void* dib) {
    if (HeaderSize(dib) == CORE_HEADER_SIZE) {
        int bits = ReadWord(dib, 10);
        return bits > 8 ? 0 : 1 << bits;
    }
    int bits = ReadWord(dib, 14);
    if (bits > 8) return 0;
    DWORD used = ReadDword(dib, 32);
    if (used == 0) return 1 << bits;
    return used > MAX_PALETTE_ENTRIES ? MAX_PALETTE_ENTRIES : static_cast<int>(used);
}

// Bytes of pixel data the header describes; uncompressed rows are padded to
// four bytes.
long long PixelBytes(const void* dib) {
    if (ReadDword(dib, 16) != BI_RGB) return ReadDword(dib, 20);
    long long width = ReadLong(dib, 4);
    long long height = ReadLong(dib, 8);
    long long bits = ReadWord(dib, 14);
    if (width < 0) return -1;
    if (height < 0) height = -height;
    return (width * bits + 31) / 32 * 4 * height;
}

// A resource is used only when it holds its whole header, colour table and
// pixels: the library's own resources are the only source, but a short or
// inconsistent one must not make GDI read past its end. The 12-byte core
// header is not supported (its pixels would be misplaced).
bool DibFitsResource(const void* dib, DWORD size) {
    if (!dib || size < INFO_HEADER_SIZE) return false;
    DWORD header = HeaderSize(dib);
    if (header < INFO_HEADER_SIZE || header > size) return false;
    long long tableEntries = DibColorCount(dib);
    if (tableEntries < PaletteEntryCount(dib)) tableEntries = PaletteEntryCount(dib);
    long long pixelsAt = header + 4 * tableEntries;
    long long pixels = PixelBytes(dib);
    return pixels >= 0 && pixelsAt + pixels <= size;
}

HBITMAP BitmapFromResource(const void* dib, HPALETTE palette) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateBitmapFromDib(screen, dib, palette);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// Number after the prefix: leading white space and one sign, then digits up
// to the first other character; none gives 0.
int ResourceNumber(const char* text) {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    unsigned value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) value = value * 10 + (*text - '0');
    return static_cast<int>(negative ? 0u - value : value);
}
}  // namespace

HBITMAP LoadElementBitmap(HINSTANCE module, const CHtmlElement& element) {
    CMsString source = element.GetAttrib("src");
    if (source.GetLength() < SOURCE_PREFIX_LENGTH) return nullptr;
    if (source.Left(SOURCE_PREFIX_LENGTH).CompareNoCase(SOURCE_PREFIX) != 0) return nullptr;
    HBITMAP bitmap = nullptr;
    LoadResourceBitmap(module,
                       ResourceNumber(static_cast<const char*>(source) + SOURCE_PREFIX_LENGTH),
                       &bitmap, nullptr);
    return bitmap;
}

bool LoadResourceBitmap(HINSTANCE module, int number, HBITMAP* bitmap, HPALETTE* palette) {
    if (bitmap) *bitmap = nullptr;
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(number & 0xFFFF),
                                   reinterpret_cast<LPCSTR>(RT_BITMAP));
    if (!resource) return false;
    HGLOBAL loaded = LoadResource(module, resource);
    if (!loaded) return false;
    const void* dib = LockResource(loaded);
    bool result = false;
    if (DibFitsResource(dib, SizeofResource(module, resource))) {
        HPALETTE made = CreateDibPalette(dib);
        HPALETTE used = made;
        if (palette && *palette) {
            if (made) DeleteObject(made);
            made = nullptr;
            used = *palette;
        } else if (palette) {
            *palette = made;
        }
        result = true;
        if (bitmap) {
            *bitmap = BitmapFromResource(dib, used);
            result = *bitmap != nullptr;
        }
        if (!palette && made) DeleteObject(made);
    }
    FreeResource(loaded);
    return result;
}

HPALETTE CreateDibPalette(const void* dib) {
    if (!dib) return nullptr;
    int entries = PaletteEntryCount(dib);
    if (entries == 0) return nullptr;
    bool core = HeaderSize(dib) == CORE_HEADER_SIZE;
    const BYTE* table = static_cast<const BYTE*>(dib) + (core ? CORE_HEADER_SIZE : INFO_HEADER_SIZE);
    int stride = core ? 3 : 4;
    size_t bytes = sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * entries;
    LOGPALETTE* logPalette = static_cast<LOGPALETTE*>(::operator new(bytes, std::nothrow));
    if (!logPalette) return nullptr;
    logPalette->palVersion = 0x300;
    logPalette->palNumEntries = static_cast<WORD>(entries);
    for (int i = 0; i < entries; ++i) {
        const BYTE* colour = table + i * stride;
        PALETTEENTRY& entry = logPalette->palPalEntry[i];
        entry.peRed = colour[2];
        entry.peGreen = colour[1];
        entry.peBlue = colour[0];
        entry.peFlags = 0;
    }
    HPALETTE palette = CreatePalette(logPalette);
    ::operator delete(logPalette);
    return palette;
}

int DibColorCount(const void* dib) {
    if (!dib) return 0;
    DWORD used = ReadDword(dib, 32);
    if (HeaderSize(dib) == INFO_HEADER_SIZE && used != 0) return static_cast<int>(used);
    int bits = ReadWord(dib, 14);
    return bits <= 8 ? 1 << bits : 0;
}

HBITMAP CreateBitmapFromDib(HDC dc, const void* dib, HPALETTE palette) {
    if (!dib) return nullptr;
    HPALETTE previous = nullptr;
    if (palette) {
        previous = SelectPalette(dc, palette, FALSE);
        RealizePalette(dc);
    }
    const BYTE* bits = static_cast<const BYTE*>(dib) + HeaderSize(dib) + 4 * DibColorCount(dib);
    const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(dib);
    HBITMAP bitmap = CreateDIBitmap(dc, header, CBM_INIT, bits,
                                    reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS);
    if (palette) {
        SelectPalette(dc, previous, FALSE);
        RealizePalette(dc);
    }
    return bitmap;
}
