#include "text/LineBreaks.h"

#include <new>

namespace {

struct Range {
    WCHAR first;
    WCHAR last;
};

// Ideographs, kana, CJK symbols and punctuation, full- and half-width forms
// (classes ID and CJ, and the punctuation that goes with them); surrogates,
// since the ideographs and emoji beyond the first plane are ID too.
const Range kCjk[] = {{0x2E80, 0x9FFF}, {0xA000, 0xA4CF}, {0xD800, 0xDFFF},
                      {0xF900, 0xFAFF}, {0xFE30, 0xFE4F}, {0xFF00, 0xFFEF}};
// Thai, Lao, Myanmar, Khmer, Tai Le, New Tai Lue, Tai Tham, Tai Viet (class SA).
const Range kSouthEastAsian[] = {{0x0E00, 0x0EFF}, {0x1000, 0x109F}, {0x1780, 0x17FF}, {0x1950, 0x19DF},
                                 {0x1A20, 0x1AAF}, {0xA9E0, 0xA9FF}, {0xAA60, 0xAADF}};
// Marks that belong to the character before them: no break before them.
const Range kNoBreakBeforeRanges[] = {{0x0300, 0x036F}, {0x20D0, 0x20FF}, {0x31F0, 0x31FF},
                                      {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0xFF67, 0xFF70}};

// Sorted. Closing punctuation, small kana, the long-vowel and iteration
// marks, voiced-sound marks: a line never starts with them.
const WCHAR kNoBreakBefore[] = {
    0x0021, 0x0025, 0x0029, 0x002C, 0x002E, 0x003A, 0x003B, 0x003F, 0x005D, 0x007D, 0x2010, 0x2013,
    0x2019, 0x201D, 0x2025, 0x2026, 0x203C, 0x2047, 0x2048, 0x2049, 0x3001, 0x3002, 0x3005, 0x3009,
    0x300B, 0x300D, 0x300F, 0x3011, 0x3015, 0x3017, 0x3019, 0x301B, 0x301C, 0x301E, 0x301F, 0x303B,
    0x3041, 0x3043, 0x3045, 0x3047, 0x3049, 0x3063, 0x3083, 0x3085, 0x3087, 0x308E, 0x3095, 0x3096,
    0x3099, 0x309A, 0x309B, 0x309C, 0x309D, 0x309E, 0x30A0, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30C3, 0x30E3, 0x30E5, 0x30E7, 0x30EE, 0x30F5, 0x30F6, 0x30FB, 0x30FC, 0x30FD, 0x30FE, 0xFF01,
    0xFF05, 0xFF09, 0xFF0C, 0xFF0E, 0xFF1A, 0xFF1B, 0xFF1F, 0xFF3D, 0xFF5D, 0xFF60, 0xFF61, 0xFF63,
    0xFF64, 0xFF65, 0xFF9E, 0xFF9F};
// Sorted. Opening punctuation: a line never ends with it.
const WCHAR kNoBreakAfter[] = {0x0028, 0x005B, 0x007B, 0x2018, 0x201C, 0x3008, 0x300A, 0x300C, 0x300E,
                               0x3010, 0x3014, 0x3016, 0x3018, 0x301A, 0x301D, 0xFF08, 0xFF3B, 0xFF5B,
                               0xFF5F, 0xFF62};

bool InRanges(WCHAR unit, const Range* ranges, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (unit >= ranges[i].first && unit <= ranges[i].last) return true;
    }
    return false;
}

bool InSorted(WCHAR unit, const WCHAR* table, size_t count) {
    size_t low = 0;
    size_t high = count;
    while (low < high) {
        size_t middle = (low + high) / 2;
        if (table[middle] == unit) return true;
        if (table[middle] < unit) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return false;
}

#define TABLE(name) name, sizeof name / sizeof name[0]

enum BreakClass { OTHER = 0, CJK = 1, SOUTH_EAST_ASIAN = 2 };

int ClassOf(WCHAR unit) {
    if (unit < 0x0E00) return OTHER;
    if (InRanges(unit, TABLE(kCjk))) return CJK;
    return InRanges(unit, TABLE(kSouthEastAsian)) ? SOUTH_EAST_ASIAN : OTHER;
}

// The kinsoku rules, and no break inside a surrogate pair.
bool MayBreakBetween(WCHAR before, WCHAR after) {
    if (before >= 0xD800 && before <= 0xDBFF && after >= 0xDC00 && after <= 0xDFFF) return false;
    if (InSorted(after, TABLE(kNoBreakBefore)) || InRanges(after, TABLE(kNoBreakBeforeRanges))) return false;
    return !InSorted(before, TABLE(kNoBreakAfter));
}

// Whether any unit is of a class that may break without a blank.
bool HasBreakableText(const WCHAR* text, int count) {
    for (int i = 0; i < count; ++i) {
        if (ClassOf(text[i]) != OTHER) return true;
    }
    return false;
}

}  // namespace

bool FindLineBreaks(const WCHAR* text, int count, BYTE* breakBefore, const SystemLineBreaker* system) {
    bool proposed = system && system->find && system->find(system->context, text, count, breakBefore);
    bool any = false;
    if (count > 0) breakBefore[0] = 0;
    for (int i = 1; i < count; ++i) {
        int classes = ClassOf(text[i - 1]) | ClassOf(text[i]);
        // The system's breaks count only next to text that may break without
        // blanks; Latin text keeps its rule.
        bool candidate = proposed ? breakBefore[i] && classes != OTHER : (classes & CJK) != 0;
        breakBefore[i] = candidate && MayBreakBetween(text[i - 1], text[i]);
        any = any || breakBefore[i];
    }
    return any;
}

namespace {

// The double-byte code pages of Japanese, Simplified Chinese, Korean and
// Traditional Chinese Windows.
bool IsCjkCodePage(UINT codePage) {
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

bool HasHighByte(const char* run, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        if (static_cast<unsigned char>(run[i]) >= 0x80) return true;
    }
    return false;
}

}  // namespace

RunSplitter::RunSplitter(TextEncoding textEncoding, const SystemLineBreaker* systemBreaker)
    : encoding(textEncoding),
      system(systemBreaker),
      active(systemBreaker && (textEncoding == TEXT_UTF8 || IsCjkCodePage(GetACP()))),
      room(0),
      block(nullptr),
      units(nullptr),
      starts(nullptr),
      breaks(nullptr),
      ends(nullptr) {}

RunSplitter::~RunSplitter() { delete[] block; }

// One block holds the four arrays, the ints first for their alignment.
bool RunSplitter::Reserve(int count) {
    if (count <= room) return true;
    delete[] block;
    size_t size = static_cast<size_t>(count) + 1;
    block = new (std::nothrow) char[size * (2 * sizeof(int) + sizeof(WCHAR) + 1)];
    room = block ? count : 0;
    starts = reinterpret_cast<int*>(block);
    ends = starts + size;
    units = reinterpret_cast<WCHAR*>(ends + size);
    breaks = reinterpret_cast<BYTE*>(units + size);
    return block != nullptr;
}

int RunSplitter::Decode(const char* run, int bytes) {
    if (!Reserve(bytes)) return -1;
    int count = 0;
    if (encoding == TEXT_UTF8) {
        // Four bytes make a surrogate pair, fewer one unit; an ill-formed
        // byte makes U+FFFD.
        for (int at = 0; at < bytes;) {
            int size = Utf8SequenceSize(run + at, bytes - at);
            if (size == 4) starts[count++] = at;
            starts[count++] = at;
            at += size ? size : 1;
        }
        Utf8ToUtf16(run, bytes, units, room);
        return count;
    }
    // Each character of these code pages is one unit; a run where that does
    // not hold is left whole.
    count = MultiByteToWideChar(CP_ACP, 0, run, bytes, units, room);
    int characters = 0;
    int at = 0;
    for (; at < bytes && characters < count; at += CharBytes(run + at)) starts[characters++] = at;
    return characters == count && at >= bytes ? count : -1;
}

int RunSplitter::Split(const char* run, int bytes) {
    if (!active || bytes <= 0 || !HasHighByte(run, bytes)) return 1;
    int count = Decode(run, bytes);
    if (count <= 0 || !HasBreakableText(units, count) || !FindLineBreaks(units, count, breaks, system)) return 1;
    int pieces = 0;
    for (int i = 1; i < count; ++i) {
        if (breaks[i]) ends[pieces++] = starts[i];
    }
    ends[pieces++] = bytes;
    return pieces;
}
