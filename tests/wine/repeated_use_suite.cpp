// Repeated use in one process: hundreds of dialog objects driven the way a
// host drives them, and hundreds of modal runs, must leave the heap, the GDI
// objects, the DCs, the cursors, the windows and the window classes where
// they were. The figures are printed.
//
// This program replaces the global allocation functions so that it can count
// the heap blocks alive; the library's objects are linked into it, so every
// block the library takes passes through them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include <oleacc.h>

#include "include/MirelDialog.h"
#include "resources/resource.h"
#include "support/win/DialogDriver.h"
#include "support/win/HandleLedger.h"

namespace {
volatile LONG liveBlocks = 0;
volatile LONG blocksTaken = 0;

void* TakeBlock(size_t size) {
    void* block = malloc(size ? size : 1);
    if (!block) return nullptr;
    InterlockedIncrement(&liveBlocks);
    InterlockedIncrement(&blocksTaken);
    return block;
}

void GiveBlock(void* block) {
    if (!block) return;
    InterlockedDecrement(&liveBlocks);
    free(block);
}

void* TakeBlockOrThrow(size_t size) {
    void* block = TakeBlock(size);
    if (!block) throw std::bad_alloc();
    return block;
}
}  // namespace

void* operator new(size_t size) { return TakeBlockOrThrow(size); }
void* operator new[](size_t size) { return TakeBlockOrThrow(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return TakeBlock(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return TakeBlock(size); }
void operator delete(void* block) noexcept { GiveBlock(block); }
void operator delete[](void* block) noexcept { GiveBlock(block); }
void operator delete(void* block, size_t) noexcept { GiveBlock(block); }
void operator delete[](void* block, size_t) noexcept { GiveBlock(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { GiveBlock(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { GiveBlock(block); }

namespace {
const int MODELESS_CYCLES = 500;
const int MODAL_RUNS = 200;
const int ACCESSIBLE_CYCLES = 300;
const char HTML_CLASS[] = "HaleSimpleHtmlCtrlClass";

// Every kind of element, so that every font, brush, pen, bitmap and DC of
// layout and painting is made and released: a link first, where the mouse
// is put to make the link cursor, styles, a heading, a resource image drawn
// transparently and a missing one drawn as a broken mark.
const char PARAMETERS[] =
    "<TITLE>Repeated</TITLE><LOCATION>Top-Left</LOCATION><WIDTH>420</WIDTH>"
    "<MESSAGE><a href=\"https://example.com/offer\">OFFEROFFEROFFER</a> plain <b>bold</b> <i>italic</i>"
    " <font face=\"Arial, Tahoma\" size=\"5\" color=\"#336699\">font</font><h2>Heading</h2>"
    "<center>centred <img src=\"rsrc://2101\" hspace=\"2\"> <img src=\"rsrc://9999\" width=\"20\""
    " height=\"20\"></center><br>&lt;entities&gt; &amp;&nbsp;more</MESSAGE>"
    "<DISCLAIMER>Read the <a href=\"https://example.com/eula\">licence</a>.</DISCLAIMER>";

// A UTF-8 offer in several scripts, with a Japanese paragraph that the system's
// line breaker cuts, asked in Japanese: the wide title, the wide document and
// button captions, UTF-16 drawing, the corner caption's font and the line
// breaker's library come and go with every cycle.
const char UTF8_PARAMETERS[] =
    "<TITLE>Voil\xC3\xA0 \xD0\xA3\xD1\x81\xD1\x82 \xCE\x95\xCE\xB3 \xE6\x97\xA5\xE6\x9C\xAC</TITLE>"
    "<LOCATION>Top-Left</LOCATION><WIDTH>420</WIDTH><LANGUAGE>ja</LANGUAGE>"
    "<MESSAGE><a href=\"https://example.com/caf\xC3\xA9\">"
    "\xE3\x83\xAA\xE3\x83\xB3\xE3\x82\xAF</a> <b>Caf\xC3\xA9</b> \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"
    "\xE3\x81\xAE\xE6\x96\x87\xE7\xAB\xA0\xE3\x81\xAF\xE7\xA9\xBA\xE7\x99\xBD\xE3\x82\x92\xE7\xBD\xAE"
    "\xE3\x81\x8B\xE3\x81\xAA\xE3\x81\x84\xE3\x80\x82</MESSAGE>"
    "<DISCLAIMER>\xD0\x9F\xD1\x80\xD0\xB8 <a href=\"https://example.com/eula\">licence</a>"
    " <img src=\"rsrc://2101\"></DISCLAIMER>";

struct Snapshot {
    LONG heapBlocks;
    HandleCounts handles;
    int threadWindows;
};

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int ThreadWindows() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

Snapshot Take(const HandleLedger& ledger) { return {liveBlocks, ledger.Live(), ThreadWindows()}; }

void DrainMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

// Puts the mouse on the message's first word (the link) and lets the
// control choose its cursor, then turns the wheel and scrolls. The point is a
// little way into the word: the centred run that ends the first line can
// shift that line by a few pixels, depending on the font.
void HoverAndScroll(HWND dialog) {
    HWND message = GetDlgItem(dialog, IDC_MESSAGE);
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(message, &rect);
    SetCursorPos(rect.left + 30, rect.top + 3);
    SendMessageA(message, WM_SETCURSOR, reinterpret_cast<WPARAM>(message), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    SendMessageA(message, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    SendMessageA(message, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
}

// The import library's IID_IAccessible is a code thunk, not the GUID.
const IID kIidAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// An accessibility client's look at the message: its object and its name.
IAccessible* ReadMessageObject(HWND dialog) {
    IAccessible* object = nullptr;
    AccessibleObjectFromWindow(GetDlgItem(dialog, IDC_MESSAGE), OBJID_CLIENT, kIidAccessible,
                               reinterpret_cast<void**>(&object));
    VARIANT self = {};
    self.vt = VT_I4;
    BSTR name = nullptr;
    if (object && object->get_accName(self, &name) == S_OK) SysFreeString(name);
    return object;
}

// One host cycle: a new object, its parameters, a modeless window that is
// shown, painted and hovered, ended with Yes (destroying the window) and the
// object released. False when the window did not come up or did not go.
// With askAccessible, a client also holds the message's accessible object
// through the cycle, and its release after the window went must free it.
bool ModelessCycle(bool askAccessible = false, const char* parameters = PARAMETERS) {
    IAccessible* accessible = nullptr;
    MirelConsentDialog* dialog = GetDialogObject();
    if (!dialog) return false;
    dialog->vtbl->SetParameters(MIREL_SELF(dialog), parameters);
    HWND window = dialog->vtbl->CreateModeless(MIREL_SELF(dialog), TRUE);
    bool cameUp = window && IsWindow(window);
    if (cameUp) {
        ShowWindow(window, SW_SHOWNOACTIVATE);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        HoverAndScroll(window);
        if (askAccessible) accessible = ReadMessageObject(window);
        DrainMessages();
        dialog->vtbl->EndWith(MIREL_SELF(dialog), MIREL_RESULT_YES);
    }
    bool wentAway = !window || !IsWindow(window);
    int result = dialog->result;
    dialog->vtbl->Destroy(MIREL_SELF(dialog), 1);
    DrainMessages();
    bool accessibleFreed = !askAccessible || (accessible && accessible->Release() == 0);
    return cameUp && wentAway && result == MIREL_RESULT_YES && accessibleFreed;
}

// The answers the modal runs are given in turn, and what each must return.
void Answer(HWND dialog, int run) {
    switch (run % 3) {
    case 0:
        PostMessageA(GetDlgItem(dialog, IDC_YES), BM_CLICK, 0, 0);
        break;
    case 1:
        PostMessageA(GetDlgItem(dialog, IDC_NO), BM_CLICK, 0, 0);
        break;
    default:
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
}

int ExpectedAnswer(int run) {
    const int answers[] = {MIREL_RESULT_YES, MIREL_RESULT_NO, MIREL_RESULT_CLOSED};
    return answers[run % 3];
}

bool ModalRun(int run) {
    DialogDriver driver([run](HWND dialog) {
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Answer(dialog, run);
    });
    int result = RunMirelDialog(PARAMETERS);
    driver.Finish();
    return !driver.TimedOut() && result == ExpectedAnswer(run);
}

void Print(const char* what, const Snapshot& before, const Snapshot& after, const HandleCounts& made,
           LONG blocksDuring) {
    printf("[ leaks    ] %s\n", what);
    printf("[ leaks    ]   heap blocks   %6ld -> %6ld   (%ld taken meanwhile)\n", static_cast<long>(before.heapBlocks),
           static_cast<long>(after.heapBlocks), static_cast<long>(blocksDuring));
    printf("[ leaks    ]   GDI objects   %6ld -> %6ld   (%ld made meanwhile)\n", before.handles.gdiObjects,
           after.handles.gdiObjects, made.gdiObjects);
    printf("[ leaks    ]   memory DCs    %6ld -> %6ld   (%ld made meanwhile)\n", before.handles.memoryDcs,
           after.handles.memoryDcs, made.memoryDcs);
    printf("[ leaks    ]   borrowed DCs  %6ld -> %6ld   (%ld taken meanwhile)\n", before.handles.borrowedDcs,
           after.handles.borrowedDcs, made.borrowedDcs);
    printf("[ leaks    ]   cursors       %6ld -> %6ld   (%ld made meanwhile)\n", before.handles.cursors,
           after.handles.cursors, made.cursors);
    printf("[ leaks    ]   windows       %6ld -> %6ld   (%ld made meanwhile), thread's top-level %d -> %d\n",
           before.handles.windows, after.handles.windows, made.windows, before.threadWindows,
           after.threadWindows);
    printf("[ leaks    ]   classes       %6ld -> %6ld   (%ld registered meanwhile)\n", before.handles.classes,
           after.handles.classes, made.classes);
    fflush(stdout);
}

HandleCounts Difference(const HandleCounts& later, const HandleCounts& earlier) {
    return {later.gdiObjects - earlier.gdiObjects, later.memoryDcs - earlier.memoryDcs,
            later.borrowedDcs - earlier.borrowedDcs, later.cursors - earlier.cursors,
            later.windows - earlier.windows, later.classes - earlier.classes};
}

void ExpectUnchanged(const Snapshot& before, const Snapshot& after) {
    EXPECT_EQ(after.heapBlocks, before.heapBlocks);
    EXPECT_EQ(after.handles.gdiObjects, before.handles.gdiObjects);
    EXPECT_EQ(after.handles.memoryDcs, before.handles.memoryDcs);
    EXPECT_EQ(after.handles.borrowedDcs, before.handles.borrowedDcs);
    EXPECT_EQ(after.handles.cursors, before.handles.cursors);
    EXPECT_EQ(after.handles.windows, before.handles.windows);
    EXPECT_EQ(after.handles.classes, before.handles.classes);
    EXPECT_EQ(after.threadWindows, before.threadWindows);
}

// The counters did see the work: a ledger or a heap count that saw nothing
// would make every comparison above pass.
void ExpectWorkWasSeen(const HandleCounts& made, LONG blocksDuring, int rounds) {
    EXPECT_GE(blocksDuring, rounds);
    EXPECT_GE(made.gdiObjects, rounds);
    EXPECT_GE(made.borrowedDcs, rounds);
    EXPECT_GE(made.memoryDcs, rounds);
    EXPECT_GE(made.windows, 2 * rounds);
}

bool HtmlClassRegistered() {
    WNDCLASSA windowClass;
    return GetClassInfoA(GetModuleHandleA(nullptr), HTML_CLASS, &windowClass) != FALSE;
}
}  // namespace

// The system refuses to destroy the cursor in use, and the link cursor is in
// use when the dialog goes while the mouse is on a link.
TEST(RepeatedUse, LinkCursorInUseGoesWithTheDialog) {
    HandleLedger ledger;
    ASSERT_TRUE(ledger.Installed());
    ASSERT_TRUE(ModelessCycle());
    EXPECT_EQ(ledger.Created().cursors, 1);
    EXPECT_EQ(ledger.Live().cursors, 0);
}

TEST(RepeatedUse, FiveHundredModelessHostCyclesLeaveNothingBehind) {
    HandleLedger ledger;
    ASSERT_TRUE(ledger.Installed());
    // The first cycle registers the control's window class, which stays.
    ASSERT_TRUE(ModelessCycle());
    ASSERT_TRUE(HtmlClassRegistered());
    Snapshot before = Take(ledger);
    HandleCounts madeBefore = ledger.Created();
    LONG takenBefore = blocksTaken;
    int failedCycles = 0;
    for (int cycle = 0; cycle < MODELESS_CYCLES; ++cycle) {
        if (!ModelessCycle()) ++failedCycles;
    }
    Snapshot after = Take(ledger);
    HandleCounts made = Difference(ledger.Created(), madeBefore);
    LONG taken = blocksTaken - takenBefore;
    Print("500 cycles of GetDialogObject, SetParameters, CreateModeless, paint, EndWith, Destroy(1)", before,
          after, made, taken);

    EXPECT_EQ(failedCycles, 0);
    ExpectUnchanged(before, after);
    ExpectWorkWasSeen(made, taken, MODELESS_CYCLES);
    EXPECT_GE(made.cursors, MODELESS_CYCLES);
    EXPECT_EQ(made.classes, 0);
    EXPECT_TRUE(HtmlClassRegistered());
}

void ExpectCyclesWithAnAccessibilityClientLeaveNothingBehind(const char* parameters, const char* what) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    HandleLedger ledger;
    ASSERT_TRUE(ledger.Installed());
    // The first request loads the accessibility libraries, which stay.
    ASSERT_TRUE(ModelessCycle(true, parameters));
    Snapshot before = Take(ledger);
    HandleCounts madeBefore = ledger.Created();
    LONG takenBefore = blocksTaken;
    int failedCycles = 0;
    for (int cycle = 0; cycle < ACCESSIBLE_CYCLES; ++cycle) {
        if (!ModelessCycle(true, parameters)) ++failedCycles;
    }
    Snapshot after = Take(ledger);
    HandleCounts made = Difference(ledger.Created(), madeBefore);
    LONG taken = blocksTaken - takenBefore;
    Print(what, before, after, made, taken);
    CoUninitialize();
    EXPECT_EQ(failedCycles, 0);
    ExpectUnchanged(before, after);
    ExpectWorkWasSeen(made, taken, ACCESSIBLE_CYCLES);
}

TEST(RepeatedUse, ThreeHundredCyclesWithAnAccessibilityClientLeaveNothingBehind) {
    ExpectCyclesWithAnAccessibilityClientLeaveNothingBehind(
        PARAMETERS, "300 cycles as above with the message's accessible object read and held");
}

TEST(RepeatedUse, ThreeHundredCyclesOfAUtf8OfferLeaveNothingBehind) {
    ExpectCyclesWithAnAccessibilityClientLeaveNothingBehind(
        UTF8_PARAMETERS, "300 cycles as above of a UTF-8 offer in four scripts");
}

TEST(RepeatedUse, TwoHundredModalRunsLeaveNothingBehind) {
    HandleLedger ledger;
    ASSERT_TRUE(ledger.Installed());
    ASSERT_TRUE(ModalRun(0));
    Snapshot before = Take(ledger);
    HandleCounts madeBefore = ledger.Created();
    LONG takenBefore = blocksTaken;
    int failedRuns = 0;
    for (int run = 0; run < MODAL_RUNS; ++run) {
        if (!ModalRun(run)) ++failedRuns;
    }
    Snapshot after = Take(ledger);
    HandleCounts made = Difference(ledger.Created(), madeBefore);
    LONG taken = blocksTaken - takenBefore;
    Print("200 modal runs of RunMirelDialog", before, after, made, taken);

    EXPECT_EQ(failedRuns, 0);
    ExpectUnchanged(before, after);
    ExpectWorkWasSeen(made, taken, MODAL_RUNS);
    EXPECT_EQ(made.classes, 0);
    EXPECT_TRUE(HtmlClassRegistered());
}
