#include "text/ParameterText.h"

#include <cstring>
#include <memory>
#include <new>

#include "text/WideText.h"

namespace {

const char UTF8_MARK[] = "\xEF\xBB\xBF";
const int UTF8_MARK_SIZE = 3;
const WCHAR UTF16_MARK = 0xFEFF;

bool StartsWithUtf16Mark(const char* bytes, int size) {
    return size >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE;
}

// Well-formed throughout, and more than ASCII.
bool IsUtf8BeyondAscii(const char* text, int length) {
    bool beyond = false;
    for (int i = 0; i < length;) {
        int sequence = Utf8SequenceSize(text + i, length - i);
        if (sequence == 0) return false;
        beyond = beyond || sequence > 1;
        i += sequence;
    }
    return beyond;
}

// Through UTF-16, which reads each ill-formed byte as U+FFFD.
CMsString MarkedUtf8(const char* text, int length) {
    WideText wide(text, length, TEXT_UTF8);
    return ParameterTextFromUtf16(wide.Units(), wide.Count());
}

// Little-endian units after the mark; an odd last byte, a unit cut short,
// is dropped.
CMsString TextFromUtf16File(const char* bytes, int size) {
    int count = (size - 2) / 2;
    std::unique_ptr<WCHAR[]> units(new (std::nothrow) WCHAR[static_cast<size_t>(count) + 1]);
    if (!units) return CMsString();
    memcpy(units.get(), bytes + 2, static_cast<size_t>(count) * sizeof(WCHAR));
    return ParameterTextFromUtf16(units.get(), count);
}

}  // namespace

CMsString ParameterTextFromBytes(const char* bytes, int size, bool fromFile) {
    if (!bytes || size <= 0) return CMsString();
    if (fromFile && StartsWithUtf16Mark(bytes, size)) return TextFromUtf16File(bytes, size);
    CMsString text;
    text = bytes;  // up to the first zero byte
    int mark = ParameterTextEncoding(text) == TEXT_UTF8 ? UTF8_MARK_SIZE : 0;
    int length = text.GetLength() - mark;
    if (mark || IsUtf8BeyondAscii(text, length)) return MarkedUtf8(static_cast<const char*>(text) + mark, length);
    return text;
}

CMsString ParameterTextFromUtf16(const WCHAR* units, int count) {
    if (count > 0 && units[0] == UTF16_MARK) {
        ++units;
        --count;
    }
    CMsString text;
    // Three bytes a unit at most: a longer text would overflow the count.
    if (count <= 0 || count > 0x7FFFFFFF / 3 - UTF8_MARK_SIZE) return text;
    int length = Utf16ToUtf8(units, count, nullptr, 0);
    char* out = text.GetBuffer(length + UTF8_MARK_SIZE);
    if (!out) return text;
    memcpy(out, UTF8_MARK, UTF8_MARK_SIZE);
    out[UTF8_MARK_SIZE + Utf16ToUtf8(units, count, out + UTF8_MARK_SIZE, length)] = 0;
    // A U+0000 ends the text, as a zero byte ends every other text.
    text.ReleaseBuffer(-1);
    return text;
}

TextEncoding ParameterTextEncoding(const char* text) {
    // strncmp stops at a shorter text's terminator.
    return text && strncmp(text, UTF8_MARK, UTF8_MARK_SIZE) == 0 ? TEXT_UTF8 : TEXT_CODE_PAGE;
}

CMsString CodePageText(const WCHAR* units, int count) {
    CMsString text;
    int length = count > 0 ? WideCharToMultiByte(CP_ACP, 0, units, count, nullptr, 0, nullptr, nullptr) : 0;
    char* out = length > 0 ? text.GetBuffer(length) : nullptr;
    if (!out) return text;
    out[WideCharToMultiByte(CP_ACP, 0, units, count, out, length, nullptr, nullptr)] = 0;
    text.ReleaseBuffer(-1);
    return text;
}

// GetVersion's high bit marks the 9x family.
bool IsCodePageOnlySystem() { return (GetVersion() & 0x80000000u) != 0; }

CMsString CodePageTextFromUtf8(const char* text, int bytes) {
    WideText wide(text, bytes, TEXT_UTF8);
    return CodePageText(wide.Units(), wide.Count());
}

CMsString ParameterTextForThisSystem(const CMsString& text) {
    if (!IsCodePageOnlySystem() || ParameterTextEncoding(text) == TEXT_CODE_PAGE) return text;
    return CodePageTextFromUtf8(static_cast<const char*>(text) + UTF8_MARK_SIZE, text.GetLength() - UTF8_MARK_SIZE);
}
