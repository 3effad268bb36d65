// The HTML control's parser: one forward scan over the body text with no tag
// stack. Words, spaces, breaks, images and every start or end tag of a
// supported formatting tag become elements; other tags and comments vanish.
#include "html/HtmlParser.h"

#include <cstring>
#include <new>

#include "html/CStringTokenizer.h"
#include "html/HtmlScan.h"
#include "html/HtmlTrace.h"
#include "html/HtmlWord.h"
#include "util/AsciiCase.h"

namespace {

struct Entity {
    const char* text;
    const char* replacement;
};

// Tried in this order. The tab of &nbsp; becomes a one-blank word.
const Entity kEntities[] = {
    {"&quot;", "\""}, {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&nbsp;", "\t"},
};

// The supported tags in the order they are tried; TagRow names the rows.
const char* const kTags[] = {"br", "center", "p",  "b",  "i",  "a",  "font", "h1",
                             "h2", "h3",     "h4", "h5", "h6", "img"};
enum TagRow {
    TAG_BR,
    TAG_CENTER,
    TAG_P,
    TAG_B,
    TAG_I,
    TAG_A,
    TAG_FONT,
    TAG_H1,
    TAG_H6 = TAG_H1 + 5,
    TAG_IMG,
};
const char* const kHeadingSizes[] = {"1", "2", "3", "4", "5", "6"};

// The characters that end a run of word characters: a tag or comment, an
// entity, a blank, a tab. None of them is ever the second byte of a
// double-byte character.
bool EndsRun(char c) { return c == '<' || c == '&' || c == ' ' || c == '\t'; }

// The row of the tag table, or -1. lstrcmpiA's verdict on a name of
// printable ASCII is that of folding A-Z, which costs no system call; any
// other name goes through lstrcmpiA row by row.
int TagIndex(const char* name) {
    bool ascii = IsPrintableAscii(name);
    char first = FoldAscii(*name);
    for (int i = 0; i < static_cast<int>(sizeof kTags / sizeof kTags[0]); ++i) {
        // Folded, the names of the table are their own lower-case selves: a
        // row with another first letter cannot match.
        if (ascii && kTags[i][0] != first) continue;
        if (ascii ? EqualsFoldedAscii(name, kTags[i]) : lstrcmpiA(name, kTags[i]) == 0) return i;
    }
    return -1;
}

// The bytes from begin to end, written into the string's own block when it
// is unshared and large enough.
void AssignRange(CMsString& text, const char* begin, const char* end) {
    int length = static_cast<int>(end - begin);
    char* chars = length > 0 ? text.GetBuffer(length) : nullptr;
    if (!chars) {
        text.Empty();
        return;
    }
    memcpy(chars, begin, static_cast<size_t>(length));
    text.ReleaseBuffer(length);
}

}  // namespace

CHtmlParser::CHtmlParser(CHaleSimpleHtmlCtrl* owner, CHtmlElementList& elements, CHtmlAttribList& bodyAttribs,
                         const StringList& fontNames, TextEncoding encoding,
                         const SystemLineBreaker* lineBreaker)
    : m_owner(owner),
      m_elements(elements),
      m_bodyAttribs(bodyAttribs),
      m_fontNames(fontNames),
      m_encoding(encoding),
      m_runs(encoding, lineBreaker),
      m_pending(true),
      m_noTagEndFrom(nullptr) {}

void CHtmlParser::Parse(const char* text) {
    CMsString prepared = PrepareHtmlText(text, m_encoding);
    CMsString html = ExtractTagContent(prepared, "html", nullptr, m_encoding);
    if (html.IsEmpty()) html = prepared;
    CMsString bodyAttribText;
    CMsString body = ExtractTagContent(html, "body", &bodyAttribText, m_encoding);
    m_bodyAttribs.ParseAttribs(bodyAttribText, m_encoding);
    if (body.IsEmpty()) body = html;

    // The scan writes entity replacements into its own copy of the body.
    char* copy = DuplicateText(body);
    if (copy) {
        Scan(copy);
        delete[] copy;
    }
    // Should the list fail to grow, the buffer deletes what it still holds.
    if (!m_pending.MoveTo(m_elements)) m_pending.Clear();
    LinkAnchors();
}

void CHtmlParser::Scan(char* body) {
    m_noTagEndFrom = nullptr;
    char* cursor = body;
    CHtmlWord word;
    while (*cursor) {
        if (word.IsEmpty()) {
            if (*cursor == ' ') AddTextElement(HEK_SPACE, "value", "\t");
            SkipBlanks(cursor);
            // Only blanks were left.
            if (!*cursor) break;
        }
        if (*cursor == '<') {
            if (!ScanMarkup(cursor, word)) break;
        } else {
            ScanText(cursor, word);
        }
    }
    if (!word.IsEmpty()) AddWord(word);
}

// A comment is skipped without ending the current word; any other "<" ends
// the word and starts a tag. False when an unterminated comment ends the scan.
bool CHtmlParser::ScanMarkup(char*& cursor, CHtmlWord& word) {
    if (strncmp(cursor, "<!--", 4) == 0) {
        char* commentEnd = strstr(cursor, "-->");
        if (!commentEnd) return false;
        cursor = commentEnd + 3;
        return true;
    }
    if (!word.IsEmpty()) AddWord(word);
    int isOpen = 1;
    if (ParseTag(cursor, m_tagName, isOpen, m_tagAttribs)) DispatchTag(m_tagName, isOpen, m_tagAttribs);
    return true;
}

void CHtmlParser::ScanText(char*& cursor, CHtmlWord& word) {
    if (*cursor == '&') {
        for (const Entity& entity : kEntities) {
            if (ReplaceEntity(cursor, entity.text, entity.replacement)) break;
        }
    }
    char c = *cursor;
    if (c == ' ') {
        // The blanks themselves are skipped by the next pass, whose space
        // element the space rule then drops.
        AddWord(word);
        AddTextElement(HEK_SPACE, "value", "\t");
        return;
    }
    if (c == '\t') {
        if (!word.IsEmpty()) AddWord(word);
        AddTextElement(HEK_TEXT, "value", "\t");
        ++cursor;
        return;
    }
    // The whole run of ordinary characters joins the word in one step.
    char* next = cursor + CharSize(cursor, m_encoding);
    while (*next && !EndsRun(*next)) next += CharSize(next, m_encoding);
    word.Append(cursor, static_cast<int>(next - cursor));
    cursor = next;
}

// A word without a line break inside gives the element's value its block
// instead of a copy; one with breaks becomes a text element per piece.
void CHtmlParser::AddWord(CHtmlWord& word) {
    const CMsString& text = word.Text();
    int pieces = m_runs.Split(text, text.GetLength());
    if (pieces == 1) {
        CHtmlElement* element = new (std::nothrow) CHtmlElement(m_owner, HEK_TEXT, 1);
        if (element) element->attribs.SetAttrib("value", text);
        AddElement(element);
    }
    for (int i = 0, begin = 0; pieces > 1 && i < pieces; begin = m_runs.PieceEnd(i++))
        AddTextElement(HEK_TEXT, "value", text.Mid(begin, m_runs.PieceEnd(i) - begin));
    word.Empty();
}

// Once a search finds no ">" after some point, none lies after any later
// point either (entity replacements only write behind the cursor), so a long
// run of "<" is not searched to its end once per character.
char* CHtmlParser::FindTagEnd(char* cursor) {
    if (m_noTagEndFrom && cursor >= m_noTagEndFrom) return nullptr;
    char* tagEnd = strchr(cursor + 1, '>');
    if (!tagEnd) m_noTagEndFrom = cursor;
    return tagEnd;
}

bool CHtmlParser::ParseTag(char*& cursor, CMsString& name, int& isOpen, CHtmlAttribList& attribs) {
    isOpen = 1;
    attribs.RemoveAll();
    char* tagEnd = FindTagEnd(cursor);
    if (!tagEnd) {
        name.Empty();
        cursor = CharNextA(cursor);
        return false;
    }
    const char* p = cursor + 1;
    if (*p == '/') {
        isOpen = 0;
        ++p;
    }
    const char* blank = static_cast<const char*>(memchr(p, ' ', static_cast<size_t>(tagEnd - p)));
    const char* nameEnd = blank ? blank : tagEnd;
    AssignRange(name, p, nameEnd);
    CMsString attribText;
    if (blank) AssignRange(attribText, blank + 1, tagEnd);
    attribs.ParseAttribs(attribText, m_encoding);
    cursor = tagEnd + 1;
    return true;
}

void CHtmlParser::DispatchTag(const CMsString& name, int isOpen, CHtmlAttribList& attribs) {
    int tag = TagIndex(name);
    switch (tag) {
    case TAG_BR:
        AddMarker(HEK_BR, 1);
        return;
    case TAG_CENTER:
        AddMarker(HEK_CENTER, isOpen);
        return;
    case TAG_P:
        AddElementWithAttribs(HEK_P, isOpen, attribs);
        return;
    case TAG_B:
        AddMarker(HEK_B, isOpen);
        return;
    case TAG_I:
        AddMarker(HEK_I, isOpen);
        return;
    case TAG_A:
        AddElementWithAttribs(HEK_A, isOpen, attribs);
        return;
    case TAG_FONT:
        ResolveFontFace(attribs);
        AddElementWithAttribs(HEK_FONT, isOpen, attribs);
        return;
    case TAG_IMG:
        AddElementWithAttribs(HEK_IMG, isOpen, attribs);
        return;
    default:
        break;
    }
    if (tag >= TAG_H1 && tag <= TAG_H6) {
        AddElementWithAttrib(HEK_HEADING, isOpen, "size", kHeadingSizes[tag - TAG_H1]);
        return;
    }
    HtmlTrace("Unsupported HTML tag \"%s\"", static_cast<const char*>(name));
}

void CHtmlParser::AddMarker(int kind, int isOpen) {
    AddElement(new (std::nothrow) CHtmlElement(m_owner, kind, isOpen));
}

void CHtmlParser::AddElementWithAttribs(int kind, int isOpen, const CHtmlAttribList& attribs) {
    AddElement(new (std::nothrow) CHtmlElement(m_owner, kind, isOpen, attribs));
}

void CHtmlParser::AddElementWithAttrib(int kind, int isOpen, const char* name, const char* value) {
    AddElement(new (std::nothrow) CHtmlElement(m_owner, kind, isOpen, name, value));
}

// Most spaces are dropped by the space rule; those are never made.
void CHtmlParser::AddTextElement(int kind, const char* name, const char* value) {
    if (kind == HEK_SPACE && DropsSpace()) return;
    AddElementWithAttrib(kind, 1, name, value);
}

void CHtmlParser::AddElement(CHtmlElement* element) {
    if (!element) return;
    if (element->kind == HEK_TEXT) m_elements.textSeen = 1;
    if (element->kind == HEK_SPACE && DropsSpace()) {
        delete element;
        return;
    }
    if (!m_pending.Add(element)) delete element;
}

bool CHtmlParser::DropsSpace() const {
    CHtmlElement* last = LastElement();
    return !m_elements.textSeen || (last && last->kind == HEK_SPACE);
}

CHtmlElement* CHtmlParser::LastElement() const {
    if (m_pending.Count() > 0) return m_pending.Last();
    return m_elements.GetAt(m_elements.count - 1);
}

void CHtmlParser::ResolveFontFace(CHtmlAttribList& attribs) const {
    CMsString face = attribs.GetAttrib("face");
    if (face.IsEmpty()) return;
    CStringTokenizer tokenizer(face, ",", m_encoding);
    CMsString token;
    while (tokenizer.NextToken(token)) {
        token.TrimLeft(m_encoding);
        token.TrimRight(m_encoding);
        if (m_fontNames.Contains(token)) {
            attribs.SetAttrib("face", token);
            return;
        }
    }
}

// Nested anchors are not stacked: an inner start replaces the outer link and
// the first end tag closes it. Anchors never become link members. Each link's
// members are collected first and join the anchor's list in one step.
void CHtmlParser::LinkAnchors() {
    CHtmlElement* anchor = nullptr;
    CHtmlElementBuffer members(false);
    CHtmlElementCursor cursor;
    while (m_elements.Next(cursor)) {
        CHtmlElement* element = cursor.current;
        if (!element) continue;
        if (element->kind != HEK_A) {
            if (anchor) members.Add(element);
            continue;
        }
        if (!element->isOpen) {
            JoinLink(anchor, members);
            anchor = nullptr;
        } else if (!element->GetAttrib("href").IsEmpty()) {
            JoinLink(anchor, members);
            anchor = element;
        }
    }
    JoinLink(anchor, members);
}

void CHtmlParser::JoinLink(CHtmlElement* anchor, CHtmlElementBuffer& members) {
    if (anchor && members.MoveTo(anchor->linkMembers)) {
        for (int i = 0; i < anchor->linkMembers.count; ++i) {
            anchor->linkMembers.GetAt(i)->linkAnchor = anchor;
        }
    }
    members.Clear();
}
