// The parameter text as the library keeps it. The encoding is decided once,
// for the whole text, before any field is read: text in the system code page
// stays exactly as it came, and a UTF offer becomes the UTF-8 byte-order mark
// followed by its text in UTF-8, so that the text itself tells every reader of
// it (the fields, the title, the HTML controls) how to read it.
#pragma once
#include "text/TextEncoding.h"
#include "util/CMsString.h"

// From a file's whole contents (fromFile) or a host's string of size bytes,
// either followed by a zero byte:
//  - a file that begins with the UTF-16 LE byte-order mark is UTF-16, read
//    whole (an odd last byte, a unit cut short, is dropped) up to its first
//    U+0000;
//  - otherwise the text ends at its first zero byte, and
//  - one that begins with the UTF-8 byte-order mark is UTF-8 (ill-formed bytes
//    become U+FFFD);
//  - one that is well-formed UTF-8 throughout and has a character beyond
//    ASCII is UTF-8;
//  - anything else is code-page text.
CMsString ParameterTextFromBytes(const char* bytes, int size, bool fromFile);

// From a host's UTF-16 string of count units: always a UTF offer.
CMsString ParameterTextFromUtf16(const WCHAR* units, int count);

// How a text that the functions above made is read.
TextEncoding ParameterTextEncoding(const char* text);

// Windows 95, 98 and ME, whose wide file and window-text functions are stubs
// that fail: they keep window texts and file names in the code page only.
bool IsCodePageOnlySystem();

// There a UTF text is converted to the code page (what it cannot hold is
// lost); elsewhere it stays as it is.
CMsString ParameterTextForThisSystem(const CMsString& text);

// Code-page bytes for UTF-16 units, as WideCharToMultiByte gives them.
CMsString CodePageText(const WCHAR* units, int count);
// The same for UTF-8 text.
CMsString CodePageTextFromUtf8(const char* text, int bytes);
