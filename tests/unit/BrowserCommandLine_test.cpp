#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>

#include "browser/BrowserCommandLine.h"

#ifdef _WIN32
#include <shellapi.h>
#endif

namespace {

std::string Encode(const std::string& url) { return static_cast<const char*>(EncodeUrlArgument(url.c_str())); }

std::string Build(const char* command, const std::string& url) {
    return static_cast<const char*>(BuildBrowserCommandLine(CMsString(command), url.c_str()));
}

int HexValue(char digit) {
    if (digit >= '0' && digit <= '9') return digit - '0';
    if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
    return -1;
}

// Undoes only the escapes the encoder writes; other text stays as it is.
std::string DecodeEscapes(const std::string& encoded) {
    std::string decoded;
    for (size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '%' && i + 2 < encoded.size() && HexValue(encoded[i + 1]) >= 0 &&
            HexValue(encoded[i + 2]) >= 0) {
            char byte = static_cast<char>(HexValue(encoded[i + 1]) * 16 + HexValue(encoded[i + 2]));
            if (byte == '"' || byte == ' ' || byte == 0x7F || (byte > 0 && byte < 0x20)) {
                decoded += byte;
                i += 2;
                continue;
            }
        }
        decoded += encoded[i];
    }
    return decoded;
}

bool SplitsOrQuotes(unsigned char byte) { return byte <= 0x20 || byte == 0x7F || byte == '"'; }

}  // namespace

TEST(EncodeUrlArgument, LeavesOrdinaryUrlsAlone) {
    const std::string urls[] = {
        "http://example.com/",
        "https://example.com/path/a.html?x=1&y=%41#frag",
        "mailto:someone@example.com",
        "http://example.com/\xC3\xA9t\xC3\xA9",  // bytes above 0x7F pass through
    };
    for (const std::string& url : urls) EXPECT_EQ(Encode(url), url);
}

TEST(EncodeUrlArgument, EscapesQuotesBlanksAndControlBytes) {
    EXPECT_EQ(Encode("http://x/a b"), "http://x/a%20b");
    EXPECT_EQ(Encode("http://x/\"q\""), "http://x/%22q%22");
    EXPECT_EQ(Encode("a\tb\rc\nd"), "a%09b%0Dc%0Ad");
    EXPECT_EQ(Encode("\x01\x1F\x7F"), "%01%1F%7F");
    EXPECT_EQ(Encode(" "), "%20");
}

TEST(EncodeUrlArgument, EveryByteEitherPassesOrIsEscapedAndComesBack) {
    for (int value = 1; value < 256; ++value) {
        std::string url = std::string("a") + static_cast<char>(value) + "z";
        std::string encoded = Encode(url);
        for (char c : encoded) EXPECT_FALSE(SplitsOrQuotes(static_cast<unsigned char>(c))) << "byte " << value;
        EXPECT_EQ(DecodeEscapes(encoded), url) << "byte " << value;
        EXPECT_EQ(encoded.size(), SplitsOrQuotes(static_cast<unsigned char>(value)) ? 5u : 3u) << "byte " << value;
    }
}

// A UTF-8 document's link reaches the browser as ASCII, as browsers send it.
TEST(AsciiAddress, BytesBeyondAsciiAreEscapedAndTheRestStays) {
    EXPECT_STREQ(AsciiAddress("https://x/caf\xC3\xA9?q=a b"), "https://x/caf%C3%A9?q=a b");
    EXPECT_STREQ(AsciiAddress("\xE6\x97\xA5"), "%E6%97%A5");
}

TEST(EncodeUrlArgument, NullAndEmptyGiveEmpty) {
    EXPECT_TRUE(EncodeUrlArgument(nullptr).IsEmpty());
    EXPECT_TRUE(EncodeUrlArgument("").IsEmpty());
}

TEST(EncodeUrlArgument, LongHostileUrlIsEncodedInLinearTime) {
    std::string url(300000, ' ');
    url += "\"";
    auto start = std::chrono::steady_clock::now();
    std::string encoded = Encode(url);
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(encoded.size(), url.size() * 3);
    EXPECT_EQ(encoded.substr(encoded.size() - 6), "%20%22");
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 2000);
}

TEST(BuildBrowserCommandLine, AppendsTheUrlWhenTheCommandHasNoPlaceholder) {
    EXPECT_EQ(Build("C:\\B\\b.exe -nohome", "http://x/"), "C:\\B\\b.exe -nohome http://x/");
}

TEST(BuildBrowserCommandLine, FillsEveryPlaceholder) {
    EXPECT_EQ(Build("\"C:\\B\\b.exe\" \"%1\"", "http://x/"), "\"C:\\B\\b.exe\" \"http://x/\"");
    EXPECT_EQ(Build("b.exe %1 --again \"%1\"", "http://x/"), "b.exe http://x/ --again \"http://x/\"");
}

TEST(BuildBrowserCommandLine, PlaceholderIsCaseAndDigitExact) {
    // "%L" and "%2" are not the URL's place: the URL is appended instead.
    EXPECT_EQ(Build("b.exe %L %2", "u"), "b.exe %L %2 u");
}

TEST(BuildBrowserCommandLine, PlaceholderInsideTheUrlIsNotFilledAgain) {
    EXPECT_EQ(Build("b.exe \"%1\"", "http://x/%1/%1"), "b.exe \"http://x/%1/%1\"");
}

TEST(BuildBrowserCommandLine, HostileUrlCannotLeaveItsQuotes) {
    std::string line = Build("\"C:\\B\\b.exe\" \"%1\"", "http://x/\" --evil \"y");
    EXPECT_EQ(line, "\"C:\\B\\b.exe\" \"http://x/%22%20--evil%20%22y\"");
}

TEST(IsPlainAddress, SwitchesAndScriptAreNoAddresses) {
    const struct {
        const char* url;
        bool plain;
    } cases[] = {
        {"https://example.test/path?q=1", true},
        {"http://e.test/a-b/c", true},
        {"mailto:someone@example.test", true},
        {"javascriptx:alert(1)", true},
        {"my javascript:x", true},
        {"\x81-", true},
        {"-k http://e.test/", false},
        {"--renderer-cmd-prefix=calc.exe", false},
        {"/c calc.exe", false},
        {"//e.test/page", false},
        {"  \t\r\n-k", false},
        {"\x01/c", false},
        {"javascript:alert(1)", false},
        {"JavaScript:alert(1)", false},
        {" \tJAVASCRIPT:x", false},
        {"java\tscr\nipt:x", false},
        {"vbscript:msgbox(1)", false},
        {"VBScript:x", false},
        {"", true},
        {nullptr, false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsPlainAddress(c.url), c.plain) << (c.url ? c.url : "(null)");
}

TEST(QuotedProgramPath, OnlyBarePathsWithBlanksAreQuoted) {
    const struct {
        const char* path;
        const char* quoted;
    } cases[] = {
        {"C:\\Program Files\\B\\b.exe", "\"C:\\Program Files\\B\\b.exe\""},
        {"\"C:\\Program Files\\B\\b.exe\"", "\"C:\\Program Files\\B\\b.exe\""},
        {"C:\\B\\b.exe", "C:\\B\\b.exe"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(QuotedProgramPath(CMsString(c.path)), c.quoted) << c.path;
}

#ifdef _WIN32
TEST(BuildBrowserCommandLine, HostileUrlStaysOneArgumentForTheSystemSplitter) {
    const char* commands[] = {"\"C:\\B\\b.exe\" \"%1\"", "C:\\B\\b.exe %1", "C:\\B\\b.exe -url \"%1\""};
    const std::string url = "http://x/a b\t\"c\" d";
    for (const char* command : commands) {
        std::string line = Build(command, url);
        int wideLength = MultiByteToWideChar(CP_ACP, 0, line.c_str(), -1, nullptr, 0);
        std::wstring wide(wideLength, L'\0');
        MultiByteToWideChar(CP_ACP, 0, line.c_str(), -1, &wide[0], wideLength);
        int count = 0;
        LPWSTR* args = CommandLineToArgvW(wide.c_str(), &count);
        ASSERT_NE(args, nullptr);
        std::wstring last = args[count - 1];
        LocalFree(args);
        EXPECT_EQ(count, strstr(command, "-url") ? 3 : 2) << line;
        EXPECT_EQ(last, L"http://x/a%20b%09%22c%22%20d") << line;
    }
}
#endif
