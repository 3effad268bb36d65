// The output-length estimate that sizes CMsString::Format's buffer: it must
// never be below what wvsprintfA writes.
#include "util/FormatLength.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

int Estimate(const char* format, ...) {
    va_list args;
    va_start(args, format);
    int estimate = EstimateFormatLength(format, args);
    va_end(args);
    return estimate;
}

// The estimate and the real output for the same arguments; the guard bytes
// behind the output show how far wvsprintfA wrote.
struct Measured {
    int estimate;
    int written;
};

Measured Measure(const char* format, ...) {
    static char output[4096];
    memset(output, 0x7F, sizeof output);
    va_list args;
    va_start(args, format);
    int estimate = EstimateFormatLength(format, args);
    wvsprintfA(output, format, args);
    va_end(args);
    int written = 0;
    while (written < static_cast<int>(sizeof output) && output[written] != 0x7F) ++written;
    // written counts the terminator as well: the buffer needs estimate + 1 bytes.
    return {estimate, written - 1};
}

TEST(FormatLength, ExamplesOfTheRule) {
    EXPECT_EQ(Estimate("a%sb", "xyz"), 8);
    EXPECT_EQ(Estimate(""), 0);
    EXPECT_EQ(Estimate("abc"), 6);
    EXPECT_EQ(Estimate("%%"), 1);
    EXPECT_EQ(Estimate("%s", ""), 1);
    EXPECT_EQ(Estimate("%s", static_cast<const char*>(nullptr)), 6);
    EXPECT_EQ(Estimate("%c", 'x'), 2);
    EXPECT_EQ(Estimate(nullptr), 0);
}

TEST(FormatLength, ArgumentsAreWalkedInStep) {
    // A wrong step would read the later string from the wrong place.
    EXPECT_EQ(Estimate("%d%s", 5, "abcdefghij") - Estimate("%d%s", 5, "a"), 9);
    EXPECT_EQ(Estimate("%c%*d%s", 'x', 3, 7, "abcdefghij") - Estimate("%c%*d%s", 'x', 3, 7, "a"), 9);
    EXPECT_EQ(Estimate("%.*s%s", 2, "zz", "abcdefghij") - Estimate("%.*s%s", 2, "zz", "a"), 9);
    EXPECT_EQ(Estimate("%p%s", static_cast<void*>(nullptr), "abcdefghij") -
                  Estimate("%p%s", static_cast<void*>(nullptr), "a"),
              9);
}

TEST(FormatLength, NeverBelowTheOutput) {
    const std::string hundred(100, 'h');
    const Measured cases[] = {
        Measure("a%sb", "xyz"),
        Measure("%10.3s", "abcdef"),
        Measure("%-40.1s|", "abcdef"),
        Measure("%-30c", 'x'),
        Measure("%5c", 'x'),
        Measure("%.40d", -1),
        Measure("%50d", -123456),
        Measure("%#x", 0xABCDEF),
        Measure("%#o", 8),
        Measure("%*d", -50, 3),
        Measure("%*d", 60, 3),
        Measure("%.*s", -1, "negative precision"),
        Measure("%.*s", 3, "abcdef"),
        Measure("%s%s%s", hundred.c_str(), hundred.c_str(), hundred.c_str()),
        Measure("%s", static_cast<const char*>(nullptr)),
        Measure("%20s", static_cast<const char*>(nullptr)),
        Measure("100%%"),
        Measure("%u %i %X", 4294967295u, -2147483647, 0xFFFFFFFFu),
        Measure("%y"),
        Measure("abc%"),
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        EXPECT_GE(cases[i].estimate, cases[i].written) << "case " << i;
        EXPECT_GE(cases[i].written, 0) << "case " << i;
    }
}

TEST(FormatLength, CappedAtTheFormattersLimit) {
    const std::string big(5000, 'b');
    EXPECT_EQ(Estimate("%s", big.c_str()), kFormatOutputLimit);
    EXPECT_EQ(Estimate(big.c_str()), kFormatOutputLimit);
    Measured measured = Measure("%s", big.c_str());
    EXPECT_GE(measured.estimate, measured.written);
}

TEST(FormatLength, HugeWidthsAndPrecisionsDoNotOverflow) {
    EXPECT_EQ(Estimate("%99999999999999999999999d", 1), kFormatOutputLimit);
    EXPECT_EQ(Estimate("%.99999999999999999999s", "abc"), 3);
    EXPECT_EQ(Estimate("%*s", -2147483647 - 1, "abc"), kFormatOutputLimit);
}

TEST(FormatLength, FloatingPointGivesTheLargestEstimate) {
    OutputDebugStringA("");
    EXPECT_EQ(Estimate("x%fy", 1.5), kFormatOutputLimit);
    EXPECT_EQ(Estimate("%s%g", "a", 2.5), kFormatOutputLimit);
#ifndef _WIN32
    EXPECT_STREQ(SeamLastDebugOutput(),
                 "Floating point (%%e, %%f, %%g, and %%G) is not supported by the WTL::CMsString class.");
#endif
}

}  // namespace
