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

CMsString TagReader::Enclosed(const char* tagName) const {
    CMsString opening = FormatString("%s%s>", "<", tagName);
    CMsString closing = FormatString("%s%s>", "</", tagName);
    if (opening.IsEmpty() || closing.IsEmpty()) return CMsString();
    int open = text.Find(opening, false, 0, encoding);
    if (open < 0) return CMsString();
    int start = open + opening.GetLength();
    int close = text.Find(closing, false, start, encoding);
    if (close < 0) return CMsString();
    return text.Mid(start, close - start);
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
