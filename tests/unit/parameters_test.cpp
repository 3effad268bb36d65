// Reading the dialog's parameter text: the tag search, trimming, escapes,
// locations, widths and where the text comes from.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "dialog/ConsentLanguage.h"
#include "dialog/DialogLocation.h"
#include "dialog/ParameterSource.h"
#include "dialog/TagReader.h"
#include "support/CodePage932.h"
#include "support/ScratchFile.h"

namespace {
std::string Field(const char* text, const char* tag) {
    TagReader reader{CMsString(text)};
    CMsString value = reader.ReadField(tag);
    return std::string(static_cast<const char*>(value), value.GetLength());
}

std::string Loaded(const char* parameters) {
    CMsString text = LoadParameterSource(parameters);
    return std::string(static_cast<const char*>(text), text.GetLength());
}

LONG Width(const char* text, LONG fallback) {
    TagReader reader{CMsString(text)};
    return reader.ReadWidth(fallback);
}
}  // namespace

TEST(TagSearch, FindsTheTextBetweenOpeningAndClosingTag) {
    EXPECT_EQ(Field("<TITLE>Offer</TITLE>", "TITLE"), "Offer");
    EXPECT_EQ(Field("junk <WIDTH>1</WIDTH> more <TITLE>Offer</TITLE> tail", "TITLE"), "Offer");
}

TEST(TagSearch, MatchesTagsRegardlessOfCase) {
    EXPECT_EQ(Field("<title>Offer</TITLE>", "TITLE"), "Offer");
    EXPECT_EQ(Field("<TiTlE>Offer</tItLe>", "TITLE"), "Offer");
    EXPECT_EQ(Field("<TITLE>Offer</TITLE>", "title"), "Offer");
}

TEST(TagSearch, KeepsMarkupAndLineBreaksInside) {
    EXPECT_EQ(Field("<MESSAGE><b>Hi</b>\r\nthere <a href=\"x\">link</a></MESSAGE>", "MESSAGE"),
              "<b>Hi</b>\r\nthere <a href=\"x\">link</a>");
}

TEST(TagSearch, EmptyOrUnclosedFieldsAreEmpty) {
    EXPECT_EQ(Field("<TITLE></TITLE>", "TITLE"), "");
    EXPECT_EQ(Field("<TITLE>no end", "TITLE"), "");
    EXPECT_EQ(Field("<TITLE>", "TITLE"), "");
    EXPECT_EQ(Field("no tags at all", "TITLE"), "");
    EXPECT_EQ(Field("", "TITLE"), "");
}

TEST(TagSearch, NullOrEmptyTagNameGivesEmpty) {
    EXPECT_EQ(Field("<>x</>", ""), "");
    EXPECT_EQ(Field("<TITLE>x</TITLE>", nullptr), "");
}

TEST(TagSearch, ClosingTagBeforeTheOpeningOneIsIgnored) {
    EXPECT_EQ(Field("</TITLE>early<TITLE>late</TITLE>", "TITLE"), "late");
}

TEST(TagSearch, FirstOfTwoPairsWins) {
    EXPECT_EQ(Field("<TITLE>one</TITLE><TITLE>two</TITLE>", "TITLE"), "one");
}

TEST(TagSearch, ClosingTagMustFollowTheOpeningOne) {
    // The only closing tag precedes the opening tag.
    EXPECT_EQ(Field("</TITLE><TITLE>open", "TITLE"), "");
}

TEST(TagSearch, FieldsNestedInAnotherAreFoundAndStayInIt) {
    const char* text = "<MESSAGE>Hello <TITLE>Inner</TITLE> world</MESSAGE>";
    EXPECT_EQ(Field(text, "TITLE"), "Inner");
    EXPECT_EQ(Field(text, "MESSAGE"), "Hello <TITLE>Inner</TITLE> world");
}

TEST(TagSearch, TagsWithBlanksOrAttributesAreNotOpeningTags) {
    EXPECT_EQ(Field("<TITLE >x</TITLE>", "TITLE"), "");
    EXPECT_EQ(Field("< TITLE>x</TITLE>", "TITLE"), "");
    EXPECT_EQ(Field("<TITLE a=1>x</TITLE>", "TITLE"), "");
    EXPECT_EQ(Field("<TITLEX>x</TITLE>", "TITLE"), "");
}

TEST(TagSearch, LongerTagNamesDoNotMatch) {
    EXPECT_EQ(Field("<WIDTH2>9</WIDTH2><WIDTH>7</WIDTH>", "WIDTH"), "7");
    EXPECT_EQ(Field("<WIDTH>7</WIDTH2>", "WIDTH"), "");
}

TEST(Trimming, RemovesWhiteSpaceAndLineBreaksAtBothEnds) {
    EXPECT_EQ(Field("<TITLE> \t\r\n Hello world \r\n\t </TITLE>", "TITLE"), "Hello world");
    EXPECT_EQ(Field("<TITLE>\r\n\r\n\v\f x \f\v\r\n\r\n</TITLE>", "TITLE"), "x");
}

TEST(Trimming, KeepsWhiteSpaceInside) {
    EXPECT_EQ(Field("<TITLE>  a \t b\r\nc  </TITLE>", "TITLE"), "a \t b\r\nc");
}

TEST(Trimming, OnlyWhiteSpaceBecomesEmpty) {
    EXPECT_EQ(Field("<TITLE> \r\n\t </TITLE>", "TITLE"), "");
}

TEST(Trimming, TrimFieldSpaceLeavesNoSpaceAtEitherEnd) {
    CMsString value("\n \r\t x y \t\r \n");
    TrimFieldSpace(value);
    EXPECT_STREQ(value, "x y");
}

TEST(Escapes, DecodeHexPairsAfterHashAndLowerX) {
    EXPECT_EQ(Field("<TITLE>Tom #x26 Jerry</TITLE>", "TITLE"), "Tom & Jerry");
    EXPECT_EQ(Field("<TITLE>#x3C#x3c</TITLE>", "TITLE"), "<<");
    EXPECT_EQ(Field("<TITLE>#x41#x42C</TITLE>", "TITLE"), "ABC");
    EXPECT_EQ(Field("<TITLE>#xfF</TITLE>", "TITLE"), "\xff");
}

TEST(Escapes, MalformedSequencesStayAsTheyAre) {
    EXPECT_EQ(Field("<TITLE>#X26</TITLE>", "TITLE"), "#X26");
    EXPECT_EQ(Field("<TITLE>a#x2</TITLE>", "TITLE"), "a#x2");
    EXPECT_EQ(Field("<TITLE>a#x</TITLE>", "TITLE"), "a#x");
    EXPECT_EQ(Field("<TITLE>#xg1 #x1g</TITLE>", "TITLE"), "#xg1 #x1g");
    EXPECT_EQ(Field("<TITLE>##x41</TITLE>", "TITLE"), "#A");
    EXPECT_EQ(Field("<TITLE>#</TITLE>", "TITLE"), "#");
}

TEST(Escapes, EscapedBlanksAtTheEndsSurviveTrimming) {
    EXPECT_EQ(Field("<TITLE>  #x20abc#x09  </TITLE>", "TITLE"), " abc\t");
}

TEST(Escapes, ZeroEscapePutsAZeroByteIntoANonEmptyField) {
    TagReader reader{CMsString("<TITLE>#x00</TITLE>")};
    CMsString value = reader.ReadField("TITLE");
    EXPECT_EQ(value.GetLength(), 1);
    EXPECT_FALSE(value.IsEmpty());
    EXPECT_EQ(value.GetAt(0), '\0');
}

TEST(Escapes, DecodeEscapesLeavesPlainTextAlone) {
    CMsString plain("no escapes here, not even #y41");
    EXPECT_STREQ(DecodeEscapes(plain), "no escapes here, not even #y41");
    EXPECT_STREQ(DecodeEscapes(CMsString()), "");
}

TEST(Locations, AllNineNamesIgnoringCaseOfLetters) {
    const char* names[] = {"Top-Left",    "Top-Center",    "Top-Right",
                           "Center-Left", "Center-Center", "Center-Right",
                           "Bottom-Left", "Bottom-Center", "Bottom-Right"};
    for (LONG value = 0; value < 9; ++value) {
        std::string upper = names[value];
        for (char& ch : upper) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
        EXPECT_EQ(LocationFromName(names[value]), value) << names[value];
        EXPECT_EQ(LocationFromName(upper.c_str()), value) << upper;
    }
    EXPECT_EQ(LocationFromName("bottom-right"), DL_BOTTOM_RIGHT);
}

TEST(Locations, AnythingElseIsCenterCenter) {
    EXPECT_EQ(LocationFromName(nullptr), DL_CENTER_CENTER);
    EXPECT_EQ(LocationFromName(""), DL_CENTER_CENTER);
    EXPECT_EQ(LocationFromName("Bottom Right"), DL_CENTER_CENTER);
    EXPECT_EQ(LocationFromName("Bottom-Righ"), DL_CENTER_CENTER);
    EXPECT_EQ(LocationFromName("Bottom-Right-"), DL_CENTER_CENTER);
    EXPECT_EQ(LocationFromName(" Top-Left"), DL_CENTER_CENTER);
    EXPECT_EQ(LocationFromName("Top"), DL_CENTER_CENTER);
}

TEST(Locations, TheFieldIsTrimmedBeforeTheLookup) {
    TagReader reader{CMsString("<LOCATION>\r\n  top-RIGHT \t</LOCATION>")};
    EXPECT_EQ(reader.ReadLocation(), DL_TOP_RIGHT);
    TagReader missing{CMsString("<TITLE>x</TITLE>")};
    EXPECT_EQ(missing.ReadLocation(), DL_CENTER_CENTER);
}

TEST(Widths, ReadsTheNumberAroundBlanks) {
    EXPECT_EQ(Width("<WIDTH> 420 </WIDTH>", 0), 420);
    EXPECT_EQ(Width("<WIDTH>+7</WIDTH>", 0), 7);
    EXPECT_EQ(Width("<WIDTH>12px</WIDTH>", 0), 12);
}

TEST(Widths, BelowOneOrNotANumberGivesTheFallback) {
    for (LONG fallback : {0, 321}) {
        EXPECT_EQ(Width("<WIDTH>0</WIDTH>", fallback), fallback);
        EXPECT_EQ(Width("<WIDTH>-5</WIDTH>", fallback), fallback);
        EXPECT_EQ(Width("<WIDTH>wide</WIDTH>", fallback), fallback);
        EXPECT_EQ(Width("<WIDTH></WIDTH>", fallback), fallback);
        EXPECT_EQ(Width("<TITLE>no width</TITLE>", fallback), fallback);
        EXPECT_EQ(Width("<WIDTH>- 5</WIDTH>", fallback), fallback);
    }
}

TEST(Widths, HugeNumbersAreClampedInsteadOfOverflowing) {
    EXPECT_EQ(Width("<WIDTH>99999999999999999999999</WIDTH>", 0), INT_MAX);
    EXPECT_EQ(Width("<WIDTH>2147483648</WIDTH>", 0), INT_MAX);
    EXPECT_EQ(Width("<WIDTH>2147483647</WIDTH>", 0), INT_MAX);
    EXPECT_EQ(Width("<WIDTH>-99999999999999999999999</WIDTH>", 5), 5);
    EXPECT_EQ(ParseDecimal("-2147483649"), INT_MIN);
    EXPECT_EQ(ParseDecimal("-2147483648"), INT_MIN);
    EXPECT_EQ(ParseDecimal("  -17abc"), -17);
    EXPECT_EQ(ParseDecimal(nullptr), 0);
}

TEST(Source, ExistingFileGivesItsContents) {
    ScratchFile file("<TITLE>From file</TITLE>");
    EXPECT_EQ(Loaded(file.Path().c_str()), "<TITLE>From file</TITLE>");
}

TEST(Source, FileIsReadOnlyUpToItsFirstZeroByte) {
    ScratchFile file(std::string("<TITLE>a</TITLE>\0<MESSAGE>b</MESSAGE>", 37));
    EXPECT_EQ(Loaded(file.Path().c_str()), "<TITLE>a</TITLE>");
}

TEST(Source, EmptyFileGivesEmptyText) {
    ScratchFile file("");
    EXPECT_EQ(Loaded(file.Path().c_str()), "");
}

TEST(Source, QuotedPathExistsButCannotBeReadWithItsQuotes) {
    ScratchFile file("<TITLE>x</TITLE>");
    std::string quoted = "\"" + file.Path() + "\"";
    EXPECT_EQ(Loaded(quoted.c_str()), "");
}

TEST(Source, DirectoryIsTakenAsTheTextItself) {
    std::string directory = ScratchDirectory();
    EXPECT_EQ(Loaded(directory.c_str()), directory);
}

TEST(Source, OneCharacterStringIsTextEvenWhenSuchAFileExists) {
    const char* name = "q";
    FILE* file = fopen(name, "wb");
    ASSERT_NE(file, nullptr);
    fputs("<TITLE>file</TITLE>", file);
    fclose(file);
    std::string loaded = Loaded(name);
    remove(name);
    EXPECT_EQ(loaded, "q");
}

TEST(Source, MissingPathOrPlainTextIsTheTextItself) {
    const char* text = "<TITLE>inline</TITLE><WIDTH>300</WIDTH>";
    EXPECT_EQ(Loaded(text), text);
    EXPECT_EQ(Loaded("no-such-file-anywhere.txt"), "no-such-file-anywhere.txt");
}

TEST(Source, NullOrEmptyStringGivesEmptyText) {
    EXPECT_EQ(Loaded(nullptr), "");
    EXPECT_EQ(Loaded(""), "");
}

TEST(Source, Utf16FileIsReadWholeAsMarkedUtf8) {
    ScratchFile file(std::string("\xFF\xFE<\0T\0>\0\xE9\0", 10));
    EXPECT_EQ(Loaded(file.Path().c_str()), "\xEF\xBB\xBF<T>\xC3\xA9");
}

// A UTF offer's fields are read in UTF-8: trimming keeps the A0 that ends
// "à" (a no-break space in code page 1252), and the tag search is not misled
// by the bytes of あ (E3 81 82), whose "82" a double-byte code page would
// pair with the "<" after it.
TEST(Utf8Offer, FieldsAreReadInUtf8) {
    const std::string mark = "\xEF\xBB\xBF";
    const struct {
        std::string text;
        const char* tag;
        const char* expected;
    } rows[] = {
        {mark + "<TITLE> Voil\xC3\xA0\r\n</TITLE>", "TITLE", "Voil\xC3\xA0"},
        {mark + "<TITLE>\xE3\x81\x82</TITLE>", "TITLE", "\xE3\x81\x82"},
        {mark + "<MESSAGE>\xE3\x81\x82#x41<b>\xE3\x81\x82</b></MESSAGE>", "MESSAGE", "\xE3\x81\x82" "A<b>\xE3\x81\x82</b>"},
    };
    for (const auto& row : rows) EXPECT_EQ(Field(row.text.c_str(), row.tag), row.expected) << row.text;
}

// Names a host may give for its language, and the row each picks (by the
// row's first tag; "en" is the built-in English).
TEST(Languages, NamesPickTheirRow) {
    const struct {
        const char* name;
        const char* tag;
    } rows[] = {
        {"de", "de"}, {"DE-at", "de"}, {"pt-BR", "pt-br"}, {"pt_br", "pt-br"}, {"pt-AO", "pt"},
        {"zh", "zh-hans"}, {"zh-SG", "zh-hans"}, {"zh-HK", "zh-hant"}, {"zh-Hant-CN", "zh-hant"},
        {"zh-Hans-TW", "zh-hans"}, {"nn-NO", "nb"}, {"1031", "de"}, {"0x0C07", "de"},
        {"0X0416", "pt-br"}, {"2070", "pt"}, {"0x0c04", "zh-hant"}, {"4100", "zh-hans"},
        {"0x7C04", "zh-hant"}, {"German", "de"}, {"chinesetraditional", "zh-hant"},
        {"Korean", "ko"},
        // Unknown, malformed or hostile: English.
        {"", "en"}, {"xx", "en"}, {"x-de", "en"}, {"de x", "en"}, {"0x", "en"}, {"0x10000", "en"},
        {"65536", "en"}, {"1031x", "en"}, {"-1031", "en"}, {"d\xC3\xA9", "en"},
        {"0x04070x04070x04070x04070x04070x0407", "en"},
    };
    for (const auto& row : rows) {
        const char* names = ConsentWordsFor(row.name)->names;
        EXPECT_EQ(std::string(names, std::strcspn(names, " ")), row.tag) << row.name;
    }
}

// The offer owns the message and the disclaimer: a LANGUAGE field inside
// them, or one that reaches into them, is not the installer's.
TEST(Languages, TheFieldCountsOnlyOutsideTheMessageAndDisclaimer) {
    const struct {
        const char* text;
        const char* expected;
    } rows[] = {
        {"<LANGUAGE> de </LANGUAGE><MESSAGE>m</MESSAGE>", "de"},
        {"<MESSAGE>m</MESSAGE><language>#x64e</language>", "de"},
        {"<MESSAGE><LANGUAGE>ja</LANGUAGE></MESSAGE>", ""},
        {"<MESSAGE><LANGUAGE>ja</LANGUAGE></MESSAGE><DISCLAIMER><LANGUAGE>ko</LANGUAGE></DISCLAIMER>"
         "<LANGUAGE>fr</LANGUAGE>", "fr"},
        {"<LANGUAGE>de<MESSAGE></LANGUAGE></MESSAGE>", ""},
        {"<MESSAGE>unclosed <LANGUAGE>it</LANGUAGE>", "it"},
    };
    for (const auto& row : rows) EXPECT_STREQ(ReadLanguageField(CMsString(row.text)), row.expected) << row.text;
}

// Fields and paths whose double-byte characters end in a backslash, "|", "@",
// "[" or a letter come through whole.
TEST(DoubleByte, FieldsKeepTheirCharactersWhole) {
    SKIP_UNLESS_CODE_PAGE_932();
    const struct {
        const char* text;
        const char* tag;
        const char* expected;
    } rows[] = {
        {"<TITLE>\x95\x5C\x8E\xA6</TITLE>", "TITLE", "\x95\x5C\x8E\xA6"},
        {"<title> \r\n\x83\x5C|\x83\x7C\t\r\n</TITLE>", "TITLE", "\x83\x5C|\x83\x7C"},
        {"\x83\x41<TITLE>\x83\x40\x83\x5B</TITLE>\x83\x61", "TITLE", "\x83\x40\x83\x5B"},
        {"<TITLE>\x83\x41\x83\x61 Aa</TITLE>", "title", "\x83\x41\x83\x61 Aa"},
        {"<MESSAGE>\x95\x5C#x41#x5C</MESSAGE>", "MESSAGE", "\x95\x5C" "A\\"},
        {"<MESSAGE>#x95#x5C\x83\x5C#x3C</MESSAGE>", "MESSAGE", "\x95\x5C\x83\x5C<"},
        {"<LOCATION>\x83\x5C</LOCATION><WIDTH>\x95\x5C</WIDTH>", "WIDTH", "\x95\x5C"},
    };
    for (const auto& row : rows) EXPECT_EQ(Field(row.text, row.tag), row.expected) << row.text;
}

TEST(DoubleByte, PathsWithTrailBackslashesAreFoundAndQuotesStillBlockTheRead) {
    SKIP_UNLESS_CODE_PAGE_932();
    // Named 表ソ: both characters end in a backslash byte.
    std::string path = ScratchDirectory() + "\\\x95\x5C\x83\x5C";
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fputs("<TITLE>\x95\x5C</TITLE>", file);
    fclose(file);
    std::string loaded = Loaded(path.c_str());
    std::string quoted = Loaded(("\"" + path + "\"").c_str());
    remove(path.c_str());
    EXPECT_EQ(loaded, "<TITLE>\x95\x5C</TITLE>");
    EXPECT_EQ(quoted, "");
    EXPECT_EQ(Loaded(path.c_str()), path);
}
