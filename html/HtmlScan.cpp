// Text-level steps of the HTML parser.
#include "html/HtmlScan.h"

#include <new>

#include "util/AsciiCase.h"

namespace {

bool IsLineOrTab(char c) { return c == '\t' || c == '\r' || c == '\n'; }

// Copies one character (one or two bytes) and returns the next source position.
// A byte below 0x80 is never the first of two.
const char* CopyChar(const char* from, char*& to) {
    if (static_cast<unsigned char>(*from) < 0x80) {
        *to++ = *from;
        return from + 1;
    }
    const char* next = CharNextA(from);
    while (from < next) *to++ = *from++;
    return next;
}

}  // namespace

// "\r\n" and every other line end or tab become a blank, and runs of blanks
// shrink to one. Done in one pass, because repeating a pair replacement over a
// long run of blanks costs time quadratic in its length.
CMsString PrepareHtmlText(const char* text) {
    CMsString prepared;
    int length = lstrlenA(text);
    if (length == 0) return prepared;
    char* out = prepared.GetBuffer(length);
    if (!out) return prepared;
    char* start = out;
    bool lastWasBlank = false;
    for (const char* p = text; *p;) {
        // Printable ASCII, the bulk of any message, is copied without more tests.
        if (*p > ' ' && *p <= '~') {
            while (*p > ' ' && *p <= '~') *out++ = *p++;
            lastWasBlank = false;
            continue;
        }
        bool blank = (*p == ' ' || IsLineOrTab(*p));
        if (!blank) {
            p = CopyChar(p, out);
        } else {
            if (!lastWasBlank) *out++ = ' ';
            ++p;
        }
        lastWasBlank = blank;
    }
    prepared.ReleaseBuffer(static_cast<int>(out - start));
    return prepared;
}

CMsString ExtractTagContent(const CMsString& text, const char* tag, CMsString* attribText) {
    if (attribText) attribText->Empty();
    if (text.IsEmpty() || !tag || !*tag) return CMsString();
    CMsString opener("<");
    opener += tag;
    CMsString closer("</");
    closer += tag;

    int openAt = text.Find(opener, false, 0);
    if (openAt < 0) return CMsString();
    int openEnd = text.Find('>', true, openAt);
    if (openEnd < 0) return CMsString();
    int closeAt = text.Find(closer, false, 0);
    if (closeAt < 0 || text.Find('>', true, closeAt) < 0) return CMsString();

    if (attribText) {
        int attribStart = openAt + opener.GetLength();
        *attribText = text.Mid(attribStart, openEnd - attribStart);
        attribText->TrimLeft();
        attribText->TrimRight();
    }
    if (closeAt < openEnd) return CMsString();
    CMsString content = text.Mid(openEnd + 1, closeAt - openEnd - 1);
    content.TrimLeft();
    content.TrimRight();
    return content;
}

void SkipBlanks(char*& cursor) {
    while (*cursor == ' ') ++cursor;
}

bool ReplaceEntity(char*& cursor, const char* entity, const char* replacement) {
    if (!cursor || !*cursor || !entity || !*entity || !replacement || !*replacement) return false;
    int i = 0;
    for (; entity[i]; ++i) {
        if (FoldAscii(cursor[i]) != FoldAscii(entity[i])) return false;
    }
    cursor += i - 1;
    *cursor = replacement[0];
    return true;
}
