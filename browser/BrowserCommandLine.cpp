#include "browser/BrowserCommandLine.h"

#include "util/AsciiCase.h"

namespace {

const char hexDigits[] = "0123456789ABCDEF";

bool NeedsEncoding(unsigned char byte) { return byte <= 0x20 || byte == 0x7F || byte == '"'; }

bool IsBeyondAscii(unsigned char byte) { return byte >= 0x80; }

// Length of the encoded form, or -1 when it would not fit an int.
int EncodedLength(const unsigned char* url, bool (*needsEncoding)(unsigned char)) {
    int length = 0;
    for (const unsigned char* p = url; *p; ++p) {
        int step = needsEncoding(*p) ? 3 : 1;
        if (length > 0x7FFFFFFF - step) return -1;
        length += step;
    }
    return length;
}

bool IsLeadingSpace(unsigned char byte) { return byte != 0 && byte <= 0x20; }

// Browsers drop tabs and line breaks anywhere in an address, so "java\tscript:"
// is still script.
bool IsDroppedFromAddress(char c) { return c == '\t' || c == '\n' || c == '\r'; }

// scheme is lower case.
bool HasScheme(const char* text, const char* scheme) {
    for (; *scheme; ++text) {
        if (IsDroppedFromAddress(*text)) continue;
        if (FoldAscii(*text) != *scheme) return false;
        ++scheme;
    }
    return true;
}

// The URL with every byte the test picks written as "%XX".
CMsString PercentEncoded(const char* url, bool (*needsEncoding)(unsigned char)) {
    CMsString encoded;
    if (!url) return encoded;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(url);
    int length = EncodedLength(bytes, needsEncoding);
    if (length <= 0) return encoded;
    // One buffer of the final size: appending byte by byte would reallocate
    // for every byte of a long URL.
    char* out = encoded.GetBuffer(length);
    if (!out) return encoded;
    for (const unsigned char* p = bytes; *p; ++p) {
        if (!needsEncoding(*p)) {
            *out++ = static_cast<char>(*p);
            continue;
        }
        *out++ = '%';
        *out++ = hexDigits[*p >> 4];
        *out++ = hexDigits[*p & 0x0F];
    }
    encoded.ReleaseBuffer(length);
    return encoded;
}

}  // namespace

CMsString EncodeUrlArgument(const char* url) { return PercentEncoded(url, NeedsEncoding); }

CMsString AsciiAddress(const char* url) { return PercentEncoded(url, IsBeyondAscii); }

CMsString BuildBrowserCommandLine(const CMsString& command, const char* url) {
    CMsString encoded = EncodeUrlArgument(url);
    if (url && *url && encoded.IsEmpty()) return CMsString();
    CMsString line = command;
    if (line.Find("%1") < 0) line += " %1";
    // Out of memory leaves no "%1" to fill or a half-made line: start nothing.
    if (line.Find("%1") < 0 || line.Replace("%1", encoded) < 0) return CMsString();
    return line;
}

bool IsPlainAddress(const char* url) {
    if (!url) return false;
    const char* start = url;
    while (IsLeadingSpace(static_cast<unsigned char>(*start))) ++start;
    if (*start == '-' || *start == '/') return false;
    return !HasScheme(start, "javascript:") && !HasScheme(start, "vbscript:");
}

CMsString QuotedProgramPath(const CMsString& path) {
    if (path.Find(' ') < 0 || path.GetAt(0) == '"') return path;
    CMsString quoted = "\"";
    quoted += path;
    quoted += "\"";
    if (quoted.GetLength() != path.GetLength() + 2) return CMsString();
    return quoted;
}
