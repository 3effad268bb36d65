// The real dialog run in-process on hostile parameters: each must come up and
// go away again within ten seconds, without a crash. The time of every run is
// printed. With MIREL_STRESS_DLL naming a shipping (MinSizeRel) MirelDialog.dll,
// the runs go through that DLL instead and must answer within two seconds.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "include/MirelDialog.h"
#include "resources/resource.h"
#include "support/ScratchFile.h"
#include "support/win/DialogDriver.h"

namespace {
// A hostile run must come up and go away within this time: the test build
// is unoptimised and traps undefined behaviour, the shipping DLL is not.
const DWORD TEST_BUILD_LIMIT_MS = 10000;
const DWORD SHIPPING_LIMIT_MS = 2000;
// A run still up after this long is closed by the driver so that the suite
// itself never hangs; the run has then failed.
const DWORD HANG_LIMIT_MS = 60000;
const int INT_LIMIT = 2147483647;

typedef int(WINAPI* RunDialogFn)(const char*);

// RunMirelDialog of the DLL named by MIREL_STRESS_DLL (loaded once and kept
// for the whole run), or null when the variable is not set.
RunDialogFn LoadShippingDll() {
    char path[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("MIREL_STRESS_DLL", path, sizeof path)) return nullptr;
    HMODULE library = LoadLibraryA(path);
    FARPROC run = library ? GetProcAddress(library, "RunMirelDialog") : nullptr;
    if (!run) {
        fprintf(stderr, "MIREL_STRESS_DLL %s: no RunMirelDialog to load\n", path);
        ExitProcess(2);
    }
    return reinterpret_cast<RunDialogFn>(reinterpret_cast<void*>(run));
}

RunDialogFn ShippingDll() {
    static const RunDialogFn run = LoadShippingDll();
    return run;
}

int RunDialog(const char* parameters) {
    RunDialogFn shipping = ShippingDll();
    return shipping ? shipping(parameters) : RunMirelDialog(parameters);
}

// Under qemu-user every instruction costs several times as much, and
// tools/wine32-run.sh says how many in MIREL_TIME_SCALE: the limits are there
// to catch runaway work, not to measure the machine.
DWORD TimeScale() {
    char value[16] = "";
    if (!GetEnvironmentVariableA("MIREL_TIME_SCALE", value, sizeof value)) return 1;
    int scale = atoi(value);
    return scale > 1 ? static_cast<DWORD>(scale) : 1;
}

DWORD LimitMs() { return (ShippingDll() ? SHIPPING_LIMIT_MS : TEST_BUILD_LIMIT_MS) * TimeScale(); }

DWORD HangLimitMs() { return HANG_LIMIT_MS * TimeScale(); }

struct HostileRun {
    int result = 0;
    bool shown = false;
    bool timedOut = false;
    bool htmlControlsUp = false;
    DWORD elapsedMs = 0;
};

bool IsHtmlControl(HWND window) {
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    return lstrcmpA(className, "HaleSimpleHtmlCtrlClass") == 0;
}

// The middle of the part of the window that is on the screen.
POINT VisibleMiddle(HWND window) {
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(window, &rect);
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&rect, &rect, &screen);
    POINT middle = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    return middle;
}

// Paints everything now (the dialog's thread carries out the driving thread's
// request), hit-tests the message under the mouse, then answers No the way
// the No button does: even a button too narrow to click must not keep the
// dialog up.
void PaintThenAnswerNo(HWND dialog, HostileRun& run) {
    HWND message = GetDlgItem(dialog, IDC_MESSAGE);
    HWND disclaimer = GetDlgItem(dialog, IDC_DISCLAIMER);
    run.htmlControlsUp = IsHtmlControl(message) && IsHtmlControl(disclaimer);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    POINT middle = VisibleMiddle(message);
    SetCursorPos(middle.x, middle.y);
    SendMessageA(message, WM_SETCURSOR, reinterpret_cast<WPARAM>(message), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    HWND no = GetDlgItem(dialog, IDC_NO);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_NO, BN_CLICKED), reinterpret_cast<LPARAM>(no));
}

// parameters is the host's string (text or a file path); bytes is the size
// of the parameter text, for the report. inspect, when given, looks at the
// dialog before it is painted and answered.
HostileRun RunHostile(const char* name, const std::string& parameters, size_t bytes,
                      const DialogDriver::Action& inspect = nullptr) {
    HostileRun run;
    DialogDriver driver(
        [&](HWND dialog) {
            if (inspect) inspect(dialog);
            PaintThenAnswerNo(dialog, run);
        },
        HangLimitMs());
    DWORD start = GetTickCount();
    run.result = RunDialog(parameters.c_str());
    run.elapsedMs = GetTickCount() - start;
    driver.Finish();
    run.shown = driver.EverShown();
    run.timedOut = driver.TimedOut();
    printf("[ stress   ] %-48s %6lu ms  %5lu KB  result %d\n", name, run.elapsedMs,
           static_cast<unsigned long>(bytes / 1024), run.result);
    fflush(stdout);
    return run;
}

// The run was shown, painted and answered within the limit.
void ExpectAnswered(const char* name, const HostileRun& run, DWORD limitMs = LimitMs()) {
    EXPECT_TRUE(run.shown) << name;
    EXPECT_TRUE(run.htmlControlsUp) << name;
    EXPECT_FALSE(run.timedOut) << name;
    EXPECT_LT(run.elapsedMs, limitMs) << name;
    EXPECT_EQ(run.result, MIREL_RESULT_NO) << name;
}

std::string Parameters(const std::string& message, const std::string& width = "400",
                       const std::string& disclaimer = "By clicking Yes you agree.") {
    return "<TITLE>Stress</TITLE><LOCATION>Center-Center</LOCATION><WIDTH>" + width +
           "</WIDTH>\r\n<MESSAGE>" + message + "</MESSAGE>\r\n<DISCLAIMER>" + disclaimer +
           "</DISCLAIMER>\r\n";
}

std::string Repeated(const std::string& piece, size_t times) {
    std::string out;
    out.reserve(piece.size() * times);
    for (size_t i = 0; i < times; ++i) out += piece;
    return out;
}

// Numbered words separated by blanks, about `bytes` long.
std::string Words(size_t bytes) {
    std::string out;
    out.reserve(bytes + 16);
    for (unsigned n = 0; out.size() < bytes; ++n) out += "word" + std::to_string(n % 997) + " ";
    return out;
}

void Check(const char* name, const std::string& parameters) {
    ExpectAnswered(name, RunHostile(name, parameters, parameters.size()));
}

// The same with the parameter text in a file whose path is handed over.
void CheckFile(const char* name, const std::string& contents, DWORD limitMs = LimitMs()) {
    ScratchFile file(contents);
    ExpectAnswered(name, RunHostile(name, file.Path(), contents.size()), limitMs);
}
}  // namespace

TEST(StressMessage, TwoHundredKilobytesOfWords) {
    Check("200 KB message of words", Parameters(Words(200 * 1024)));
    Check("2 MB message of words", Parameters(Words(2 * 1024 * 1024)));
}

TEST(StressMessage, FiveThousandNestedUnclosedBoldAndFontTags) {
    Check("5000 nested unclosed b and font tags",
          Parameters(Repeated("<b><font face=\"Arial, Tahoma\" size=\"4\" color=\"#336699\">deeper ", 5000)));
}

// The style in effect must not be worked out anew from every open tag at
// every element: that made twenty thousand of them take half a minute. A tag
// closed under others still costs a search through those above it.
TEST(StressMessage, TwentyThousandNestedUnclosedTagsAndClosingsUnderThem) {
    Check("20,000 nested unclosed b", Parameters(Repeated("<b>w ", 20000)));
    Check("5,000 b under 5,000 i, then the b closed",
          Parameters(Repeated("<b>", 5000) + Repeated("<i>w ", 5000) + Repeated("</b>x ", 5000)));
    Check("10,000 font, then 10,000 b and i pairs on top",
          Parameters(Repeated("<font size=\"3\" color=\"#102030\">", 10000) + Repeated("<b>x</b> <i>y</i> ", 10000)));
}

// Lists that grew by one slot per open tag or per face name made these take
// from seven seconds to over a minute.
TEST(StressMessage, OpenTagsAndFaceNamesByTheTenThousand) {
    Check("100,000 unclosed b", Parameters(Repeated("<b>", 100000) + "bold"));
    Check("30,000 b opened, then closed",
          Parameters(Repeated("<b>", 30000) + "x" + Repeated("</b>", 30000) + " y"));
    std::string faces;
    for (int n = 0; n < 60000; ++n) faces += "NoSuchFace" + std::to_string(n) + ", ";
    Check("one font face listing 60,000 names", Parameters("<font face=\"" + faces + "Arial\">x</font>"));
}

TEST(StressMessage, OneWordOfOneHundredThousandCharacters) {
    Check("one 100,000-character word", Parameters(std::string(100000, 'w')));
}

TEST(StressMessage, TenThousandLinks) {
    std::string links;
    for (int n = 0; n < 10000; ++n) {
        links += "<a href=\"https://example.com/offer/" + std::to_string(n) + "\">link " + std::to_string(n) + "</a> ";
    }
    Check("10,000 links", Parameters(links));
}

TEST(StressMessage, RunsOfTagOpenersAmpersandsAndCommentOpeners) {
    Check("100,000 '<'", Parameters("before " + std::string(100000, '<') + " after"));
    Check("100,000 '<' closed by one '>'", Parameters("before " + std::string(100000, '<') + "> after"));
    Check("100,000 '&'", Parameters("before " + std::string(100000, '&') + " after"));
    Check("20,000 '&amp;' and '&nbsp;'", Parameters(Repeated("&amp;&nbsp;", 10000)));
    Check("20,000 '<!--'", Parameters("before " + Repeated("<!--", 20000) + " after"));
    Check("20,000 closed comments", Parameters(Repeated("a<!--x-->", 20000)));
    Check("20,000 unclosed tags with blanks", Parameters(Repeated("<b x=\"a b ", 20000) + ">"));
}

TEST(StressNumbers, ImagesWithSizesAndSpacingsNearTheIntLimit) {
    const std::string max = std::to_string(INT_LIMIT);
    Check("image of int-limit width, hspace, vspace",
          Parameters("a <img src=\"rsrc://1\" width=\"" + max + "\" height=\"20\" hspace=\"" + max +
                     "\" vspace=\"" + max + "\"> b"));
    Check("image of int-limit width and height",
          Parameters("<center><img src=\"rsrc://2101\" width=\"" + max + "\" height=\"" + max + "\"></center>"));
    Check("image sizes beyond the int range",
          Parameters("<img width=\"99999999999999999999\" height=\"4294967297\" hspace=\"2147483648\">x"));
    Check("many huge images on one line", Parameters(Repeated("<img width=\"" + max + "\" height=\"1\"> ", 50)));
}

TEST(StressNumbers, FontsAndBodyValuesNearTheIntLimit) {
    const std::string max = std::to_string(INT_LIMIT);
    Check("font point-size at the int limit",
          Parameters("<font point-size=\"" + max + "\" weight=\"" + max + "\">huge</font> small"));
    Check("font point-size 100000", Parameters("<font point-size=\"100000\">huge</font>"));
    Check("body margins and height at the int limit",
          Parameters("<body leftmargin=\"" + max + "\" rightmargin=\"" + max + "\" topmargin=\"" + max +
                     "\" height=\"" + max + "\">text</body>"));
    Check("right-aligned and centred lines at the int limit",
          Parameters("<p align=\"right\"><center><img width=\"" + max + "\" height=\"3\">x</center></p>"));
}

// The dialog is placed at the work area's origin or further in, whatever its
// size: the placement arithmetic must not wrap around.
TEST(StressNumbers, WidthsAtAndBeyondTheIntLimit) {
    const char* const widths[] = {"2147483647", "2147483646", "99999999999999999999", "1"};
    for (const char* width : widths) {
        std::string parameters = Parameters("<p>wide</p>", width);
        RECT frame = {-1, -1, -1, -1};
        std::string name = std::string("WIDTH ") + width;
        HostileRun run = RunHostile(name.c_str(), parameters, parameters.size(),
                                    [&](HWND dialog) { GetWindowRect(dialog, &frame); });
        ExpectAnswered(name.c_str(), run);
        EXPECT_GE(frame.left, 0) << name;
        EXPECT_GE(frame.top, 0) << name;
        EXPECT_GT(frame.right, frame.left) << name;
    }
}

TEST(StressFiles, FourMegabyteParameterFiles) {
    const size_t fourMb = 4 * 1024 * 1024;
    std::string nearMisses;
    while (nearMisses.size() < fourMb) nearMisses += "<TITL <MESSAG </DISCLAIME <WIDTH >x <location ";
    CheckFile("4 MB file: near-miss tags, then the fields", nearMisses + Parameters("msg"));
    CheckFile("4 MB file: 4 MB title",
              "<TITLE>" + Words(fourMb) + "</TITLE>" + Parameters("m"));
    CheckFile("4 MB file: 4 MB location",
              "<LOCATION>" + std::string(fourMb, 'L') + "</LOCATION>" + Parameters("m"));
    CheckFile("4 MB file: 4 MB of digits in the width",
              "<WIDTH>400" + std::string(fourMb, '7') + "</WIDTH>" + Parameters("m"));
    CheckFile("4 MB file: 4 MB of blanks around the disclaimer",
              Parameters("m", "400", std::string(fourMb / 2, ' ') + "d" + std::string(fourMb / 2, '\n')));
    CheckFile("4 MB file: 3 MB of escaped '<' and '&' in the message",
              Parameters(Words(fourMb / 4) + Repeated("#x3C#x26", fourMb / 4 * 3 / 8)));
}

// The whole file one message: slower than the ten seconds on a debug build
// (every word is an element that is measured), so there only a hang fails;
// the shipping DLL is held to its usual limit.
TEST(StressFiles, FourMegabyteMessageComesUpAndGoesAway) {
    CheckFile("4 MB file: 4 MB message of words", Parameters(Words(4 * 1024 * 1024)),
              ShippingDll() ? LimitMs() : HangLimitMs());
}

TEST(StressFiles, ZeroBytesAndBytesAbove127) {
    std::string high;
    for (int c = 128; c < 256; ++c) high += static_cast<char>(c);
    std::string beforeZero = Parameters(high + " " + high, "400", "\xe9\xe8\xff\x80 disclaimer") + high;
    CheckFile("file with zero bytes and bytes above 127",
              beforeZero + std::string(1, '\0') + high + std::string(3, '\0') + "<TITLE>lost</TITLE>");

    // A zero byte inside the disclaimer ends the text there: it is incomplete.
    std::string cut = "<TITLE>T</TITLE><WIDTH>400</WIDTH><MESSAGE>m</MESSAGE><DISCLAIMER>disclaim";
    ScratchFile cutFile(cut + std::string(1, '\0') + "er</DISCLAIMER>");
    HostileRun run = RunHostile("file cut by a zero byte in the disclaimer", cutFile.Path(), cut.size());
    EXPECT_EQ(run.result, MIREL_RESULT_INCOMPLETE);
    EXPECT_FALSE(run.shown);
    EXPECT_LT(run.elapsedMs, LimitMs());
}

TEST(StressFields, EveryFieldTwiceAndNestedInAnother) {
    std::string nested =
        "<MESSAGE>outer <TITLE>First title</TITLE> <LOCATION>Top-Left</LOCATION> <WIDTH>300</WIDTH>"
        " <DISCLAIMER>first <b>disclaimer</b></DISCLAIMER> <MESSAGE>inner</MESSAGE> tail</MESSAGE>"
        "<TITLE>Second title</TITLE><LOCATION>Bottom-Right</LOCATION><WIDTH>500</WIDTH>"
        "<DISCLAIMER>second</DISCLAIMER><MESSAGE>second message</MESSAGE>";
    char caption[64] = "";
    HostileRun run = RunHostile("every field twice and nested", nested, nested.size(),
                                [&](HWND dialog) { GetWindowTextA(dialog, caption, sizeof caption); });
    ExpectAnswered("every field twice and nested", run);
    // The first opening tag of each name counts, wherever it stands.
    EXPECT_STREQ(caption, "First title");
}
