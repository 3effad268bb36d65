// CMsString: block sharing and copy on write, searching, slicing, trimming,
// replacing, formatting and resource loading.
#include "util/CMsString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "resources/TestResources.h"
#include "support/CodePage932.h"

namespace {

const CMsStringData* DataOf(const CMsString& s) {
    return reinterpret_cast<const CMsStringData*>(static_cast<const char*>(s)) - 1;
}

const char* EmptyPointer() {
    static const CMsString empty;
    return empty;
}

std::string Bytes(const CMsString& s) { return std::string(static_cast<const char*>(s), s.GetLength()); }

// A string holding the given bytes, embedded zeros included.
CMsString FromBytes(const std::string& bytes) {
    CMsString s;
    char* buffer = s.GetBuffer(static_cast<int>(bytes.size()));
    memcpy(buffer, bytes.data(), bytes.size());
    s.ReleaseBuffer(static_cast<int>(bytes.size()));
    return s;
}

// --- Blocks, sharing and copy on write ---

TEST(CMsStringBlock, ObjectIsOnePointerAndConvertsToItsCharacters) {
    EXPECT_EQ(sizeof(CMsString), sizeof(char*));
    CMsString s("abc");
    const char* chars = s;
    EXPECT_EQ(memcmp(&s, &chars, sizeof chars), 0);
    EXPECT_STREQ(chars, "abc");
}

TEST(CMsStringBlock, NewBlockHoldsExactlyTheText) {
    CMsString s("hello");
    EXPECT_EQ(DataOf(s)->refs, 1);
    EXPECT_EQ(DataOf(s)->length, 5);
    EXPECT_EQ(DataOf(s)->capacity, 5);
    EXPECT_EQ(s.GetLength(), 5);
    EXPECT_FALSE(s.IsEmpty());
}

TEST(CMsStringBlock, EmptyStringsShareTheUncountedSentinel) {
    CMsString a;
    CMsString b("");
    CMsString c(nullptr);
    CMsString d(a);
    EXPECT_EQ(static_cast<const char*>(a), EmptyPointer());
    EXPECT_EQ(static_cast<const char*>(b), EmptyPointer());
    EXPECT_EQ(static_cast<const char*>(c), EmptyPointer());
    EXPECT_EQ(static_cast<const char*>(d), EmptyPointer());
    EXPECT_EQ(DataOf(a)->refs, -1);
    EXPECT_EQ(DataOf(a)->capacity, 0);
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_STREQ(a, "");
}

TEST(CMsStringBlock, CopySharesUntilTheCopyIsWritten) {
    CMsString original("shared text");
    CMsString copy(original);
    EXPECT_EQ(static_cast<const char*>(copy), static_cast<const char*>(original));
    EXPECT_EQ(DataOf(original)->refs, 2);

    copy += "!";
    EXPECT_STREQ(original, "shared text");
    EXPECT_STREQ(copy, "shared text!");
    EXPECT_NE(static_cast<const char*>(copy), static_cast<const char*>(original));
    EXPECT_EQ(DataOf(original)->refs, 1);
    EXPECT_EQ(DataOf(copy)->refs, 1);
}

// Every writer must detach a shared block before changing it.
TEST(CMsStringBlock, EveryWriterLeavesOtherSharersUnchanged) {
    struct Writer {
        const char* name;
        void (*write)(CMsString&);
    };
    const Writer writers[] = {
        {"append text", [](CMsString& s) { s += "tail"; }},
        {"append char", [](CMsString& s) { s += 'z'; }},
        {"assign text", [](CMsString& s) { s = "other"; }},
        {"get buffer", [](CMsString& s) { s.GetBuffer(3)[0] = 'Q'; }},
        {"release buffer", [](CMsString& s) { s.ReleaseBuffer(2); }},
        {"delete left", [](CMsString& s) { s.DeleteLeft(2); }},
        {"trim left set", [](CMsString& s) { s.TrimLeft(" x"); }},
        {"trim right set", [](CMsString& s) { s.TrimRight(" y"); }},
        {"trim left char", [](CMsString& s) { s.TrimLeft(' '); }},
        {"trim right char", [](CMsString& s) { s.TrimRight('y'); }},
        {"trim white space", [](CMsString& s) {
             s.TrimLeft();
             s.TrimRight();
         }},
        {"replace char", [](CMsString& s) { s.Replace('x', '_'); }},
        {"replace text shrinking", [](CMsString& s) { s.Replace("xx", "-"); }},
        {"replace text growing", [](CMsString& s) { s.Replace("x", "<>"); }},
        {"format", [](CMsString& s) { s.Format("%d", 42); }},
        {"empty", [](CMsString& s) { s.Empty(); }},
    };
    // A block with spare room tempts writers to work in place.
    for (bool roomy : {false, true}) {
        for (const Writer& writer : writers) {
            CMsString original("  xxaxx yy");
            if (roomy) {
                original.GetBuffer(64);
                original.ReleaseBuffer(-1);
            }
            CMsString copy(original);
            writer.write(copy);
            EXPECT_STREQ(original, "  xxaxx yy") << writer.name << (roomy ? " (roomy)" : "");
            EXPECT_EQ(original.GetLength(), 10) << writer.name << (roomy ? " (roomy)" : "");
            EXPECT_EQ(DataOf(original)->refs, 1) << writer.name << (roomy ? " (roomy)" : "");
        }
    }
}

TEST(CMsStringBlock, AssignmentSharesAndReleasesTheOldBlock) {
    CMsString a("first");
    CMsString b("second");
    CMsString keep(b);
    EXPECT_EQ(DataOf(b)->refs, 2);
    b = a;
    EXPECT_EQ(static_cast<const char*>(b), static_cast<const char*>(a));
    EXPECT_EQ(DataOf(a)->refs, 2);
    EXPECT_EQ(DataOf(keep)->refs, 1);
    EXPECT_STREQ(keep, "second");

    CMsString& alias = b;
    b = alias;
    EXPECT_EQ(DataOf(a)->refs, 2);
    EXPECT_STREQ(b, "first");
}

TEST(CMsStringBlock, AssignFromTextReusesAnUnsharedBlockThatIsLargeEnough) {
    CMsString s("a longer text");
    const char* before = s;
    s = "short";
    EXPECT_EQ(static_cast<const char*>(s), before);
    EXPECT_STREQ(s, "short");
    EXPECT_EQ(s.GetLength(), 5);

    s = "this text is longer than the block";
    EXPECT_STREQ(s, "this text is longer than the block");
    EXPECT_EQ(DataOf(s)->capacity, s.GetLength());

    s = "";
    EXPECT_EQ(static_cast<const char*>(s), EmptyPointer());
    s = nullptr;
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CMsStringBlock, AssignFromItsOwnCharacters) {
    CMsString s("abcdef");
    s = static_cast<const char*>(s) + 2;
    EXPECT_STREQ(s, "cdef");

    CMsString shared("uvwxyz");
    CMsString other(shared);
    shared = static_cast<const char*>(shared) + 3;
    EXPECT_STREQ(shared, "xyz");
    EXPECT_STREQ(other, "uvwxyz");
}

TEST(CMsStringBlock, EmptyReleasesTheBlockToTheSentinel) {
    CMsString s("text");
    CMsString copy(s);
    s.Empty();
    EXPECT_EQ(static_cast<const char*>(s), EmptyPointer());
    EXPECT_STREQ(copy, "text");
    EXPECT_EQ(DataOf(copy)->refs, 1);
}

TEST(CMsStringBlock, CopiesReleasedOnSeveralThreadsKeepTheCountExact) {
    CMsString source("counted on many threads");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&source] {
            for (int i = 0; i < 20000; ++i) {
                CMsString copy(source);
                CMsString another;
                another = copy;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(DataOf(source)->refs, 1);
    EXPECT_STREQ(source, "counted on many threads");
}

// --- Appending and the buffer ---

TEST(CMsStringAppend, AppendsTextAndCharacters) {
    CMsString s;
    s += "ab";
    s += 'c';
    s += "";
    s += static_cast<const char*>(nullptr);
    EXPECT_STREQ(s, "abc");
    EXPECT_EQ(s.GetLength(), 3);
    EXPECT_EQ(DataOf(s)->capacity, 3);
}

TEST(CMsStringAppend, AppendingNothingToAnEmptyStringAllocatesNothing) {
    CMsString s;
    s += "";
    EXPECT_EQ(static_cast<const char*>(s), EmptyPointer());
}

TEST(CMsStringAppend, AppendsItself) {
    CMsString s("abc");
    s += s;
    EXPECT_STREQ(s, "abcabc");

    CMsString roomy;
    roomy.GetBuffer(50);
    roomy.ReleaseBuffer(0);
    roomy += "xyz";
    roomy += roomy;
    EXPECT_STREQ(roomy, "xyzxyz");
}

TEST(CMsStringAppend, SpareCapacityIsUsedWithoutReallocating) {
    CMsString s("abc");
    s.GetBuffer(100);
    s.ReleaseBuffer(-1);
    const char* before = s;
    EXPECT_EQ(s.GetLength(), 3);
    s += "defghijklmnopqrstuvwxyz";
    EXPECT_EQ(static_cast<const char*>(s), before);
    EXPECT_STREQ(s, "abcdefghijklmnopqrstuvwxyz");
}

TEST(CMsStringBuffer, GetBufferKeepsTheTextAndGivesRoomForTheTerminator) {
    CMsString s("keep");
    char* buffer = s.GetBuffer(20);
    ASSERT_NE(buffer, nullptr);
    EXPECT_STREQ(buffer, "keep");
    memset(buffer, 'x', 20);
    buffer[20] = 0;
    s.ReleaseBuffer(-1);
    EXPECT_EQ(s.GetLength(), 20);
    EXPECT_EQ(std::string(s), std::string(20, 'x'));
}

TEST(CMsStringBuffer, ReleaseBufferSetsTheLengthAndTerminates) {
    CMsString s;
    char* buffer = s.GetBuffer(10);
    memcpy(buffer, "0123456789", 10);
    s.ReleaseBuffer(4);
    EXPECT_STREQ(s, "0123");
    EXPECT_EQ(s.GetLength(), 4);
}

TEST(CMsStringBuffer, ReleaseBufferNeverReachesBeyondTheBlock) {
    CMsString unterminated;
    char* buffer = unterminated.GetBuffer(8);
    memset(buffer, 'u', 9);
    unterminated.ReleaseBuffer(-1);
    EXPECT_EQ(unterminated.GetLength(), 8);
    EXPECT_EQ(std::string(unterminated), "uuuuuuuu");

    CMsString tooLong("abc");
    tooLong.GetBuffer(5);
    tooLong.ReleaseBuffer(500);
    EXPECT_EQ(tooLong.GetLength(), 5);
    EXPECT_EQ(tooLong[5], 0);

    CMsString empty;
    empty.ReleaseBuffer(3);
    EXPECT_EQ(static_cast<const char*>(empty), EmptyPointer());
    EXPECT_EQ(empty.GetLength(), 0);
}

TEST(CMsStringBuffer, GetBufferOnTheEmptyStringNeverWritesTheSentinel) {
    CMsString s;
    char* buffer = s.GetBuffer(0);
    ASSERT_NE(buffer, nullptr);
    EXPECT_NE(static_cast<const char*>(buffer), EmptyPointer());
    buffer[0] = 0;
    s.ReleaseBuffer(-1);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_STREQ(EmptyPointer(), "");
}

// --- Comparing and searching ---

TEST(CMsStringCompare, CompareNoCase) {
    CMsString s("Hello");
    EXPECT_EQ(s.CompareNoCase("hELLO"), 0);
    EXPECT_LT(s.CompareNoCase("help"), 0);
    EXPECT_GT(s.CompareNoCase("Hell"), 0);
    EXPECT_GT(s.CompareNoCase(nullptr), 0);
    EXPECT_EQ(CMsString().CompareNoCase(nullptr), 0);
}

TEST(CMsStringFind, Character) {
    CMsString s("abcabc");
    EXPECT_EQ(s.Find('a'), 0);
    EXPECT_EQ(s.Find('c'), 2);
    EXPECT_EQ(s.Find('z'), -1);
    EXPECT_EQ(s.Find('\0'), 6);
    EXPECT_EQ(CMsString().Find('\0'), 0);
    EXPECT_EQ(CMsString().Find('a'), -1);
}

TEST(CMsStringFind, TextFromTheStart) {
    CMsString s("one two two");
    EXPECT_EQ(s.Find("two"), 4);
    EXPECT_EQ(s.Find("one two two"), 0);
    EXPECT_EQ(s.Find("one two two!"), -1);
    EXPECT_EQ(s.Find("TWO"), -1);
    EXPECT_EQ(s.Find(""), 0);
    EXPECT_EQ(s.Find(static_cast<const char*>(nullptr)), 0);
    EXPECT_EQ(CMsString().Find(""), 0);
    EXPECT_EQ(CMsString().Find("a"), -1);
}

TEST(CMsStringFind, FromAStartCaseSensitive) {
    CMsString s("abcdabcd");
    EXPECT_EQ(s.Find("bc", true, 0), 1);
    EXPECT_EQ(s.Find("bc", true, 1), 1);
    EXPECT_EQ(s.Find("bc", true, 2), 5);
    EXPECT_EQ(s.Find("bc", true, 6), -1);
    EXPECT_EQ(s.Find("BC", true, 0), -1);
    EXPECT_EQ(s.Find("da", true, 0), 3);
    EXPECT_EQ(s.Find("cd", true, 7), -1);
    EXPECT_EQ(s.Find("bcdx", true, 0), -1);
    EXPECT_EQ(s.Find('d', true, 4), 7);
}

TEST(CMsStringFind, EmptyTextAndStartAtTheEnd) {
    CMsString s("abcd");
    EXPECT_EQ(s.Find("", true, 2), 2);
    EXPECT_EQ(s.Find("", false, 2), -1);
    EXPECT_EQ(s.Find(static_cast<const char*>(nullptr), false, 0), -1);
    EXPECT_EQ(s.Find("bc", true, 4), -1);
    EXPECT_EQ(s.Find("bc", false, 4), -1);
    EXPECT_EQ(s.Find("", true, 4), -1);
    EXPECT_EQ(CMsString().Find("", true, 0), -1);
    EXPECT_EQ(s.Find("ab", true, -3), 0);
}

TEST(CMsStringFind, CaseInsensitiveFoldsOnlyAsciiLetters) {
    CMsString s("xxabcxx");
    EXPECT_EQ(s.Find("ABC", false, 0), 2);
    EXPECT_EQ(s.Find("aBc", false, 2), 2);
    EXPECT_EQ(s.Find("ABC", false, 3), -1);
    EXPECT_EQ(s.Find('X', false, 4), 5);
    EXPECT_EQ(s.Find('X', true, 0), -1);

    CMsString accented("a\xE4" "b");
    EXPECT_EQ(accented.Find("\xC4", false, 0), -1);
    // Under 932 "\xE4" "b" is one double-byte character, whose trail byte does not fold.
    EXPECT_EQ(accented.Find("\xE4" "B", false, 0), UnderCodePage932() ? -1 : 1);
}

// --- Slices ---

TEST(CMsStringSlice, MidClampsItsArguments) {
    CMsString s("abc");
    EXPECT_STREQ(s.Mid(5, 3), "");
    EXPECT_EQ(static_cast<const char*>(s.Mid(5, 3)), EmptyPointer());
    EXPECT_STREQ(s.Mid(1, 10), "bc");
    EXPECT_STREQ(s.Mid(-2, 2), "ab");
    EXPECT_STREQ(s.Mid(1, -4), "");
    EXPECT_STREQ(s.Mid(3, 1), "");
    EXPECT_STREQ(s.Mid(1, 1), "b");
    EXPECT_EQ(s.Mid(0, 2).GetLength(), 2);
}

TEST(CMsStringSlice, LeftAndRightClampTheCount) {
    CMsString s("abc");
    EXPECT_STREQ(s.Left(10), "abc");
    EXPECT_STREQ(s.Left(2), "ab");
    EXPECT_STREQ(s.Left(-1), "");
    EXPECT_STREQ(s.Right(-1), "");
    EXPECT_STREQ(s.Right(2), "bc");
    EXPECT_STREQ(s.Right(7), "abc");
    EXPECT_EQ(s.Right(2).GetLength(), 2);
}

TEST(CMsStringSlice, SlicesAreIndependentOfTheirSource) {
    CMsString s("abcdef");
    CMsString mid = s.Mid(1, 3);
    s.Replace('c', 'X');
    EXPECT_STREQ(mid, "bcd");
    EXPECT_STREQ(s, "abXdef");
}

TEST(CMsStringSlice, DeleteLeft) {
    CMsString s("abc");
    s.DeleteLeft(3);
    EXPECT_STREQ(s, "abc");
    s.DeleteLeft(0);
    s.DeleteLeft(-2);
    EXPECT_STREQ(s, "abc");
    s.DeleteLeft(1);
    EXPECT_STREQ(s, "bc");
    EXPECT_EQ(s.GetLength(), 2);
}

// --- Trimming ---

TEST(CMsStringTrim, WhiteSpace) {
    CMsString s(" \t\r\n middle  part \t\n");
    CMsString left(s);
    left.TrimLeft();
    EXPECT_STREQ(left, "middle  part \t\n");
    EXPECT_EQ(left.GetLength(), 15);
    CMsString right(s);
    right.TrimRight();
    EXPECT_STREQ(right, " \t\r\n middle  part");
    EXPECT_EQ(right.GetLength(), 17);
}

TEST(CMsStringTrim, WithASet) {
    CMsString s("a b \t ");
    s.TrimRight(" \t");
    EXPECT_STREQ(s, "a b");
    EXPECT_EQ(s.GetLength(), 3);

    CMsString t("--=x=-y-=");
    t.TrimLeft("=-");
    EXPECT_STREQ(t, "x=-y-=");
    t.TrimRight("-=");
    EXPECT_STREQ(t, "x=-y");

    CMsString u(" keep ");
    u.TrimLeft("");
    u.TrimLeft(static_cast<const char*>(nullptr));
    u.TrimRight("");
    EXPECT_STREQ(u, " keep ");
}

TEST(CMsStringTrim, WithACharacter) {
    CMsString path("C:\\dir\\\\\\");
    path.TrimRight('\\');
    EXPECT_STREQ(path, "C:\\dir");
    EXPECT_EQ(path.GetLength(), 6);

    CMsString s("xxaxbxx");
    s.TrimLeft('x');
    EXPECT_STREQ(s, "axbxx");
    EXPECT_EQ(s.GetLength(), 5);

    // A right trim ends at the first zero byte, whatever follows it, in 7-bit
    // and in 8-bit text alike (0xB1 is one character under 932 too).
    for (const char* bytes : {"a  \0b", "\xb1  \0b"}) {
        CMsString withZero = FromBytes(std::string(bytes, 5));
        withZero.TrimRight(' ');
        EXPECT_EQ(withZero.GetLength(), 1) << bytes;
        CMsString blank = FromBytes(std::string(bytes, 5));
        blank.TrimRight();
        EXPECT_EQ(blank.GetLength(), 1) << bytes;
        EXPECT_EQ(blank.GetAt(0), bytes[0]);
    }
}

TEST(CMsStringTrim, EverythingTrimmedLeavesAnEmptyString) {
    CMsString a("    ");
    a.TrimLeft();
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_STREQ(a, "");
    CMsString b("\\\\");
    b.TrimRight('\\');
    EXPECT_TRUE(b.IsEmpty());
    CMsString c;
    c.TrimLeft();
    c.TrimRight("ab");
    EXPECT_EQ(static_cast<const char*>(c), EmptyPointer());
}

// --- Replacing ---

TEST(CMsStringReplace, TextOccurrencesDoNotOverlap) {
    CMsString s("aaaa");
    EXPECT_EQ(s.Replace("aa", "b"), 2);
    EXPECT_STREQ(s, "bb");
    EXPECT_EQ(s.GetLength(), 2);

    CMsString t("aaa");
    EXPECT_EQ(t.Replace("aa", "x"), 1);
    EXPECT_STREQ(t, "xa");
}

TEST(CMsStringReplace, GrowsShrinksAndRemoves) {
    CMsString s("a,b,,c");
    EXPECT_EQ(s.Replace(",", "<->"), 3);
    EXPECT_STREQ(s, "a<->b<-><->c");
    EXPECT_EQ(s.GetLength(), 12);
    EXPECT_EQ(s.Replace("<->", ""), 3);
    EXPECT_STREQ(s, "abc");
    EXPECT_EQ(s.Replace("b", nullptr), 1);
    EXPECT_STREQ(s, "ac");
    EXPECT_EQ(s.Replace("ac", "whole"), 1);
    EXPECT_STREQ(s, "whole");
}

TEST(CMsStringReplace, GrowsInPlaceWhenTheBlockHasRoom) {
    CMsString s("x-x-x");
    s.GetBuffer(64);
    s.ReleaseBuffer(-1);
    const char* before = s;
    EXPECT_EQ(s.Replace("x", "yyy"), 3);
    EXPECT_EQ(static_cast<const char*>(s), before);
    EXPECT_STREQ(s, "yyy-yyy-yyy");
    EXPECT_EQ(s.GetLength(), 11);
}

TEST(CMsStringReplace, ReplacementTextContainingTheSearchIsNotRescanned) {
    CMsString s("ab");
    EXPECT_EQ(s.Replace("a", "aa"), 1);
    EXPECT_STREQ(s, "aab");
    CMsString roomy("abab");
    roomy.GetBuffer(40);
    roomy.ReleaseBuffer(-1);
    EXPECT_EQ(roomy.Replace("b", "bb"), 2);
    EXPECT_STREQ(roomy, "abbabb");
}

TEST(CMsStringReplace, NothingToReplace) {
    CMsString s("abc");
    CMsString copy(s);
    EXPECT_EQ(s.Replace("", "x"), 0);
    EXPECT_EQ(s.Replace(static_cast<const char*>(nullptr), "x"), 0);
    EXPECT_EQ(s.Replace("zz", "x"), 0);
    EXPECT_EQ(s.Replace('b', 'b'), 0);
    EXPECT_EQ(s.Replace('q', 'b'), 0);
    EXPECT_STREQ(s, "abc");
    EXPECT_EQ(static_cast<const char*>(s), static_cast<const char*>(copy));

    // Both point at the shared empty block, which must not count as a text
    // taken from the string itself.
    CMsString empty;
    EXPECT_EQ(empty.Replace("x", CMsString()), 0);
    EXPECT_EQ(empty.Replace(CMsString("x"), empty), 0);
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(CMsStringReplace, SearchesEveryPieceBetweenEmbeddedZeros) {
    CMsString s = FromBytes(std::string("ab\0ab", 5));
    EXPECT_EQ(s.Replace("ab", "X"), 2);
    EXPECT_EQ(Bytes(s), std::string("X\0X", 3));

    CMsString g = FromBytes(std::string("a\0a", 3));
    EXPECT_EQ(g.Replace("a", "123"), 2);
    EXPECT_EQ(Bytes(g), std::string("123\0" "123", 7));
}

TEST(CMsStringReplace, TextsTakenFromTheStringItself) {
    CMsString s("ab-ab-ab");
    s.GetBuffer(64);
    s.ReleaseBuffer(-1);
    const char* chars = s;
    EXPECT_EQ(s.Replace("ab", chars + 2), 3);
    EXPECT_STREQ(s, "-ab-ab--ab-ab--ab-ab");
    chars = s;
    EXPECT_EQ(s.Replace(chars + 1, "x"), 1);
    EXPECT_STREQ(s, "-x");
}

TEST(CMsStringReplace, Characters) {
    CMsString s("a.b.c");
    EXPECT_EQ(s.Replace('.', '/'), 2);
    EXPECT_STREQ(s, "a/b/c");

    CMsString z = FromBytes(std::string("ab\0cd", 5));
    EXPECT_EQ(z.Replace('\0', '-'), 1);
    EXPECT_STREQ(z, "ab-cd");
}

// --- Formatting ---

TEST(CMsStringFormat, EstimateCoversTheOutputExactlyForAStringItem) {
    CMsString s;
    s.Format("a%sb", "xyz");
    EXPECT_STREQ(s, "axyzb");
    EXPECT_EQ(s.GetLength(), 5);
    EXPECT_EQ(DataOf(s)->capacity, 8);
}

TEST(CMsStringFormat, Conversions) {
    CMsString s;
    s.Format("%d|%5d|%-4d|%u|%x|%X|%c|%s|%%", -42, 7, 3, 4000000000u, 255, 255, 'q', "str");
    EXPECT_STREQ(s, "-42|    7|3   |4000000000|ff|FF|q|str|%");
    s.Format("[%10.3s][%-6s][%.2s]", "abcdef", "ab", "xyz");
    EXPECT_STREQ(s, "[       abc][ab    ][xy]");
    s.Format("%05d %#x", 42, 255);
    EXPECT_STREQ(s, "00042 0xff");
}

TEST(CMsStringFormat, ReplacesTheContentsAndLeavesSharersAlone) {
    CMsString s("previous contents that are long");
    CMsString copy(s);
    s.Format("%s=%d", "n", 5);
    EXPECT_STREQ(s, "n=5");
    EXPECT_EQ(s.GetLength(), 3);
    EXPECT_STREQ(copy, "previous contents that are long");
}

TEST(CMsStringFormat, PaddedFieldsLongerThanTheirTextFit) {
    CMsString s;
    s.Format("%10.3s", "abcdef");
    EXPECT_STREQ(s, "       abc");
    EXPECT_GE(DataOf(s)->capacity, 10);
    s.Empty();
    s.Format("%-30c", 'x');
    EXPECT_EQ(s.GetLength(), 30);
    EXPECT_GE(DataOf(s)->capacity, 30);
}

TEST(CMsStringFormat, OutputStopsAtTheFormattersLimit) {
    std::string longText(3000, 'L');
    CMsString s;
    s.Format("%s", longText.c_str());
    EXPECT_GE(s.GetLength(), 1000);
    EXPECT_LE(s.GetLength(), 1024);
    EXPECT_EQ(std::string(s), longText.substr(0, s.GetLength()));
    EXPECT_EQ(s.GetLength(), static_cast<int>(strlen(s)));
}

TEST(CMsStringFormat, ArgumentsMayPointIntoTheStringItself) {
    CMsString s("abc");
    s.GetBuffer(100);
    s.ReleaseBuffer(-1);
    s.Format("x%sy%s", static_cast<const char*>(s), static_cast<const char*>(s));
    EXPECT_STREQ(s, "xabcyabc");
    s.Format(s);
    EXPECT_STREQ(s, "xabcyabc");
}

TEST(CMsStringFormat, FormatStringAndEmptyFormats) {
    EXPECT_STREQ(FormatString("%d-%s", 12, "x"), "12-x");
    EXPECT_TRUE(FormatString(nullptr).IsEmpty());
    CMsString s("old");
    s.Format("");
    EXPECT_TRUE(s.IsEmpty());
    s.Format("plain");
    EXPECT_STREQ(s, "plain");
}

#ifdef _WIN32
TEST(CMsStringFormat, SixtyFourBitIntegersKeepLaterArgumentsInPlace) {
    CMsString s;
    s.Format("%I64d %s %I64x", static_cast<__int64>(-1234567890123LL), "mid",
             static_cast<unsigned __int64>(0x123456789ABULL));
    EXPECT_STREQ(s, "-1234567890123 mid 123456789ab");
}

TEST(CMsStringResource, ShortResource) {
    CMsString s("previous");
    EXPECT_TRUE(s.LoadString(IDS_TEST_SHORT));
    EXPECT_STREQ(s, "short resource text");
}

TEST(CMsStringResource, ResourceLongerThanTheFirstBufferIsLoadedCompletely) {
    // The platform's own read with a roomy buffer is the reference.
    char reference[2048];
    int referenceLength = LoadStringA(GetModuleHandleA(nullptr), IDS_TEST_300, reference, sizeof reference);
    ASSERT_GE(referenceLength, 300);
    CMsString s;
    EXPECT_TRUE(s.LoadString(IDS_TEST_300));
    EXPECT_EQ(s.GetLength(), referenceLength);
    EXPECT_STREQ(s, reference);

    CMsString shared("keep me");
    CMsString copy(shared);
    EXPECT_TRUE(copy.LoadString(IDS_TEST_300));
    EXPECT_STREQ(shared, "keep me");
    EXPECT_STREQ(copy, reference);
}

TEST(CMsStringResource, MissingResourceLeavesTheStringEmpty) {
    CMsString s("something");
    EXPECT_FALSE(s.LoadString(4242));
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CMsStringResource, ConstructingFromAnIdentifierLoadsTheResource) {
    CMsString s(MAKEINTRESOURCEA(IDS_TEST_SHORT));
    EXPECT_STREQ(s, "short resource text");
    CMsString missing(MAKEINTRESOURCEA(4243));
    EXPECT_TRUE(missing.IsEmpty());
}

TEST(CMsStringWindowText, ReadsTheWindowText) {
    HWND window = CreateWindowA("STATIC", "window caption", 0, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    CMsString s("old");
    EXPECT_EQ(s.SetFromWindowText(window), 14);
    EXPECT_STREQ(s, "window caption");
    SetWindowTextA(window, "");
    EXPECT_EQ(s.SetFromWindowText(window), 0);
    EXPECT_TRUE(s.IsEmpty());
    DestroyWindow(window);

    CMsString gone("old");
    EXPECT_EQ(gone.SetFromWindowText(window), 0);
    EXPECT_TRUE(gone.IsEmpty());
}
#else
TEST(CMsStringResource, FailedImplicitLoadIsReportedAndLeavesTheStringEmpty) {
    OutputDebugStringA("");
    CMsString s(MAKEINTRESOURCEA(IDS_TEST_SHORT));
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_STREQ(SeamLastDebugOutput(), "Warning: implicit LoadString() in CMsString failed\n");
}
#endif

}  // namespace

// A trail byte that equals the searched, trimmed or replaced byte belongs to
// its double-byte character and is never taken on its own.
TEST(CMsStringDoubleByte, SearchesMatchWholeCharactersOnly) {
    SKIP_UNLESS_CODE_PAGE_932();
    CMsString text("\x95\x5C\x83\x7C\x83\x40\\|@");
    EXPECT_EQ(text.Find('\\'), 6);
    EXPECT_EQ(text.Find("|"), 7);
    EXPECT_EQ(text.Find("@", true, 0), 8);
    EXPECT_EQ(text.Find('|', false, 0), 7);
    EXPECT_EQ(text.Find("\x83\x40", true, 1), 4);
    // Only single-byte letters fold: ア ("\x83A") is neither ヂ ("\x83a") nor a.
    CMsString katakana("\x83\x41\x83\x61xA");
    EXPECT_EQ(katakana.Find("a", false, 0), 5);
    EXPECT_EQ(katakana.Find("\x83\x61", false, 0), 2);
    EXPECT_EQ(katakana.Find("\x83\x41X", false, 0), -1);
    EXPECT_EQ(katakana.Find("\x83\x61X", false, 0), 2);
}

TEST(CMsStringDoubleByte, TrimsAndReplacesWholeCharactersOnly) {
    SKIP_UNLESS_CODE_PAGE_932();
    const struct {
        const char* text;
        void (*trim)(CMsString&);
        const char* expected;
    } rows[] = {
        {"\x95\x5C", [](CMsString& s) { s.TrimRight('\\'); }, "\x95\x5C"},
        {"\x95\x5C\\\\", [](CMsString& s) { s.TrimRight('\\'); }, "\x95\x5C"},
        {"\x83\x5C|\x83\x7C", [](CMsString& s) { s.TrimRight("\\|@["); }, "\x83\x5C|\x83\x7C"},
        {"[@\x83\x40\x83\x5B[", [](CMsString& s) { s.TrimRight("[@"); }, "[@\x83\x40\x83\x5B"},
        {"[@\x83\x40\x83\x5B[", [](CMsString& s) { s.TrimLeft("[@"); }, "\x83\x40\x83\x5B["},
        {" \t\x83\x5C \r\n", [](CMsString& s) { s.TrimLeft(); s.TrimRight(); }, "\x83\x5C"},
        {"\x95\x5C\\", [](CMsString& s) { s.Replace('\\', '/'); }, "\x95\x5C/"},
        {"\x95\x5C\\\x83\x5C", [](CMsString& s) { s.Replace("\\", "/"); }, "\x95\x5C/\x83\x5C"},
    };
    for (const auto& row : rows) {
        CMsString s(row.text);
        row.trim(s);
        EXPECT_EQ(Bytes(s), row.expected) << row.text;
    }
}
