// The HTML parser: text preparation, sections, words, spaces, entities,
// comments, tags, fonts, links and hostile input.
#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "html/CStringTokenizer.h"
#include "html/HtmlParser.h"
#include "html/HtmlScan.h"
#include "html/HtmlTrace.h"
#include "support/CodePage932.h"
#include "support/HtmlTraceRecorder.h"

namespace {

std::string Str(const CMsString& text) { return std::string(static_cast<const char*>(text)); }

const char* TagName(int kind) {
    switch (kind) {
    case HEK_CENTER: return "center";
    case HEK_P: return "p";
    case HEK_B: return "b";
    case HEK_I: return "i";
    case HEK_A: return "a";
    case HEK_FONT: return "font";
    case HEK_HEADING: return "h";
    case HEK_IMG: return "img";
    default: return "?";
    }
}

// One token per element: 'word' for text, _ for a space, br for a break, and
// <tag> or </tag> for markers (a heading carries its size: <h2>).
std::string Describe(const CHtmlElement& element) {
    switch (element.kind) {
    case HEK_TEXT:
        return "'" + Str(element.GetAttrib("value")) + "'";
    case HEK_SPACE:
        return Str(element.GetAttrib("value")) == " " ? "_" : "_?";
    case HEK_BR:
        return element.isOpen ? "br" : "/br";
    default:
        break;
    }
    std::string name = TagName(element.kind);
    if (element.kind == HEK_HEADING) name += Str(element.GetAttrib("size"));
    return std::string(element.isOpen ? "<" : "</") + name + ">";
}

CHaleSimpleHtmlCtrl* FakeOwner() {
    static int marker;
    return reinterpret_cast<CHaleSimpleHtmlCtrl*>(&marker);
}

class ParserTest : public testing::Test {
protected:
    void SetUp() override {
        // Stand-ins for the control's defaults, so tests see what the body tag changes.
        body.SetAttribNumber("text", 0x000001, AT_COLOR);
        body.SetAttribNumber("bgcolor", 0x000002, AT_COLOR);
        body.SetAttrib("scroll", "yes");
        fonts.Add("Arial");
        fonts.Add("Courier New");
    }

    std::string Parse(const char* text, TextEncoding encoding = TEXT_CODE_PAGE,
                      const SystemLineBreaker* lineBreaker = nullptr) {
        CHtmlParser parser(FakeOwner(), elements, body, fonts, encoding, lineBreaker);
        parser.Parse(text);
        return Elements();
    }

    std::string Elements() const {
        std::string out;
        CHtmlElementCursor cursor;
        while (elements.Next(cursor)) {
            if (!out.empty()) out += " ";
            out += Describe(*cursor.current);
        }
        return out;
    }

    CHtmlElement* Find(int kind, int nth = 0) const {
        for (int i = 0; i < elements.count; ++i) {
            CHtmlElement* element = elements.GetAt(i);
            if (element->kind == kind && nth-- == 0) return element;
        }
        return nullptr;
    }

    std::string Members(const CHtmlElement* anchor) const {
        std::string out;
        for (int i = 0; i < anchor->linkMembers.count; ++i) {
            if (!out.empty()) out += " ";
            out += Describe(*anchor->linkMembers.GetAt(i));
        }
        return out;
    }

    CHtmlElementList elements;
    CHtmlAttribList body;
    StringList fonts;
    HtmlTraceRecorder trace;
};

using Tags = std::vector<std::string>;

// The same result by the slow route: repeated replacement until nothing changes.
std::string PreparedByRepetition(std::string text) {
    auto replaceAll = [&text](const std::string& from, const std::string& to) {
        bool changed = false;
        for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
            text.replace(at, from.size(), to);
            changed = true;
        }
        return changed;
    };
    replaceAll("\r\n", " ");
    for (char c : {'\r', '\n', '\t'}) replaceAll(std::string(1, c), " ");
    while (replaceAll("  ", " ")) {
    }
    return text;
}

std::vector<std::string> Tokens(const char* text, const char* separators) {
    CStringTokenizer tokenizer(text, separators);
    std::vector<std::string> tokens;
    CMsString token;
    while (tokenizer.NextToken(token)) tokens.push_back(Str(token));
    EXPECT_TRUE(token.IsEmpty());
    EXPECT_FALSE(tokenizer.NextToken(token));
    return tokens;
}

double SecondsToParse(const std::string& text) {
    CHtmlElementList elements;
    CHtmlAttribList body;
    StringList fonts;
    fonts.Add("Arial");
    auto start = std::chrono::steady_clock::now();
    CHtmlParser(FakeOwner(), elements, body, fonts).Parse(text.c_str());
    auto stop = std::chrono::steady_clock::now();
    return std::chrono::duration<double>(stop - start).count();
}

std::string Repeat(const std::string& piece, size_t totalBytes) {
    std::string out;
    while (out.size() < totalBytes) out += piece;
    return out;
}

}  // namespace

TEST(TextPreparation, LineEndsAndTabsBecomeSingleBlanks) {
    EXPECT_EQ("a b", Str(PrepareHtmlText("a\r\n\r\nb")));
    EXPECT_EQ("a b c", Str(PrepareHtmlText("a\t\tb\n\rc")));
    EXPECT_EQ(" x ", Str(PrepareHtmlText("  \r\r\n\nx \t ")));
    EXPECT_EQ("", Str(PrepareHtmlText("")));
    EXPECT_EQ("", Str(PrepareHtmlText(nullptr)));
}

TEST(TextPreparation, OnePassMatchesRepeatedPairReplacement) {
    const char alphabet[] = {' ', '\t', '\r', '\n', 'a', '<'};
    unsigned seed = 12345;
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        int length = static_cast<int>(seed % 24);
        for (int i = 0; i < length; ++i) {
            seed = seed * 1103515245u + 12345u;
            text += alphabet[(seed >> 16) % sizeof alphabet];
        }
        seed = seed * 1103515245u + 12345u;
        ASSERT_EQ(PreparedByRepetition(text), Str(PrepareHtmlText(text.c_str()))) << round;
    }
}

TEST(Sections, ContentAndAttributesOfTheFirstSection) {
    CMsString attribs("stale");
    EXPECT_EQ("x", Str(ExtractTagContent("<BODY A=1 >  x </Body>", "body", &attribs)));
    EXPECT_EQ("A=1", Str(attribs));
    // The opener and closer are plain substrings: "<b" matches inside "<body".
    EXPECT_EQ("t", Str(ExtractTagContent("<body>t</body>", "b", &attribs)));
    EXPECT_EQ("ody", Str(attribs));
}

TEST(Sections, MissingPiecesGiveNothing) {
    CMsString attribs("stale");
    EXPECT_EQ("", Str(ExtractTagContent("<body x=1>text", "body", &attribs)));
    EXPECT_EQ("", Str(attribs));
    EXPECT_EQ("", Str(ExtractTagContent("<body>x</body", "body", nullptr)));
    EXPECT_EQ("", Str(ExtractTagContent("", "body", nullptr)));
    EXPECT_EQ("", Str(ExtractTagContent("<body>x</body>", "", nullptr)));
    EXPECT_EQ("", Str(ExtractTagContent("<body>x</body>", nullptr, nullptr)));
}

TEST(Sections, CloserBeforeOpenerGivesEmptyContentButKeepsAttributes) {
    CMsString attribs;
    EXPECT_EQ("", Str(ExtractTagContent("</body> <body bgcolor=#000000>", "body", &attribs)));
    EXPECT_EQ("bgcolor=#000000", Str(attribs));
    // An opener without its own ">" runs to the closer's.
    EXPECT_EQ("", Str(ExtractTagContent("<body x=1 text</body>", "body", &attribs)));
    EXPECT_EQ("x=1 text</body", Str(attribs));
}

TEST(ScanSteps, BlanksAndEntitiesAtTheCursor) {
    char text[] = "   &AMP;x";
    char* cursor = text;
    SkipBlanks(cursor);
    EXPECT_EQ(text + 3, cursor);
    EXPECT_FALSE(ReplaceEntity(cursor, "&lt;", "<"));
    EXPECT_EQ(text + 3, cursor);
    EXPECT_TRUE(ReplaceEntity(cursor, "&amp;", "&"));
    EXPECT_EQ(text + 7, cursor);
    EXPECT_EQ('&', *cursor);
    EXPECT_FALSE(ReplaceEntity(cursor, "", "&"));
    EXPECT_FALSE(ReplaceEntity(cursor, "&amp;", ""));

    char cut[] = "&am";
    char* at = cut;
    EXPECT_FALSE(ReplaceEntity(at, "&amp;", "&"));
    EXPECT_EQ(cut, at);
}

TEST(Tokenizer, SplitsAtAnySeparatorAndNeverYieldsEmptyTokens) {
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), Tokens("a,,b", ","));
    EXPECT_EQ((std::vector<std::string>{"a"}), Tokens(",,a,", ","));
    EXPECT_EQ((std::vector<std::string>{" "}), Tokens(", ,", ","));
    EXPECT_EQ((std::vector<std::string>{"x", "y", " z"}), Tokens("x;y, z", ",;"));
    EXPECT_TRUE(Tokens("", ",").empty());
    EXPECT_TRUE(Tokens(",,,", ",").empty());
    EXPECT_TRUE(Tokens(nullptr, ",").empty());
}

TEST_F(ParserTest, EmptyTextLeavesElementsEmptyAndBodyDefaults) {
    EXPECT_EQ("", Parse(""));
    EXPECT_EQ("#000001", Str(body.GetAttrib("text")));
    EXPECT_EQ("yes", Str(body.GetAttrib("scroll")));
    EXPECT_EQ(0, elements.textSeen);
}

TEST_F(ParserTest, WordsAndTheSpaceRule) {
    EXPECT_EQ("'Hello' _ 'world'", Parse("Hello   world"));
    elements.RemoveAll();
    EXPECT_EQ("'Hi'", Parse("  Hi"));
    elements.RemoveAll();
    EXPECT_EQ("'a' _ 'b' _ 'c' _ 'd'", Parse("a\r\nb\tc\n\n d"));
}

TEST_F(ParserTest, SpacesAfterTagsAndAtTheEndRemain) {
    EXPECT_EQ("<b> 'x' </b> _", Parse("<b> x</b> "));
    elements.RemoveAll();
    EXPECT_EQ("'x' _ <b> _ 'y'", Parse("x <b> y"));
    elements.RemoveAll();
    EXPECT_EQ("'Hello' _", Parse("Hello "));
    elements.RemoveAll();
    EXPECT_EQ("'a' _ 'b'", Parse("a <u> b"));
}

TEST_F(ParserTest, SpaceRuleFollowsTheListNotTheCall) {
    // A word already in the list lets a later parse start with a space.
    CHtmlParser(FakeOwner(), elements, body, fonts).Parse("x");
    EXPECT_EQ("'x' _ 'y'", Parse(" y"));
}

TEST_F(ParserTest, NonBreakingSpacesAreWordsOfOneBlank) {
    EXPECT_EQ("'a' ' ' ' ' 'b'", Parse("a&nbsp;&nbsp;b"));
    elements.RemoveAll();
    EXPECT_EQ("' ' 'x'", Parse("&NBSP;x"));
}

TEST_F(ParserTest, EntitiesMatchWithoutRegardToCase) {
    EXPECT_EQ("'x' _ '<' _ 'y'", Parse("x &LT; y"));
    elements.RemoveAll();
    EXPECT_EQ("'AT&T'", Parse("AT&T"));
    elements.RemoveAll();
    EXPECT_EQ("'\"q\"' _ '<b>' _ '&'", Parse("&quot;q&Quot; &lt;b&gt; &"));
    EXPECT_TRUE(trace.UnsupportedTags().empty());
}

TEST_F(ParserTest, AReplacementIsAnOrdinaryCharacter) {
    EXPECT_EQ("'&lt;'", Parse("&amp;lt;"));
    elements.RemoveAll();
    EXPECT_EQ("'&nbsp' _ '&amp'", Parse("&nbsp &amp"));
}

TEST_F(ParserTest, CommentsDisappearWithoutEndingTheWord) {
    EXPECT_EQ("'text'", Parse("<!-- c --> text"));
    elements.RemoveAll();
    EXPECT_EQ("'x'", Parse("<!---->x"));
    elements.RemoveAll();
    EXPECT_EQ("'abcd'", Parse("ab<!-- x -->cd"));
    elements.RemoveAll();
    EXPECT_EQ("'a' 'b'", Parse("a<!-- <b> -->"
                               "<i_>b"));
    EXPECT_EQ((Tags{"i_"}), trace.UnsupportedTags());
}

TEST_F(ParserTest, AnUnterminatedCommentEndsTheScan) {
    EXPECT_EQ("'ab'", Parse("ab<!-- never closed <b>x</b>"));
    elements.RemoveAll();
    EXPECT_EQ("'ab' _", Parse("ab <!-- never"));
    elements.RemoveAll();
    EXPECT_EQ("'a' '!-b'", Parse("a<!-b"));
    EXPECT_EQ((Tags{}), trace.UnsupportedTags());
}

TEST_F(ParserTest, StartAndEndTagsBecomeMarkers) {
    EXPECT_EQ("<b> 'bold' </b>", Parse("<B>bold</B>"));
    elements.RemoveAll();
    EXPECT_EQ("<center> <i> 'x' </i> </center>", Parse("<Center><i>x</I></center>"));
}

TEST_F(ParserTest, BreaksAreAlwaysOpenAndNeedABlankBeforeASlash) {
    EXPECT_EQ("'line' br 'next'", Parse("line<br>next"));
    elements.RemoveAll();
    EXPECT_EQ("'line' br 'next'", Parse("line</br>next"));
    elements.RemoveAll();
    EXPECT_EQ("'a' br 'b'", Parse("a<br />b"));
    elements.RemoveAll();
    EXPECT_EQ("'a' 'b'", Parse("a<br/>b"));
    EXPECT_EQ((Tags{"br/"}), trace.UnsupportedTags());
}

TEST_F(ParserTest, HeadingsKeepOnlyTheirSize) {
    EXPECT_EQ("<h2> 'T' </h2>", Parse("<h2 align=center>T</h2>"));
    EXPECT_EQ(1, Find(HEK_HEADING)->attribs.count);
    elements.RemoveAll();
    EXPECT_EQ("<h1> </h6>", Parse("<H1 size=5></h6>"));
    EXPECT_EQ(1, Find(HEK_HEADING)->attribs.count);
    elements.RemoveAll();
    EXPECT_EQ("", Parse("<h7><h0>"));
    EXPECT_EQ((Tags{"h7", "h0"}), trace.UnsupportedTags());
}

TEST_F(ParserTest, ParagraphsAnchorsAndImagesKeepTheirValidAttributes) {
    Parse("<p align=center>x</p><a href=\"u\" target=_blank>y</a><img src=\"rsrc://7\" width=12>");
    CHtmlElement* paragraph = Find(HEK_P);
    ASSERT_NE(nullptr, paragraph);
    EXPECT_EQ(0, paragraph->attribs.count);
    CHtmlElement* anchor = Find(HEK_A);
    ASSERT_NE(nullptr, anchor);
    EXPECT_EQ(1, anchor->attribs.count);
    EXPECT_EQ("u", Str(anchor->GetAttrib("href")));
    CHtmlElement* image = Find(HEK_IMG);
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(1, image->isOpen);
    EXPECT_EQ("rsrc://7", Str(image->GetAttrib("src")));
    EXPECT_EQ(12, image->GetAttribNumber("width", 0, AT_UINT));
    CHtmlElement* anchorEnd = Find(HEK_A, 1);
    ASSERT_NE(nullptr, anchorEnd);
    EXPECT_EQ(0, anchorEnd->isOpen);
    EXPECT_EQ(0, anchorEnd->attribs.count);
}

TEST_F(ParserTest, UnsupportedTagsAreReportedByTheirBareNames) {
    EXPECT_EQ("'T' 'Hi'", Parse("<html><head><title>T</title></head>Hi</html>"));
    EXPECT_EQ((Tags{"head", "title", "title", "head"}), trace.UnsupportedTags());
}

TEST_F(ParserTest, ALessThanWithoutGreaterThanIsDropped) {
    EXPECT_EQ("'a' 'b'", Parse("a<b"));
    elements.RemoveAll();
    EXPECT_EQ("'x'", Parse("<<<x"));
    EXPECT_TRUE(trace.UnsupportedTags().empty());
}

TEST_F(ParserTest, TextBetweenALessThanAndALaterGreaterThanIsLost) {
    EXPECT_EQ("'a' _ 'd'", Parse("a < b and c > d"));
    EXPECT_EQ((Tags{""}), trace.UnsupportedTags());
}

TEST_F(ParserTest, ATagEndsAtItsFirstGreaterThanEvenInQuotes) {
    EXPECT_EQ("<a> '2\">x'", Parse("<a href=\"1>2\">x"));
    EXPECT_EQ("1", Str(Find(HEK_A)->GetAttrib("href")));
}

TEST_F(ParserTest, BodyTagAttributesOverwriteTheDefaults) {
    EXPECT_EQ("'x'", Parse("<body bgcolor=\"#FFFFFF\" text=\"#000080\">x</body>"));
    EXPECT_EQ("#FFFFFF", Str(body.GetAttrib("bgcolor")));
    EXPECT_EQ("#800000", Str(body.GetAttrib("text")));
    EXPECT_EQ("yes", Str(body.GetAttrib("scroll")));
    EXPECT_TRUE(trace.UnsupportedTags().empty());
}

TEST_F(ParserTest, OnlyTheBodySectionIsShown) {
    EXPECT_EQ("'B'", Parse("<html><head><title>T</title></head><BODY scroll=no>B</BODY></html>tail"));
    EXPECT_EQ("no", Str(body.GetAttrib("scroll")));
    EXPECT_TRUE(trace.UnsupportedTags().empty());
    elements.RemoveAll();
    EXPECT_EQ("'in'", Parse("<html> in </html> out"));
}

TEST_F(ParserTest, ABodyWithoutItsCloserIsAnOrdinaryTag) {
    EXPECT_EQ("'x'", Parse("<body scroll=no>x"));
    EXPECT_EQ("yes", Str(body.GetAttrib("scroll")));
    EXPECT_EQ((Tags{"body"}), trace.UnsupportedTags());
}

TEST_F(ParserTest, FontFaceTakesTheFirstInstalledFontAsWritten) {
    Parse("<font face=\"NoSuchFont, arial\">a</font>"
          "<font face=\"Gone, None\">b</font>"
          "<font face=\" , courier new ,Arial\" size=3>c</font>"
          "<font size=2>d</font>");
    EXPECT_EQ("arial", Str(Find(HEK_FONT, 0)->GetAttrib("face")));
    EXPECT_EQ("Gone, None", Str(Find(HEK_FONT, 2)->GetAttrib("face")));
    EXPECT_EQ("courier new", Str(Find(HEK_FONT, 4)->GetAttrib("face")));
    EXPECT_EQ(3, Find(HEK_FONT, 4)->GetAttribNumber("size", 0, AT_UINT));
    EXPECT_EQ(nullptr, Find(HEK_FONT, 6)->attribs.FindAttrib("face"));
}

TEST_F(ParserTest, FontFaceStaysAsWrittenWithoutInstalledFonts) {
    fonts.RemoveAll();
    Parse("<font face=\"Arial\">a</font>");
    EXPECT_EQ("Arial", Str(Find(HEK_FONT)->GetAttrib("face")));
    elements.RemoveAll();
    CHtmlAttribList attribs;
    attribs.SetAttrib("face", "x,Arial");
    fonts.Add("ARIAL");
    CHtmlParser(FakeOwner(), elements, body, fonts).ResolveFontFace(attribs);
    EXPECT_EQ("Arial", Str(attribs.GetAttrib("face")));
}

TEST_F(ParserTest, AnchorsWithoutHrefLinkNothing) {
    EXPECT_EQ("<a> 'x' </a>", Parse("<a>x</a>"));
    EXPECT_EQ(0, Find(HEK_A)->linkMembers.count);
    EXPECT_EQ(nullptr, Find(HEK_TEXT)->linkAnchor);
}

TEST_F(ParserTest, LinkMembersAreEverythingUpToTheEndTag) {
    Parse("<a href=\"u\">x <b>y</b></a> z");
    CHtmlElement* anchor = Find(HEK_A);
    EXPECT_EQ("'x' _ <b> 'y' </b>", Members(anchor));
    for (int i = 0; i < anchor->linkMembers.count; ++i) {
        EXPECT_EQ(anchor, anchor->linkMembers.GetAt(i)->linkAnchor);
    }
    EXPECT_EQ(nullptr, anchor->linkAnchor);
    EXPECT_EQ(nullptr, Find(HEK_A, 1)->linkAnchor);
    EXPECT_EQ(nullptr, Find(HEK_TEXT, 2)->linkAnchor);
}

TEST_F(ParserTest, NestedAnchorsAreNotStacked) {
    Parse("<a href=\"1\">p<a href=\"2\">q</a>r</a>s<a href=\"3\">t<a>u</a>");
    CHtmlElement* first = Find(HEK_A, 0);
    CHtmlElement* second = Find(HEK_A, 1);
    CHtmlElement* third = Find(HEK_A, 4);
    EXPECT_EQ("'p'", Members(first));
    EXPECT_EQ("'q'", Members(second));
    EXPECT_EQ("'t' 'u'", Members(third));
    EXPECT_EQ(nullptr, Find(HEK_TEXT, 2)->linkAnchor);
    EXPECT_EQ(nullptr, Find(HEK_TEXT, 3)->linkAnchor);
    EXPECT_EQ(third, Find(HEK_TEXT, 5)->linkAnchor);
    EXPECT_EQ(0, Find(HEK_A, 5)->linkMembers.count);
}

TEST_F(ParserTest, ElementsCarryTheOwnerAndFreshLayoutFields) {
    Parse("<b>x</b>");
    for (int i = 0; i < elements.count; ++i) {
        EXPECT_EQ(FakeOwner(), elements.GetAt(i)->owner);
        EXPECT_EQ(-1, elements.GetAt(i)->x);
    }
    EXPECT_EQ(1, elements.textSeen);
}

TEST_F(ParserTest, BytesAboveAsciiAreCopiedUnchanged) {
    // Under 932 "\xFC" starts a double-byte character, which takes the blank.
    const char* expected = UnderCodePage932() ? "'\xE4\xF6\xFC \xA0'" : "'\xE4\xF6\xFC' _ '\xA0'";
    EXPECT_EQ(expected, Parse("\xE4\xF6\xFC \xA0"));
}

TEST(HtmlTrace, ReportsArePrefixedAndCutAt1023Characters) {
    HtmlTraceRecorder trace;
    HtmlTrace("Unsupported HTML tag \"%s\"", "u");
    std::string longText(3000, 'x');
    HtmlTrace("%s", longText.c_str());
    ASSERT_EQ(2u, trace.Texts().size());
    EXPECT_EQ("CHaleSimpleHtmlCtrl: Unsupported HTML tag \"u\"\n", trace.Texts()[0]);
    EXPECT_EQ("CHaleSimpleHtmlCtrl: " + std::string(1023, 'x') + "\n", trace.Texts()[1]);
}

// %n stores how many characters were formatted up to it, so it shows whether
// a text was formatted at all.
TEST(HtmlTrace, NothingIsFormattedWithoutAnObserver) {
    for (bool observed : {false, true}) {
        std::unique_ptr<HtmlTraceRecorder> trace(observed ? new HtmlTraceRecorder : nullptr);
        int traced = -1, noOp = -1;
        HtmlTrace("quiet%n", &traced);
        NoOpTrace("quiet%n", &noOp);
        EXPECT_EQ(observed ? 5 : -1, traced) << observed;
        EXPECT_EQ(observed ? 5 : -1, noOp) << observed;
        EXPECT_EQ(observed ? 2u : 0u, trace ? trace->Texts().size() : 0u);
    }
}

// Hostile input: each case takes a few seconds at most when the work is linear,
// and tens of seconds or more when some step is quadratic in the length.
TEST(HostileInput, LongRunsParseInLinearishTime) {
    const size_t size = 200 * 1024;
    struct Case {
        const char* name;
        std::string text;
    } cases[] = {
        {"blanks", "a" + std::string(size, ' ') + "b"},
        {"line ends", "a" + Repeat("\r\n", size) + "b"},
        {"one word", std::string(size, 'w')},
        {"less-thans", std::string(size, '<')},
        {"unclosed comment", "x<!--" + std::string(size, '-')},
        {"words", Repeat("word ", size)},
        {"entities", Repeat("&nbsp;&amp;&lt", size)},
        {"unclosed tags", Repeat("<b>", 5000 * 3) + "text"},
        {"unclosed fonts", Repeat("<font face=\"a,b,Arial\" color=#123456 size=9>", size)},
        {"anchor", "<a href=x>" + Repeat("m ", size)},
        {"attributes", "<p " + Repeat("size=1 ", size) + ">"},
        {"mixed", Repeat("<p>Hello <b>world</b> &amp; <a href=\"u\">link</a><br>\r\n", size)},
    };
    for (const Case& c : cases) {
        double seconds = SecondsToParse(c.text);
        printf("%-18s %7.3f s\n", c.name, seconds);
        EXPECT_LT(seconds, 10.0) << c.name;
    }
}

TEST(HostileInput, ManyUnclosedTagsAllBecomeElements) {
    CHtmlElementList elements;
    CHtmlAttribList body;
    StringList fonts;
    std::string text = Repeat("<i>", 5000 * 3);
    CHtmlParser(FakeOwner(), elements, body, fonts).Parse(text.c_str());
    EXPECT_EQ(5000, elements.count);
    EXPECT_EQ(HEK_I, elements.GetAt(4999)->kind);
}

// Words, tags, entities, attribute values and face names next to double-byte
// characters whose trail byte is ASCII punctuation or a letter.
TEST_F(ParserTest, DoubleByteCharactersStayWhole) {
    SKIP_UNLESS_CODE_PAGE_932();
    const struct {
        const char* html;
        const char* elements;
    } rows[] = {
        {"\x95\x5C\x8E\xA6 \x83\x5C", "'\x95\x5C\x8E\xA6' _ '\x83\x5C'"},
        {"\x83\x40<b>\x83\x5B|</b>\x83\x7C", "'\x83\x40' <b> '\x83\x5B|' </b> '\x83\x7C'"},
        {"\x95\x5C&amp;\x83\x5C&nbsp;\x83\x41", "'\x95\x5C&\x83\x5C' ' ' '\x83\x41'"},
        {"\x83\x41<BODY>\x83\x5C\t\x83\x61</BODY>", "'\x83\x5C' _ '\x83\x61'"},
    };
    for (const auto& row : rows) {
        elements.RemoveAll();
        EXPECT_EQ(row.elements, Parse(row.html)) << row.html;
    }
}

TEST_F(ParserTest, DoubleByteAttributeValuesAndFaceNamesStayWhole) {
    SKIP_UNLESS_CODE_PAGE_932();
    // 歯 ends in a byte that could start a character: the blank after it
    // still ends the unquoted value.
    Parse("<a href=\x8E\x95 title=x>y</a>");
    EXPECT_EQ("\x8E\x95", Str(Find(HEK_A)->GetAttrib("href")));
    // ゴシック is installed; ピシック differs only in a trail byte that a
    // letter fold would make equal.
    fonts.Add("\x83\x53\x83\x56\x83\x62\x83\x4E");
    elements.RemoveAll();
    Parse("<font face=\"\x83\x73\x83\x56\x83\x62\x83\x4E, Arial\">a</font>"
          "<font face=\" \x83\x53\x83\x56\x83\x62\x83\x4E \">b</font>");
    EXPECT_EQ("Arial", Str(Find(HEK_FONT, 0)->GetAttrib("face")));
    EXPECT_EQ("\x83\x53\x83\x56\x83\x62\x83\x4E", Str(Find(HEK_FONT, 2)->GetAttrib("face")));
}

TEST(Tokenizer, DoubleByteTrailBytesAreNeverSeparators) {
    SKIP_UNLESS_CODE_PAGE_932();
    EXPECT_EQ((std::vector<std::string>{"\x95\x5C", "\x83\x5C"}), Tokens("\x95\x5C\\\x83\x5C\\", "\\"));
    EXPECT_EQ((std::vector<std::string>{"\x83\x7C", "\x83\x40"}), Tokens("|\x83\x7C|@\x83\x40", "|@"));
}

// A UTF-8 document is scanned byte by byte: under a double-byte code page the
// bytes of あ (E3 81 82) would pair "82" with the "<", "&" or "," after it.
// Given a line breaker, its words are cut where a line may break, Latin
// words are not.
TEST_F(ParserTest, Utf8DocumentsAreScannedInUtf8AndCutAtLineBreaks) {
    const SystemLineBreaker ownRule = {nullptr, nullptr};
    const struct {
        const char* html;
        const char* elements;
    } rows[] = {
        {"\xE3\x81\x82<b>\xE6\x97\xA5\xE6\x9C\xAC</b>", "'\xE3\x81\x82' <b> '\xE6\x97\xA5' '\xE6\x9C\xAC' </b>"},
        {"\xE3\x81\x82&amp; caf\xC3\xA9-bar", "'\xE3\x81\x82' '&' _ 'caf\xC3\xA9-bar'"},
        {"<body>\xE3\x81\x82\xE3\x80\x82</body>", "'\xE3\x81\x82\xE3\x80\x82'"},
    };
    for (const auto& row : rows) {
        elements.RemoveAll();
        EXPECT_EQ(row.elements, Parse(row.html, TEXT_UTF8, &ownRule)) << row.html;
    }
    elements.RemoveAll();
    Parse("<font face=\"\xE3\x81\x82,Arial\">a</font>", TEXT_UTF8);
    EXPECT_EQ("Arial", Str(Find(HEK_FONT)->GetAttrib("face")));
}
