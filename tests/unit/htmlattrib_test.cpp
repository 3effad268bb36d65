// Attribute grammars, colour order, number reading, the attribute list and the
// element model.
#include <climits>
#include <gtest/gtest.h>
#include <string>

#include "html/HtmlAttrib.h"
#include "html/HtmlElement.h"
#include "html/HtmlElementBuffer.h"
#include "html/HtmlWord.h"
#include "support/HtmlTraceRecorder.h"

namespace {

std::string Str(const CMsString& text) { return std::string(static_cast<const char*>(text)); }

// "name=value;name=value" in list order, so order, names and values are all checked.
std::string Describe(const CHtmlAttribList& list) {
    std::string out;
    for (int i = 0; i < list.count; ++i) {
        const CHtmlAttrib* attrib = list.GetAttribAt(i);
        if (!attrib) continue;
        if (!out.empty()) out += ";";
        out += Str(attrib->name) + "=" + Str(attrib->value);
    }
    return out;
}

std::string Parsed(const char* attribText) {
    CHtmlAttribList list;
    list.ParseAttribs(attribText);
    return Describe(list);
}

CHaleSimpleHtmlCtrl* FakeOwner() {
    static int marker;
    return reinterpret_cast<CHaleSimpleHtmlCtrl*>(&marker);
}

}  // namespace

TEST(AttribGrammar, NamesAreLookedUpWithoutRegardToAsciiCase) {
    EXPECT_EQ(AT_UINT, GetAttribType("size"));
    EXPECT_EQ(AT_UINT, GetAttribType("SIZE"));
    EXPECT_EQ(AT_STRING, GetAttribType("Href"));
    EXPECT_EQ(AT_COLOR, GetAttribType("bgColor"));
    EXPECT_EQ(AT_UINT, GetAttribType("Point-Size"));
    EXPECT_EQ(AT_BOOL, GetAttribType("scroll"));
    EXPECT_EQ(AT_UINT, GetAttribType("vspace"));
    EXPECT_EQ(AT_COLOR, GetAttribType("vlink"));
    EXPECT_EQ(AT_NONE, GetAttribType("align"));
    EXPECT_EQ(AT_NONE, GetAttribType("href "));
    EXPECT_EQ(AT_NONE, GetAttribType("siz"));
    EXPECT_EQ(AT_NONE, GetAttribType("sizes"));
    EXPECT_EQ(AT_NONE, GetAttribType(""));
    EXPECT_EQ(AT_NONE, GetAttribType(nullptr));
}

TEST(AttribGrammar, EveryNameOfTheTableHasItsGrammar) {
    const char* uintNames[] = {"size", "point-size", "weight", "leftmargin", "rightmargin",
                               "topmargin", "width", "height", "hspace", "vspace"};
    const char* colorNames[] = {"color", "linkcolor", "bgcolor", "text", "link", "alink", "vlink"};
    const char* stringNames[] = {"value", "face", "href", "src"};
    for (const char* name : uintNames) EXPECT_EQ(AT_UINT, GetAttribType(name)) << name;
    for (const char* name : colorNames) EXPECT_EQ(AT_COLOR, GetAttribType(name)) << name;
    for (const char* name : stringNames) EXPECT_EQ(AT_STRING, GetAttribType(name)) << name;
}

TEST(AttribGrammar, EmptyNamesAndValuesAndUnknownNamesAreNeverValid) {
    EXPECT_FALSE(IsValidAttribValue("href", ""));
    EXPECT_FALSE(IsValidAttribValue("", "x"));
    EXPECT_FALSE(IsValidAttribValue(nullptr, "x"));
    EXPECT_FALSE(IsValidAttribValue("href", nullptr));
    EXPECT_FALSE(IsValidAttribValue("align", "center"));
    EXPECT_TRUE(IsValidAttribValue("href", " "));
}

TEST(AttribGrammar, UnsignedNumbersAreDigitsOnly) {
    EXPECT_TRUE(IsValidAttribValue("size", "3"));
    EXPECT_TRUE(IsValidAttribValue("width", "0012"));
    EXPECT_FALSE(IsValidAttribValue("size", "+1"));
    EXPECT_FALSE(IsValidAttribValue("size", "-1"));
    EXPECT_FALSE(IsValidAttribValue("size", " 3"));
    EXPECT_FALSE(IsValidAttribValue("size", "3px"));
    EXPECT_FALSE(IsValidAttribValue("height", "1.5"));
}

TEST(AttribGrammar, ColoursNeedAHashAndSixHexDigits) {
    EXPECT_TRUE(IsValidAttribValue("color", "#0000ff"));
    EXPECT_TRUE(IsValidAttribValue("color", "#A0b1C2"));
    EXPECT_FALSE(IsValidAttribValue("color", "#fff"));
    EXPECT_FALSE(IsValidAttribValue("color", "red"));
    EXPECT_FALSE(IsValidAttribValue("color", "0000ff"));
    EXPECT_FALSE(IsValidAttribValue("color", "#0000fg"));
    EXPECT_FALSE(IsValidAttribValue("color", "#0000ff0"));
    EXPECT_FALSE(IsValidAttribValue("color", "#"));
}

TEST(AttribGrammar, BooleansAcceptYesNoOneZeroInAnyCase) {
    for (const char* value : {"YES", "No", "yes", "nO", "1", "0"}) {
        EXPECT_TRUE(IsValidAttribValue("scroll", value)) << value;
    }
    for (const char* value : {"true", "y", "2", "yes ", "noo"}) {
        EXPECT_FALSE(IsValidAttribValue("scroll", value)) << value;
    }
}

TEST(AttribGrammar, HexColourTextWithAndWithoutLength) {
    EXPECT_TRUE(IsHexColor("#", -1));
    EXPECT_TRUE(IsHexColor("#abcDEF0123", -1));
    EXPECT_TRUE(IsHexColor("#abc", 0));
    EXPECT_FALSE(IsHexColor("#", 6));
    EXPECT_FALSE(IsHexColor("#abcde", 6));
    EXPECT_TRUE(IsHexColor("#abcdef", 6));
    EXPECT_FALSE(IsHexColor("#abcdeg", -1));
    EXPECT_FALSE(IsHexColor("abcdef", -1));
    EXPECT_FALSE(IsHexColor("", -1));
    EXPECT_FALSE(IsHexColor(nullptr, -1));
}

TEST(AttribNumber, DecimalReadsAValidPrefix) {
    EXPECT_EQ(12, ParseAttribNumber("12px", -1, AT_UINT));
    EXPECT_EQ(-1, ParseAttribNumber("px", -1, AT_UINT));
    EXPECT_EQ(7, ParseAttribNumber(nullptr, 7, AT_UINT));
    EXPECT_EQ(7, ParseAttribNumber("", 7, AT_UINT));
    EXPECT_EQ(42, ParseAttribNumber("  42", 0, AT_INT));
    EXPECT_EQ(-5, ParseAttribNumber("-5", 0, AT_UINT));
    EXPECT_EQ(7, ParseAttribNumber("+7", 0, AT_UINT));
    EXPECT_EQ(9, ParseAttribNumber("-", 9, AT_UINT));
    EXPECT_EQ(12, ParseAttribNumber("#12", 0, AT_UINT));
    EXPECT_EQ(0, ParseAttribNumber("0x1F", 5, AT_UINT));
}

TEST(AttribNumber, HexadecimalSkipsOneHash) {
    EXPECT_EQ(-1, ParseAttribNumber("#", -1, AT_HEXCOLOR));
    EXPECT_EQ(0xFF, ParseAttribNumber("#0000FF", 0, AT_COLOR));
    EXPECT_EQ(0xABCDEF, ParseAttribNumber("#abcdef", 0, AT_COLOR));
    EXPECT_EQ(0xFF, ParseAttribNumber("ff", 0, AT_HEXCOLOR));
    EXPECT_EQ(0x1A, ParseAttribNumber("#0x1A", 0, AT_HEXCOLOR));
    EXPECT_EQ(0x12, ParseAttribNumber("#12zz", 0, AT_HEXCOLOR));
    EXPECT_EQ(3, ParseAttribNumber("##12", 3, AT_HEXCOLOR));
    EXPECT_EQ(3, ParseAttribNumber("#zz", 3, AT_COLOR));
}

TEST(AttribNumber, HostileNumbersStayDefined) {
    EXPECT_EQ(INT_MAX, ParseAttribNumber("2147483647", 0, AT_UINT));
    EXPECT_EQ(INT_MAX, ParseAttribNumber("2147483648", 0, AT_UINT));
    EXPECT_EQ(INT_MAX, ParseAttribNumber("99999999999999999999999999999", 0, AT_UINT));
    EXPECT_EQ(INT_MIN, ParseAttribNumber("-2147483648", 0, AT_INT));
    EXPECT_EQ(INT_MIN, ParseAttribNumber("-99999999999999999999999999999", 0, AT_INT));
    std::string manyDigits(100000, '9');
    EXPECT_EQ(INT_MAX, ParseAttribNumber(manyDigits.c_str(), 0, AT_UINT));
    EXPECT_EQ(0xFFFFFFFFu, static_cast<unsigned>(ParseAttribNumber("#FFFFFFFF", 0, AT_HEXCOLOR)));
    EXPECT_EQ(0xFFFFFFFFu,
              static_cast<unsigned>(ParseAttribNumber("#FFFFFFFFFFFFFFFFFFFF", 0, AT_HEXCOLOR)));
    EXPECT_EQ(0xFFFFFFFFu, static_cast<unsigned>(ParseAttribNumber("#-1", 0, AT_HEXCOLOR)));
}

TEST(ColourOrder, SwapTurnsRgbIntoColorrefOrder) {
    CMsString value("#112233");
    SwapColorOrder(value);
    EXPECT_EQ("#332211", Str(value));

    for (const char* untouched : {"#12345", "#1234567", "1122334", "", "#"}) {
        CMsString other(untouched);
        SwapColorOrder(other);
        EXPECT_EQ(untouched, Str(other));
    }
}

TEST(ColourOrder, SwapLeavesOtherCopiesOfTheTextAlone) {
    CMsString original("#AABBCC");
    CMsString copy(original);
    SwapColorOrder(copy);
    EXPECT_EQ("#CCBBAA", Str(copy));
    EXPECT_EQ("#AABBCC", Str(original));
}

TEST(AttribList, InvalidPairsAreReportedAndNotStored) {
    HtmlTraceRecorder trace;
    CHtmlAttribList list;
    EXPECT_FALSE(list.SetAttrib("href", ""));
    EXPECT_FALSE(list.SetAttrib("", "x"));
    EXPECT_FALSE(list.SetAttrib("align", "center"));
    EXPECT_FALSE(list.SetAttrib(nullptr, "v"));
    EXPECT_EQ(0, list.count);
    ASSERT_EQ(4u, trace.Texts().size());
    EXPECT_EQ("Bad attrib encoding: \"href\"=\"\"\r\n", trace.Texts()[0]);
    EXPECT_EQ("Bad attrib encoding: \"\"=\"x\"\r\n", trace.Texts()[1]);
    EXPECT_EQ("Bad attrib encoding: \"align\"=\"center\"\r\n", trace.Texts()[2]);
    EXPECT_EQ("Bad attrib encoding: \"$NULL$\"=\"v\"\r\n", trace.Texts()[3]);
}

TEST(AttribList, ExistingNamesAreReplacedInPlace) {
    CHtmlAttribList list;
    EXPECT_TRUE(list.SetAttrib("size", "1"));
    EXPECT_TRUE(list.SetAttrib("href", "u"));
    EXPECT_TRUE(list.SetAttrib("SIZE", "2"));
    EXPECT_EQ("size=2;href=u", Describe(list));
    EXPECT_FALSE(list.SetAttrib("size", "-3"));
    EXPECT_EQ("size=2;href=u", Describe(list));
}

TEST(AttribList, LookupsIgnoreCaseAndSkipEmptySlots) {
    CHtmlAttribList list;
    list.Add(nullptr);
    CHtmlAttrib* nameless = new CHtmlAttrib;
    nameless->value = "hidden";
    list.Add(nameless);
    list.SetAttrib("href", "target");
    ASSERT_NE(nullptr, list.FindAttrib("HREF"));
    EXPECT_EQ("target", Str(list.GetAttrib("Href")));
    EXPECT_EQ(nullptr, list.FindAttrib(""));
    EXPECT_EQ(nullptr, list.FindAttrib(nullptr));
    EXPECT_EQ(nullptr, list.FindAttrib("src"));
    EXPECT_EQ("", Str(list.GetAttrib("src")));
    EXPECT_EQ(33, list.GetAttribNumber("width", 33, AT_UINT));
}

TEST(AttribList, ValuesAreTrimmedOfBlanksBeforeTabsBecomeBlanks) {
    CHtmlAttribList list;
    list.SetAttrib("value", "\t");
    EXPECT_EQ(" ", Str(list.GetAttrib("value")));
    list.SetAttrib("value", " \tx\t ");
    EXPECT_EQ(" x ", Str(list.GetAttrib("value")));
    list.SetAttrib("href", "  a\tb  ");
    EXPECT_EQ("a b", Str(list.GetAttrib("href")));
}

TEST(AttribList, NumbersAreFormattedByType) {
    CHtmlAttribList list;
    EXPECT_TRUE(list.SetAttribNumber("bgcolor", 0x112233, AT_COLOR));
    EXPECT_EQ("#112233", Str(list.GetAttrib("bgcolor")));
    EXPECT_EQ(0x112233, list.GetAttribNumber("bgcolor", 0, AT_COLOR));
    EXPECT_TRUE(list.SetAttribNumber("link", 0xFF, AT_COLOR));
    EXPECT_EQ("#0000FF", Str(list.GetAttrib("link")));
    EXPECT_TRUE(list.SetAttribNumber("leftmargin", 16, AT_UINT));
    EXPECT_EQ("16", Str(list.GetAttrib("leftmargin")));
    EXPECT_EQ(16, list.GetAttribNumber("leftmargin", 0, AT_UINT));
    // A negative number is written with its sign, which the unsigned grammar refuses.
    EXPECT_FALSE(list.SetAttribNumber("topmargin", -5, AT_UINT));
    EXPECT_EQ(nullptr, list.FindAttrib("topmargin"));
    // The hexadecimal forms write the bits unsigned, which no colour name accepts
    // when they are more than six digits.
    EXPECT_FALSE(list.SetAttribNumber("text", -1, AT_COLOR));
    EXPECT_EQ(nullptr, list.FindAttrib("text"));
}

TEST(AttribList, HexadecimalFormIsUnsignedAndUnpadded) {
    CHtmlAttribList list;
    HtmlTraceRecorder trace;
    list.SetAttribNumber("color", 0xABC, AT_HEXCOLOR);
    list.SetAttribNumber("color", -1, AT_HEXCOLOR);
    ASSERT_EQ(2u, trace.Texts().size());
    EXPECT_EQ("Bad attrib encoding: \"color\"=\"#ABC\"\r\n", trace.Texts()[0]);
    EXPECT_EQ("Bad attrib encoding: \"color\"=\"#FFFFFFFF\"\r\n", trace.Texts()[1]);
}

TEST(AttribList, CopyReplacesContentsWithoutValidatingAgain) {
    CHtmlAttribList source;
    source.SetAttrib("href", "u");
    source.Add(nullptr);
    CHtmlAttrib* unchecked = new CHtmlAttrib;
    unchecked->name = " align ";
    unchecked->value = "\tcenter";
    source.Add(unchecked);

    CHtmlAttribList copy;
    copy.SetAttrib("size", "4");
    copy.CopyAttribs(source);
    EXPECT_EQ("href=u;align= center", Describe(copy));
    EXPECT_EQ(2, copy.count);

    source.SetAttrib("href", "changed");
    EXPECT_EQ("u", Str(copy.GetAttrib("href")));

    copy.CopyAttribs(copy);
    EXPECT_EQ("href=u;align= center", Describe(copy));
}

TEST(AttribText, PairsWithQuotedAndPlainValues) {
    EXPECT_EQ("face=Arial, Verdana;size=2;color=#0000FF",
              Parsed("face=\"Arial, Verdana\" size=2 color=#FF0000"));
    EXPECT_EQ("href=a=b c", Parsed("href=\"a=b c\""));
    EXPECT_EQ("href=abc def", Parsed("href=\"abc def"));
    EXPECT_EQ("href='x", Parsed("href='x y'"));
    EXPECT_EQ("size=4", Parsed("   size=4   "));
    EXPECT_EQ("size=3", Parsed("size= 3"));
    EXPECT_EQ("size=3", Parsed("size=1 size=3"));
    EXPECT_EQ("value=a b", Parsed("value=\"a\tb\""));
}

TEST(AttribText, ColoursAreStoredInColorrefOrder) {
    CHtmlAttribList list;
    list.ParseAttribs("bgcolor=\"#FF0000\" text=#000080");
    EXPECT_EQ("#0000FF", Str(list.GetAttrib("bgcolor")));
    EXPECT_EQ(0x000000FF, list.GetAttribNumber("bgcolor", 0, AT_COLOR));
    EXPECT_EQ("#800000", Str(list.GetAttrib("text")));
}

TEST(AttribText, MalformedPairsStoreNothing) {
    EXPECT_EQ("", Parsed("href =x"));
    EXPECT_EQ("", Parsed("nowrap href=x"));
    EXPECT_EQ("", Parsed("=x size=2"));
    EXPECT_EQ("", Parsed("size="));
    EXPECT_EQ("", Parsed("color=#fff"));
    EXPECT_EQ("", Parsed(""));
    EXPECT_EQ("", Parsed(nullptr));
    EXPECT_EQ("", Parsed("nowrap"));
}

TEST(AttribText, EmptyQuotedValueIsSkippedWithoutReport) {
    HtmlTraceRecorder trace;
    EXPECT_EQ("size=2", Parsed("href=\"\" size=2"));
    EXPECT_TRUE(trace.Texts().empty());
    EXPECT_EQ("", Parsed("href =x"));
    ASSERT_EQ(1u, trace.Texts().size());
    EXPECT_EQ("Bad attrib encoding: \"href \"=\"x\"\r\n", trace.Texts()[0]);
}

TEST(AttribText, ParsingAddsToTheListWithoutEmptyingIt) {
    CHtmlAttribList list;
    list.SetAttrib("href", "u");
    list.ParseAttribs("size=1");
    EXPECT_EQ("href=u;size=1", Describe(list));
}

TEST(Element, ConstructionInitialisesTheLayoutFields) {
    CHtmlElement element(FakeOwner(), HEK_FONT, 0);
    EXPECT_EQ(FakeOwner(), element.owner);
    EXPECT_EQ(HEK_FONT, element.kind);
    EXPECT_EQ(0, element.isOpen);
    EXPECT_EQ(0, element.attribs.count);
    EXPECT_EQ(0, element.cx);
    EXPECT_EQ(0, element.cy);
    EXPECT_EQ(-1, element.x);
    EXPECT_EQ(-1, element.y);
    EXPECT_EQ(0, element.lineCy);
    EXPECT_EQ(0, element.dx);
    EXPECT_EQ(nullptr, element.linkAnchor);
    EXPECT_EQ(0, element.linkMembers.count);
    EXPECT_EQ(nullptr, element.linkMembers.release);
}

TEST(Element, AttributeFormsCopyOrValidate) {
    CHtmlElement word(FakeOwner(), HEK_TEXT, 1, "value", "\t");
    EXPECT_EQ(" ", Str(word.GetAttrib("value")));

    CHtmlElement bad(FakeOwner(), HEK_TEXT, 1, "value", "");
    EXPECT_EQ(0, bad.attribs.count);

    CHtmlAttribList source;
    source.SetAttrib("src", "rsrc://5");
    source.SetAttrib("width", "20");
    CHtmlElement image(FakeOwner(), HEK_IMG, 1, source);
    source.SetAttrib("width", "30");
    EXPECT_EQ(20, image.GetAttribNumber("width", 0, AT_UINT));
    EXPECT_EQ("rsrc://5", Str(image.GetAttrib("src")));
}

TEST(Element, ContentKindsTakeRoomOnALine) {
    for (int kind = HEK_TEXT; kind <= HEK_IMG; ++kind) {
        CHtmlElement element(FakeOwner(), kind, 1);
        bool content = kind == HEK_TEXT || kind == HEK_SPACE || kind == HEK_BR || kind == HEK_IMG;
        EXPECT_EQ(content, element.IsContent()) << kind;
    }
}

TEST(ElementList, CursorVisitsEveryElementInOrderThenStops) {
    CHtmlElementList list;
    CHtmlElement* first = new CHtmlElement(FakeOwner(), HEK_B, 1);
    CHtmlElement* second = new CHtmlElement(FakeOwner(), HEK_B, 0);
    EXPECT_EQ(0, list.Add(first));
    EXPECT_EQ(1, list.Add(second));
    CHtmlElementCursor cursor;
    ASSERT_TRUE(list.Next(cursor));
    EXPECT_EQ(first, cursor.current);
    ASSERT_TRUE(list.Next(cursor));
    EXPECT_EQ(second, cursor.current);
    EXPECT_FALSE(list.Next(cursor));
    EXPECT_EQ(nullptr, cursor.current);
    EXPECT_FALSE(list.Next(cursor));
    EXPECT_EQ(nullptr, list.GetAt(-1));
    EXPECT_EQ(nullptr, list.GetAt(2));
}

TEST(ElementList, ClearingResetsTextSeen) {
    CHtmlElementList list;
    list.Add(new CHtmlElement(FakeOwner(), HEK_TEXT, 1, "value", "w"));
    list.textSeen = 1;
    list.RemoveAll();
    EXPECT_EQ(0, list.count);
    EXPECT_EQ(0, list.textSeen);
    CHtmlElementCursor cursor;
    EXPECT_FALSE(list.Next(cursor));
}

// The sanitizer build reports a use after free if a non-owning list or an
// anchor's destructor deleted the elements it only refers to.
TEST(ElementList, LinkMembersAreNotDeletedWithTheirAnchor) {
    CHtmlElementList document;
    CHtmlElement* anchor = new CHtmlElement(FakeOwner(), HEK_A, 1, "href", "u");
    CHtmlElement* word = new CHtmlElement(FakeOwner(), HEK_TEXT, 1, "value", "w");
    document.Add(word);
    anchor->linkMembers.Add(word);
    delete anchor;
    EXPECT_EQ("w", Str(word->GetAttrib("value")));
    {
        CHtmlElementList members(false);
        members.Add(word);
        members.RemoveAll();
        EXPECT_EQ(0, members.count);
    }
    EXPECT_EQ(HEK_TEXT, document.GetAt(0)->kind);
}

TEST(ElementList, RangesAreAppendedInOrderBehindTheExistingElements) {
    CHtmlElementList list;
    CHtmlElement* first = new CHtmlElement(FakeOwner(), HEK_B, 1);
    list.Add(first);
    void* more[] = {new CHtmlElement(FakeOwner(), HEK_I, 1), new CHtmlElement(FakeOwner(), HEK_I, 0)};
    EXPECT_EQ(1, list.AddRange(more, 2));
    ASSERT_EQ(3, list.count);
    EXPECT_EQ(first, list.GetAt(0));
    EXPECT_EQ(more[0], list.GetAt(1));
    EXPECT_EQ(more[1], list.GetAt(2));
    EXPECT_EQ(3, list.AddRange(nullptr, 0));
    EXPECT_EQ(-1, list.AddRange(more, -1));
    EXPECT_EQ(3, list.count);
}

TEST(ElementBuffer, HandsItsElementsToAListInOrder) {
    CHtmlElementList list;
    CHtmlElementBuffer buffer(true);
    const int total = 1000;  // several doublings of the buffer's room
    for (int i = 0; i < total; ++i) {
        ASSERT_TRUE(buffer.Add(new CHtmlElement(FakeOwner(), HEK_TEXT, 1)));
        buffer.Last()->cx = i;
    }
    EXPECT_EQ(total, buffer.Count());
    EXPECT_EQ(nullptr, buffer.GetAt(total));
    ASSERT_TRUE(buffer.MoveTo(list));
    EXPECT_EQ(0, buffer.Count());
    EXPECT_EQ(nullptr, buffer.Last());
    ASSERT_EQ(total, list.count);
    for (int i = 0; i < total; ++i) EXPECT_EQ(i, list.GetAt(i)->cx);
}

// Under the sanitizers a missing delete shows as a leak and an extra one as a
// double free.
TEST(ElementBuffer, OnlyAnOwningBufferDeletesWhatItStillHolds) {
    {
        CHtmlElementBuffer owning(true);
        owning.Add(new CHtmlElement(FakeOwner(), HEK_TEXT, 1, "value", "kept"));
    }
    CHtmlElementList document;
    CHtmlElement* word = new CHtmlElement(FakeOwner(), HEK_TEXT, 1, "value", "w");
    document.Add(word);
    {
        CHtmlElementBuffer borrowing(false);
        borrowing.Add(word);
        borrowing.Clear();
        EXPECT_EQ(0, borrowing.Count());
        borrowing.Add(word);
    }
    EXPECT_EQ("w", Str(word->GetAttrib("value")));
}

TEST(Word, LongWordsKeepEveryByteAcrossGrowth) {
    CHtmlWord word;
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        char piece[2] = {static_cast<char>('a' + i % 26), static_cast<char>('A' + i % 7)};
        word.Append(piece, 1 + i % 2);
        expected.append(piece, static_cast<size_t>(1 + i % 2));
    }
    EXPECT_EQ(expected, Str(word.Text()));
    EXPECT_EQ(static_cast<int>(expected.size()), word.Text().GetLength());
    word.Empty();
    EXPECT_TRUE(word.IsEmpty());
    word.Append("xy", 2);
    word.Append("z", 0);
    EXPECT_EQ("xy", Str(word.Text()));
}

TEST(Word, AppendingDoesNotChangeACopyOfTheWord) {
    CHtmlWord word;
    word.Append("ab", 2);
    CMsString copy = word.Text();
    word.Append("c", 1);
    EXPECT_EQ("ab", Str(copy));
    EXPECT_EQ("abc", Str(word.Text()));
}
