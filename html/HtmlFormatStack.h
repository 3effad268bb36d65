// The text style in effect at a point of the flat element sequence. Layout and
// painting each feed one stack every element in document order: an opening
// formatting tag pushes an entry, its closing tag removes the most recent entry
// of the same kind, and the entries combined over the control's base style give
// the current style, whose font the stack creates and selects on demand.
#pragma once
#include "platform/WinSeam.h"
#include "text/TextEncoding.h"
#include "util/CMsString.h"
#include "util/OwnedPtrList.h"

class CHaleSimpleHtmlCtrl;
class CHtmlElement;
class DeviceContext;

// Marks an optional style value (or attribute default) as not given; no real
// COLORREF has its high byte set.
const int HTML_UNSET = static_cast<int>(0xFF000000u);

enum HtmlAlignment {
    HTML_ALIGN_NONE = 0,  // an entry that does not set the alignment
    HTML_ALIGN_LEFT = 1,
    HTML_ALIGN_CENTER = 2,
    HTML_ALIGN_RIGHT = 3,
};

struct CHtmlTextStyle {
    COLORREF color;
    CMsString face;
    int pointSize;
    int weight;
    int italic;
    int underline;
    int alignment;
};

// The style values an entry can set, for the stack's bookkeeping.
enum HtmlStyleField {
    HSF_COLOR,
    HSF_FACE,
    HSF_POINT_SIZE,
    HSF_WEIGHT,
    HSF_ITALIC,
    HSF_UNDERLINE,
    HSF_ALIGNMENT,
    HSF_COUNT
};

// One open formatting tag; each field is HTML_UNSET (alignment 0, face empty)
// unless the tag sets it.
struct CHtmlFormatEntry {
    explicit CHtmlFormatEntry(int elementKind);

    // Whether this entry sets the value.
    bool Sets(HtmlStyleField field) const;

    int kind;
    COLORREF color;
    CMsString face;
    int pointSize;
    int weight;
    int italic;
    int underline;
    int alignment;
    // Kept by the stack, for each value this entry sets: the nearest entry
    // below and above it that sets the same value (null at either end).
    CHtmlFormatEntry* belowSetting[HSF_COUNT];
    CHtmlFormatEntry* aboveSetting[HSF_COUNT];
};

// Points for the HTML font sizes 1..7; 8 for any other size.
int HtmlSizeToPoints(int size);

class CHtmlFormatStack {
public:
    CHtmlFormatStack(CHaleSimpleHtmlCtrl* control, DeviceContext* dc);
    // Gives the DC its font back and deletes the stack's font.
    ~CHtmlFormatStack();

    // Pushes or pops for a formatting element; other elements change nothing.
    void ApplyElement(const CHtmlElement* element);
    CHtmlTextStyle CurrentStyle() const;
    int CurrentAlignment() const;
    // Makes sure a font of the current style is selected; a new font also sets
    // the DC's text colour to the style's colour.
    void SelectFont();
    // Selects the DC's previous font back and deletes the current one.
    void ReleaseFont();

    int EntryCount() const { return entries.count; }
    // How the control's document is read, and so its words measured and drawn.
    TextEncoding Encoding() const { return encoding; }

private:
    CHtmlFormatStack(const CHtmlFormatStack&) = delete;
    CHtmlFormatStack& operator=(const CHtmlFormatStack&) = delete;

    void ReadBaseFont();
    void PushOpening(const CHtmlElement& element);
    CHtmlFormatEntry* MakeFontEntry(const CHtmlElement& element) const;
    int FontPointSize(const CHtmlElement& element) const;
    void Push(CHtmlFormatEntry* entry, bool changesFont);
    void PopClosing(int kind);
    // Puts the entry on top of, or takes it out of, the chains of the values
    // it sets.
    void Link(CHtmlFormatEntry* entry);
    void Unlink(CHtmlFormatEntry* entry);
    int PixelsPerInch() const;

    CHaleSimpleHtmlCtrl* control;
    TextEncoding encoding;
    BYTE charSet;  // of every font the stack makes
    COLORREF baseColor;
    CMsString baseFace;
    int baseSize;
    int baseWeight;
    int baseItalic;
    int baseUnderline;
    int baseAlignment;
    OwnedPtrList entries;  // bottom first
    // For each value, the topmost entry that sets it (null: the base value), so
    // that the current style costs the same at any depth of open tags.
    CHtmlFormatEntry* topSetting[HSF_COUNT];
    DeviceContext* dc;
    HFONT currentFont;
    HGDIOBJ savedFont;
};
