// Text-level steps of the HTML parser.
#include "html/HtmlScan.h"

#include <new>

#include "util/AsciiCase.h"

namespace {

bool IsLineOrTab(char c) { return c == '\t' || c == '\r' || c == '\n'; }

// Copies one character and returns the next source position.
const char* CopyChar(const char* from, char*& to, TextEncoding encoding) {
    const char* next = NextChar(from, encoding);
    while (from < next) *to++ = *from++;
    return next;
}

}  // namespace

// "\r\n" and every other line end or tab become a blank, and runs of blanks
// shrink to one. Done in one pass, because repeating a pair replacement over a
// long run of blanks costs time quadratic in its length.
CMsString PrepareHtmlText(const char* text, TextEncoding encoding) {
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
            p = CopyChar(p, out, encoding);
        } else {
            if (!lastWasBlank) *out++ = ' ';
            ++p;
        }
        lastWasBlank = blank;
    }
    prepared.ReleaseBuffer(static_cast<int>(out - start));
    return prepared;
}

CMsString ExtractTagContent(const CMsString& text, const char* tag, CMsString* attribText,
                            TextEncoding encoding) {
    if (attribText) attribText->Empty();
    if (text.IsEmpty() || !tag || !*tag) return CMsString();
    CMsString opener("<");
    opener += tag;
    CMsString closer("</");
    closer += tag;

    int openAt = text.Find(opener, false, 0, encoding);
    if (openAt < 0) return CMsString();
    int openEnd = text.Find('>', true, openAt, encoding);
    if (openEnd < 0) return CMsString();
    int closeAt = text.Find(closer, false, 0, encoding);
    if (closeAt < 0 || text.Find('>', true, closeAt, encoding) < 0) return CMsString();

    if (attribText) {
        int attribStart = openAt + opener.GetLength();
        *attribText = text.Mid(attribStart, openEnd - attribStart);
        attribText->TrimLeft(encoding);
        attribText->TrimRight(encoding);
    }
    if (closeAt < openEnd) return CMsString();
    CMsString content = text.Mid(openEnd + 1, closeAt - openEnd - 1);
    content.TrimLeft(encoding);
    content.TrimRight(encoding);
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
