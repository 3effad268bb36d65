// How the bytes of a text are read: in the system's ANSI code page, or as
// UTF-8. A parameter text, and every field and HTML document taken from it, is
// wholly one or the other. Whatever steps through, trims or converts such text
// asks here, so that both encodings follow one set of rules.
#pragma once
#include "platform/WinSeam.h"

enum TextEncoding { TEXT_CODE_PAGE = 0, TEXT_UTF8 = 1 };

const unsigned REPLACEMENT_CHARACTER = 0xFFFD;

// Bytes of the well-formed UTF-8 sequence at text, or 0 where none starts:
// a stray continuation byte, an overlong form, a surrogate, a value above
// U+10FFFF, or a sequence cut short by a byte that does not continue it.
// Reads no further than such a byte, so never past a terminator, and never
// more than available bytes.
int Utf8SequenceSize(const char* text, int available);

// Bytes of the code-page character at text (1 for the terminator). No code
// page has a lead byte below 0x80, so ASCII needs no call.
inline int CharBytes(const char* text) {
    if (static_cast<unsigned char>(*text) < 0x80) return 1;
    int size = static_cast<int>(CharNextA(text) - text);
    return size > 1 ? size : 1;
}

// The next character start after the code-page character at text (which is
// not the terminator).
inline const char* NextCharStart(const char* text) { return text + CharBytes(text); }

// CharSize of a character whose first byte is 0x80 or above.
int CharSizeBeyondAscii(const char* text, TextEncoding encoding);

// Bytes of the character at text (1 for the terminator), as scans step. No
// byte of a multi-byte UTF-8 character is below 0x80, so a scan for ASCII
// (tags, entities, blanks, separators, escapes) steps through UTF-8 byte by
// byte and never finds one inside another character; code-page text, whose
// trail bytes may be ASCII, steps by whole characters.
inline int CharSize(const char* text, TextEncoding encoding) {
    return static_cast<unsigned char>(*text) < 0x80 ? 1 : CharSizeBeyondAscii(text, encoding);
}

inline const char* NextChar(const char* text, TextEncoding encoding) { return text + CharSize(text, encoding); }

// White space in the code page: the C1_SPACE bit that GetStringTypeExA gives
// the one byte at a character start in the thread's locale.
bool IsLocaleWhiteSpace(const char* text);
// White space at a character start: in the code page as above, in UTF-8 the
// ASCII blank, tab and line ends only, so that trimming never takes a byte of
// a multi-byte character (the A0 of "à" is no space).
bool IsSpaceAt(const char* text, TextEncoding encoding);

// UTF-16 units the UTF-8 bytes make (each ill-formed byte as U+FFFD), written
// to out as far as room allows; out may be null to count.
int Utf8ToUtf16(const char* text, int bytes, WCHAR* out, int room);
// UTF-8 bytes the UTF-16 units make (an unpaired surrogate as U+FFFD),
// written to out as far as room allows; out may be null to count.
int Utf16ToUtf8(const WCHAR* units, int count, char* out, int room);
