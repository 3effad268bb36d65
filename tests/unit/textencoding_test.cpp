// The encoding and line-break rules: which encoding a parameter text is read
// in and what it becomes, and where a run of text without blanks may break.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/LineBreaks.h"
#include "text/ParameterText.h"

namespace {
const std::string kMark = "\xEF\xBB\xBF";

std::string Read(const std::string& bytes, bool fromFile) {
    CMsString text = ParameterTextFromBytes(bytes.c_str(), static_cast<int>(bytes.size()), fromFile);
    return std::string(static_cast<const char*>(text), text.GetLength());
}

const WCHAR* Units(const char16_t* text) { return reinterpret_cast<const WCHAR*>(text); }

int Length(const char16_t* text) { return static_cast<int>(std::char_traits<char16_t>::length(text)); }

// The units before which a line may break.
std::vector<int> Breaks(const char16_t* text, const SystemLineBreaker* system = nullptr) {
    std::vector<BYTE> before(static_cast<size_t>(Length(text)) + 1, 7);
    FindLineBreaks(Units(text), Length(text), before.data(), system);
    std::vector<int> at;
    for (int i = 0; i < Length(text); ++i) {
        if (before[static_cast<size_t>(i)]) at.push_back(i);
    }
    return at;
}

// A system breaker that allows a break before every unit.
bool BreakEverywhere(void*, const WCHAR*, int count, BYTE* soft) {
    for (int i = 0; i < count; ++i) soft[i] = 1;
    return true;
}
}  // namespace

TEST(ParameterEncoding, EachEncodingIsDecidedForTheWholeText) {
    const struct {
        std::string bytes;
        bool fromFile;
        std::string expected;
    } rows[] = {
        {"<TITLE>Plain</TITLE>", false, "<TITLE>Plain</TITLE>"},
        {"Caf\xE9 \x93quoted\x94", true, "Caf\xE9 \x93quoted\x94"},           // code page 1252
        {"\x93\xFA\x96\x7B\x8C\xEA", false, "\x93\xFA\x96\x7B\x8C\xEA"},      // code page 932
        {"Caf\xC3\xA9 \xE2\x80\x94", false, kMark + "Caf\xC3\xA9 \xE2\x80\x94"},
        {"\xC3\xA9", true, kMark + "\xC3\xA9"},  // "Ã©" in code page 1252 reads as UTF-8
        {kMark + "ok", true, kMark + "ok"},
        {kMark + "a\xFF" "b\xE3\x81", true, kMark + "a\xEF\xBF\xBD" "b\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"overlong \xC0\xAF", true, "overlong \xC0\xAF"},
        {"surrogate \xED\xA0\x80", true, "surrogate \xED\xA0\x80"},
        {"beyond \xF4\x90\x80\x80", true, "beyond \xF4\x90\x80\x80"},
        {"truncated \xE3\x81", true, "truncated \xE3\x81"},
        {std::string("\xC3\xA9\0\xFF", 4), true, kMark + "\xC3\xA9"},
        {std::string("\xFF\xFE" "A\0\xE9\0", 6), true, kMark + "A\xC3\xA9"},
        {std::string("\xFF\xFE" "=\xD8\0\xDE" "A\0", 8), true, kMark + "\xF0\x9F\x98\x80" "A"},
        {std::string("\xFF\xFE\0\xD8" "A\0", 6), true, kMark + "\xEF\xBF\xBD" "A"},
        {std::string("\xFF\xFE" "A\0\0\0B\0", 8), true, kMark + "A"},
        {std::string("\xFF\xFE" "A\0B", 5), true, kMark + "A"},  // odd length
        {std::string("\xFF\xFE", 2), true, ""},
        {"\xFF\xFE" "x", false, "\xFF\xFE" "x"},  // UTF-16 only from files
    };
    for (const auto& row : rows) EXPECT_EQ(Read(row.bytes, row.fromFile), row.expected) << row.bytes;
}

TEST(ParameterEncoding, Utf16TextBecomesMarkedUtf8) {
    CMsString text = ParameterTextFromUtf16(Units(u"\uFEFF\u0141\u00F3d\u017A"), 5);
    EXPECT_STREQ(text, (kMark + "\xC5\x81\xC3\xB3" "d\xC5\xBA").c_str());
    EXPECT_EQ(ParameterTextEncoding(text), TEXT_UTF8);
    EXPECT_EQ(ParameterTextEncoding("\xEF\xBB"), TEXT_CODE_PAGE);
}

TEST(LineBreaks, CjkTextBreaksBetweenCharactersByTheKinsokuRules) {
    const struct {
        const char16_t* text;
        std::vector<int> breaks;
    } rows[] = {
        {u"\u65E5\u672C\u8A9E", {1, 2}},                   // 日本語
        {u"\u65E5\u672C\u3002\u8A9E", {1, 3}},             // 日本。語: none before 。
        {u"\u300C\u65E5\u672C\u300D\u3067", {2, 4}},       // 「日本」で: none after 「, none before 」
        {u"\u3061\u3087\u3063\u3068", {3}},                // ちょっと: none before small kana
        {u"\u30E9\u30FC\u30E1\u30F3", {2, 3}},             // ラーメン: none before ー
        {u"ab\u65E5cd", {2, 3}},                            // between Latin and ideographs only
        {u"\U0002000B\u65E5", {2}},                         // never inside a surrogate pair
        {u"well-known/path", {}},                           // Latin keeps its rule
        {u"\u0E20\u0E32\u0E29\u0E32", {}},                  // Thai needs the system's breaker
    };
    for (const auto& row : rows) EXPECT_EQ(Breaks(row.text), row.breaks);
}

TEST(LineBreaks, TheSystemsBreaksCountOnlyWhereBlanklessScriptsAreAndTheKinsokuAllows) {
    SystemLineBreaker everywhere = {BreakEverywhere, nullptr};
    EXPECT_EQ(Breaks(u"a-b\u65E5\u3002", &everywhere), std::vector<int>({3}));
    EXPECT_EQ(Breaks(u"\u0E20\u0E32a", &everywhere), std::vector<int>({1, 2}));
}

TEST(LineBreaks, RunsAreCutIntoPiecesAtTheirBreaks) {
    const SystemLineBreaker ownRule = {nullptr, nullptr};
    RunSplitter utf8(TEXT_UTF8, &ownRule);
    const char* run = "\xE6\x97\xA5\xE6\x9C\xAC\xE3\x80\x82" "ab";  // 日本。ab
    ASSERT_EQ(utf8.Split(run, 11), 3);
    EXPECT_EQ(utf8.PieceEnd(0), 3);
    EXPECT_EQ(utf8.PieceEnd(1), 9);
    EXPECT_EQ(utf8.PieceEnd(2), 11);
    EXPECT_EQ(utf8.Split("Latin\xC3\xA9", 7), 1);
    // Western code pages have no characters to break at.
    RunSplitter codePage(TEXT_CODE_PAGE, &ownRule);
    if (GetACP() == 1252) {
        EXPECT_EQ(codePage.Split("\x93\xFA\x96\x7B", 4), 1);
    }
}
