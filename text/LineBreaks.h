// Where a line may break inside a run of text that has no blank. Latin text
// gets no new breaks (none at hyphens or slashes); a line may break next to
// CJK ideographs, kana and full-width forms (the line-break classes ID and CJ),
// never before closing punctuation, small kana or the long-vowel mark and
// never after opening punctuation (the kinsoku rules), and inside Thai, Lao,
// Khmer or Myanmar text (class SA) where the system's line breaker says so.
#pragma once
#include "platform/WinSeam.h"
#include "text/TextEncoding.h"

// The system's line breaker: sets soft[i] to 1 where it lets a line start at
// unit i of the text, 0 elsewhere; false when it cannot tell.
struct SystemLineBreaker {
    bool (*find)(void* context, const WCHAR* text, int count, BYTE* soft);
    void* context;
};

// Sets breakBefore[i] to 1 where a line may start at unit i (never at 0, never
// inside a surrogate pair) and 0 elsewhere; true when there is any. The
// system's breaker, where given and able, proposes the breaks and the rules
// above filter them; otherwise a CJK rule of our own proposes them (it knows
// no SA text).
bool FindLineBreaks(const WCHAR* text, int count, BYTE* breakBefore, const SystemLineBreaker* system);

// Cuts runs of text with no blank (the HTML control's words) into the pieces
// between their line breaks, when given a breaker (one without a find
// function stands for the rule of our own alone); without one it cuts
// nothing. Runs in code-page text are cut only under the double-byte code
// pages of Chinese, Japanese and Korean systems; on other systems code-page
// text has nothing to cut.
class RunSplitter {
public:
    RunSplitter(TextEncoding encoding, const SystemLineBreaker* system);
    ~RunSplitter();

    // The number of pieces of the run (1: the run has no break, or memory ran
    // out); PieceEnd(i) is the byte offset where piece i ends.
    int Split(const char* run, int bytes);
    int PieceEnd(int piece) const { return ends[piece]; }

private:
    RunSplitter(const RunSplitter&) = delete;
    RunSplitter& operator=(const RunSplitter&) = delete;

    bool Reserve(int count);
    // The run's UTF-16 units and the byte offset where each one's character
    // starts; -1 when the run cannot be read unit by unit.
    int Decode(const char* run, int bytes);

    TextEncoding encoding;
    const SystemLineBreaker* system;
    bool active;
    int room;
    char* block;  // holds the four arrays below
    WCHAR* units;
    int* starts;
    BYTE* breaks;
    int* ends;
};
