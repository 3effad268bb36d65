// Turns the HTML control's text into its flat element sequence and its body
// attributes. The control resets its body attributes, reads its window text and
// hands both, with its element list and installed font names, to Parse.
#pragma once
#include "html/FontNameIndex.h"
#include "html/HtmlAttrib.h"
#include "html/HtmlElement.h"
#include "html/HtmlElementBuffer.h"
#include "text/LineBreaks.h"
#include "text/TextEncoding.h"
#include "util/CMsString.h"
#include "util/StringList.h"

class CHaleSimpleHtmlCtrl;
class CHtmlWord;

class CHtmlParser {
public:
    // owner is stored in every element and never dereferenced here. Given a
    // line breaker (the control gives the system's), words are cut where a
    // line may break inside them (text/LineBreaks.h); without one each word
    // is one element.
    CHtmlParser(CHaleSimpleHtmlCtrl* owner, CHtmlElementList& elements, CHtmlAttribList& bodyAttribs,
                const StringList& fontNames, TextEncoding encoding = TEXT_CODE_PAGE,
                const SystemLineBreaker* lineBreaker = nullptr);

    // Appends the elements of text to the element list (which the caller has
    // cleared), applies the body tag's attributes to the body attributes,
    // reports unsupported tags through HtmlTrace and links anchors to their
    // members.
    void Parse(const char* text);

    // Reads the tag at the cursor (which is on a "<"): true with the cursor
    // past its ">"; false, with the "<" skipped, when no ">" follows.
    bool ParseTag(char*& cursor, CMsString& name, int& isOpen, CHtmlAttribList& attribs);

    // Replaces a font list in the face attribute by its first installed font.
    void ResolveFontFace(CHtmlAttribList& attribs) const;

private:
    // Element builders: each allocates one element and hands it to AddElement.
    void AddMarker(int kind, int isOpen);
    void AddElementWithAttribs(int kind, int isOpen, const CHtmlAttribList& attribs);
    void AddElementWithAttrib(int kind, int isOpen, const char* name, const char* value);
    void AddTextElement(int kind, const char* name, const char* value);
    // Appends the element, or deletes it: a space is dropped before the first
    // word and after another space.
    void AddElement(CHtmlElement* element);
    // Whether a space added now would be dropped.
    bool DropsSpace() const;
    CHtmlElement* LastElement() const;

    void Scan(char* body);
    void ScanText(char*& cursor, CHtmlWord& word);
    bool ScanMarkup(char*& cursor, CHtmlWord& word);
    void AddWord(CHtmlWord& word);
    char* FindTagEnd(char* cursor);
    void DispatchTag(const CMsString& name, int isOpen, CHtmlAttribList& attribs);
    void LinkAnchors();
    static void JoinLink(CHtmlElement* anchor, CHtmlElementBuffer& members);

    CHaleSimpleHtmlCtrl* m_owner;
    CHtmlElementList& m_elements;
    CHtmlAttribList& m_bodyAttribs;
    CFontNameIndex m_fontNames;
    TextEncoding m_encoding;
    RunSplitter m_runs;
    // New elements wait here and join the element list in one step.
    CHtmlElementBuffer m_pending;
    // The tag being read; kept from tag to tag so that its storage is reused.
    CMsString m_tagName;
    CHtmlAttribList m_tagAttribs;
    // Set once a search for ">" from here found none; later searches from
    // further on need not look again.
    const char* m_noTagEndFrom;
};
