#include "text/TextEncoding.h"

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

bool IsAsciiSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool IsHighSurrogate(unsigned unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(unsigned unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Writes the code point's UTF-8 bytes where room allows; returns their number.
int PutUtf8(unsigned code, char* out, int room) {
    static const unsigned char leads[] = {0, 0, 0xC0, 0xE0, 0xF0};
    int size = code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
    for (int i = size - 1; i >= 0; --i, code >>= 6) {
        unsigned byte = i > 0 ? 0x80 | (code & 0x3F) : leads[size] | code;
        if (out && i < room) out[i] = static_cast<char>(byte);
    }
    return size;
}

}  // namespace

int Utf8SequenceSize(const char* text, int available) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    if (available < 1) return 0;
    unsigned char lead = p[0];
    if (lead < 0x80) return 1;
    // The second byte's range excludes overlong forms (E0, F0), surrogates
    // (ED) and values above U+10FFFF (F4).
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    int size = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        size = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        size = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        size = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (available < size || p[1] < low || p[1] > high) return 0;
    for (int i = 2; i < size; ++i) {
        if (!IsContinuation(p[i])) return 0;
    }
    return size;
}

namespace {
// The code point at text and its bytes; a byte that starts no well-formed
// sequence reads as U+FFFD of one byte.
unsigned DecodeUtf8(const char* text, int available, int* size) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    int bytes = Utf8SequenceSize(text, available);
    *size = bytes ? bytes : 1;
    if (bytes == 0) return REPLACEMENT_CHARACTER;
    if (bytes == 1) return p[0];
    unsigned code = p[0] & (0x7F >> bytes);
    for (int i = 1; i < bytes; ++i) code = (code << 6) | (p[i] & 0x3F);
    return code;
}

}  // namespace

// Every ANSI code page keeps bytes 0x09-0x0D and 0x20 as the ASCII control
// and blank characters, which are white space, and 0x21-0x7E as printable
// characters, which are not; the system call (a conversion and a table look-up
// each time) is left to the other bytes.
bool IsLocaleWhiteSpace(const char* text) {
    char c = *text;
    if (IsAsciiSpace(c)) return true;
    if (c > ' ' && c <= '~') return false;
    WORD type = 0;
    if (!GetStringTypeExA(GetThreadLocale(), CT_CTYPE1, text, 1, &type)) return false;
    return (type & C1_SPACE) != 0;
}

int CharSizeBeyondAscii(const char* text, TextEncoding encoding) {
    return encoding == TEXT_UTF8 ? 1 : CharBytes(text);
}

bool IsSpaceAt(const char* text, TextEncoding encoding) {
    return encoding == TEXT_UTF8 ? IsAsciiSpace(*text) : IsLocaleWhiteSpace(text);
}

int Utf8ToUtf16(const char* text, int bytes, WCHAR* out, int room) {
    int units = 0;
    for (int i = 0; i < bytes;) {
        int size = 0;
        unsigned code = DecodeUtf8(text + i, bytes - i, &size);
        i += size;
        if (code >= 0x10000) {
            code -= 0x10000;
            if (out && units < room) out[units] = static_cast<WCHAR>(0xD800 | (code >> 10));
            ++units;
            code = 0xDC00 | (code & 0x3FF);
        }
        if (out && units < room) out[units] = static_cast<WCHAR>(code);
        ++units;
    }
    return units;
}

int Utf16ToUtf8(const WCHAR* units, int count, char* out, int room) {
    int bytes = 0;
    for (int i = 0; i < count; ++i) {
        unsigned code = units[i];
        if (IsHighSurrogate(code) && i + 1 < count && IsLowSurrogate(units[i + 1])) {
            code = 0x10000 + ((code - 0xD800) << 10) + (units[++i] - 0xDC00);
        } else if (IsHighSurrogate(code) || IsLowSurrogate(code)) {
            code = REPLACEMENT_CHARACTER;
        }
        bytes += PutUtf8(code, out ? out + bytes : nullptr, room - bytes);
    }
    return bytes;
}
