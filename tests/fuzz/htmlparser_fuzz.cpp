// The HTML parser on arbitrary text, fed the way the control feeds it (its
// window text, which ends at the first zero byte; after the UTF-8 mark, a
// UTF-8 document whose words are cut at their line breaks), followed by the
// reads that layout and painting make. Structural rules of the result are checked too:
// a broken one aborts, so the fuzzer reports it like a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "html/HtmlParser.h"

namespace {

// A few of the names layout and painting read, plus ones never stored.
const char* const kNames[] = {"size", "color", "face", "href", "value", "src", "align", ""};

void Require(bool condition) {
    if (!condition) abort();
}

// Every stored pair still satisfies its grammar, and every read is defined.
void CheckAttribs(const CHtmlAttribList& attribs) {
    for (int i = 0; i < attribs.count; ++i) {
        const CHtmlAttrib* attrib = attribs.GetAttribAt(i);
        Require(attrib != nullptr);
        Require(IsValidAttribValue(attrib->name, attrib->value));
        Require(attribs.FindAttrib(attrib->name) == attrib);
        attribs.GetAttribNumber(attrib->name, -1, GetAttribType(attrib->name));
    }
    for (const char* name : kNames) {
        CMsString value = attribs.GetAttrib(name);
        attribs.GetAttribNumber(name, -1, GetAttribType(name));
        attribs.GetAttribNumber(name, -1, AT_HEXCOLOR);
        Require(value.IsEmpty() == (attribs.FindAttrib(name) == nullptr));
    }
}

void CheckElement(const CHtmlElement& element, bool& textSeen, bool& lastWasSpace) {
    Require(element.kind >= HEK_TEXT && element.kind <= HEK_IMG);
    Require(element.isOpen == 0 || element.isOpen == 1);
    Require(element.x == -1 && element.y == -1 && element.cx == 0 && element.cy == 0);
    CheckAttribs(element.attribs);
    if (element.kind == HEK_TEXT) {
        Require(!element.GetAttrib("value").IsEmpty());
        textSeen = true;
    }
    if (element.kind == HEK_SPACE) {
        Require(textSeen && !lastWasSpace);
        Require(lstrcmpA(element.GetAttrib("value"), " ") == 0);
    }
    if (element.kind == HEK_BR || element.kind == HEK_TEXT || element.kind == HEK_SPACE) {
        Require(element.isOpen == 1);
    }
    if (element.kind == HEK_HEADING) {
        int size = element.GetAttribNumber("size", 0, AT_UINT);
        Require(element.attribs.count == 1 && size >= 1 && size <= 6);
    }
    lastWasSpace = element.kind == HEK_SPACE;
}

// Each linked element sits in its anchor's members, and nothing else does.
void CheckLinks(const CHtmlElementList& elements) {
    int linked = 0;
    int members = 0;
    for (int i = 0; i < elements.count; ++i) {
        const CHtmlElement* element = elements.GetAt(i);
        if (element->kind == HEK_A) {
            Require(element->linkAnchor == nullptr);
            members += element->linkMembers.count;
            for (int m = 0; m < element->linkMembers.count; ++m) {
                Require(element->linkMembers.GetAt(m)->linkAnchor == element);
            }
            if (element->linkMembers.count > 0) Require(!element->GetAttrib("href").IsEmpty());
        } else {
            Require(element->linkMembers.count == 0);
        }
        if (element->linkAnchor) ++linked;
    }
    Require(linked == members);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    text.resize(text.find('\0') == std::string::npos ? size : text.find('\0'));

    StringList fonts;
    fonts.Add("Arial");
    fonts.Add("Courier New");
    CHtmlAttribList body;
    body.SetAttribNumber("text", 0x000000, AT_COLOR);
    body.SetAttrib("scroll", "yes");
    body.SetAttribNumber("leftmargin", 16, AT_UINT);
    CHtmlElementList elements;
    int marker = 0;
    bool utf8 = text.compare(0, 3, "\xEF\xBB\xBF") == 0;
    const SystemLineBreaker ownRule = {nullptr, nullptr};
    CHtmlParser parser(reinterpret_cast<CHaleSimpleHtmlCtrl*>(&marker), elements, body, fonts,
                       utf8 ? TEXT_UTF8 : TEXT_CODE_PAGE, &ownRule);
    parser.Parse(text.c_str() + (utf8 ? 3 : 0));

    CheckAttribs(body);
    bool textSeen = false;
    bool lastWasSpace = false;
    CHtmlElementCursor cursor;
    while (elements.Next(cursor)) CheckElement(*cursor.current, textSeen, lastWasSpace);
    Require(cursor.current == nullptr);
    Require((elements.textSeen != 0) == textSeen);
    CheckLinks(elements);
    elements.RemoveAll();
    return 0;
}
