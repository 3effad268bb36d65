#include "browser/CommandProgram.h"

#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Setting bit 5 folds exactly "E" to "e" and "X" to "x" and leaves no other
// byte equal to them.
bool IsExe(const char* p) {
    return p[0] == '.' && (p[1] | 0x20) == 'e' && (p[2] | 0x20) == 'x' && (p[3] | 0x20) == 'e' &&
           (p[4] == ' ' || p[4] == '\0');
}

// The end of the unquoted program that begins at start. No byte of a
// double-byte character is a blank or a dot, so a byte scan is safe.
const char* UnquotedProgramEnd(const char* start) {
    for (const char* p = start; *p; ++p)
        if (IsExe(p)) return p + 4;
    const char* blank = strchr(start, ' ');
    return blank ? blank : start + strlen(start);
}

}  // namespace

bool FindCommandProgram(const char* command, CommandParts& parts) {
    const char* start = command;
    while (IsBlank(*start)) ++start;
    bool quoted = *start == '"';
    if (quoted) ++start;
    const char* end = quoted ? strchr(start, '"') : UnquotedProgramEnd(start);
    if (!end || end == start) return false;
    for (const char* p = start; p + 1 < end; ++p)
        if (p[0] == '%' && p[1] == '1') return false;
    const char* rest = quoted ? end + 1 : end;
    while (IsBlank(*rest)) ++rest;
    parts.programStart = static_cast<int>(start - command);
    parts.programLength = static_cast<int>(end - start);
    parts.argumentsStart = static_cast<int>(rest - command);
    return true;
}
