#include "dialog/TagReader.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "dialog/DialogLocation.h"
#include "text/ParameterText.h"

namespace {
const char* const CR_LF = "\r\n";

int HexValue(char ch) {
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    return -1;
}

// '#', a lower-case 'x' and two hexadecimal digits at index.
bool IsEscapeAt(const char* text, int length, int index) {
    if (length - index < 4 || text[index] != '#' || text[index + 1] != 'x') return false;
    return HexValue(text[index + 2]) >= 0 && HexValue(text[index + 3]) >= 0;
}

char EscapedByte(const char* escape) {
    return static_cast<char>(HexValue(escape[2]) * 16 + HexValue(escape[3]));
}

// Bytes of the character at text, never past the end.
int CharacterSize(const char* text, int remaining, TextEncoding encoding) {
    int size = CharSize(text, encoding);
    return size < remaining ? size : remaining;
}
}  // namespace

TagReader::TagReader(const CMsString& sourceText)
    : text(sourceText), encoding(ParameterTextEncoding(sourceText)) {}

TagReader::~TagReader() = default;

CMsString TagReader::ReadField(const char* tagName) const {
    CMsString value;
    if (tagName && *tagName) value = Enclosed(tagName);
    TrimFieldSpace(value, encoding);
    return DecodeEscapes(value, encoding);
}

LONG TagReader::ReadLocation() const { return LocationFromName(ReadField("LOCATION")); }

LONG TagReader::ReadWidth(LONG fallback) const {
    LONG width = ParseDecimal(ReadField("WIDTH"));
    return width < 1 ? fallback : width;
}

bool TagReader::FindField(const char* tagName, int from, int& start, int& end) const {
    CMsString opening = FormatString("%s%s>", "<", tagName);
    CMsString closing = FormatString("%s%s>", "</", tagName);
    if (opening.IsEmpty() || closing.IsEmpty()) return false;
    start = text.Find(opening, false, from, encoding);
    if (start < 0) return false;
    int close = text.Find(closing, false, start + opening.GetLength(), encoding);
    if (close < 0) return false;
    end = close + closing.GetLength();
    return true;
}

CMsString TagReader::Enclosed(const char* tagName) const {
    int start = 0;
    int end = 0;
    if (!FindField(tagName, 0, start, end)) return CMsString();
    // The tag names are ASCII, so their lengths are the tags' own.
    const int opening = lstrlenA(tagName) + 2;
    const int closing = opening + 1;
    return text.Mid(start + opening, end - closing - start - opening);
}

// Only the first opening tag outside the other fields counts, so that hostile
// text with many opening tags costs a few searches, not one for each.
CMsString TagReader::ReadFieldOutside(const char* tagName, const char* outside1, const char* outside2) const {
    int spans[2][2] = {{-1, -1}, {-1, -1}};
    FindField(outside1, 0, spans[0][0], spans[0][1]);
    FindField(outside2, 0, spans[1][0], spans[1][1]);
    int start = 0;
    int end = 0;
    for (int from = 0, tries = 0; tries < 3 && FindField(tagName, from, start, end); ++tries) {
        const int* inside = nullptr;
        bool overlaps = false;
        for (const auto& span : spans) {
            if (start >= span[0] && start < span[1]) inside = span;
            overlaps = overlaps || (end > span[0] && start < span[1]);
        }
        if (inside) {
            from = inside[1];
            continue;
        }
        if (overlaps) break;
        const int opening = lstrlenA(tagName) + 2;
        CMsString value = text.Mid(start + opening, end - (opening + 1) - start - opening);
        TrimFieldSpace(value, encoding);
        return DecodeEscapes(value, encoding);
    }
    return CMsString();
}

void TrimFieldSpace(CMsString& value, TextEncoding encoding) {
    value.TrimRight(encoding);
    value.TrimLeft(encoding);
    value.TrimLeft(CR_LF, encoding);
    value.TrimRight(CR_LF, encoding);
    value.TrimRight(encoding);
    value.TrimLeft(encoding);
}

CMsString DecodeEscapes(const CMsString& value, TextEncoding encoding) {
    const char* source = value;
    int length = value.GetLength();
    CMsString decoded;
    if (length == 0) return decoded;
    char* out = decoded.GetBuffer(length);
    if (!out) return decoded;
    int written = 0;
    for (int index = 0; index < length;) {
        if (IsEscapeAt(source, length, index)) {
            out[written++] = EscapedByte(source + index);
            index += 4;
            continue;
        }
        int size = CharacterSize(source + index, length - index, encoding);
        memcpy(out + written, source + index, size);
        written += size;
        index += size;
    }
    decoded.ReleaseBuffer(written);
    return decoded;
}

LONG ParseDecimal(const char* text) {
    if (!text) return 0;
    long long value = strtoll(text, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<LONG>(value);
}
