#include "util/WhiteSpace.h"

#include "platform/WinSeam.h"

// Every ANSI code page keeps bytes 0x09-0x0D and 0x20 as the ASCII control
// and blank characters, which are white space, and 0x21-0x7E as printable
// characters, which are not; the system call (a conversion and a table look-up
// each time) is left to the other bytes.
bool IsLocaleWhiteSpace(const char* p) {
    char c = *p;
    if (c == ' ' || (c >= '\t' && c <= '\r')) return true;
    if (c > ' ' && c <= '~') return false;
    WORD type = 0;
    if (!GetStringTypeExA(GetThreadLocale(), CT_CTYPE1, p, 1, &type)) return false;
    return (type & C1_SPACE) != 0;
}
