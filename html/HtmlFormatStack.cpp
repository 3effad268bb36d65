#include "html/HtmlFormatStack.h"

#include <cstring>
#include <new>

#include "html/CHaleSimpleHtmlCtrl.h"
#include "html/HtmlElement.h"
#include "text/FontCharSet.h"
#include "text/ParameterText.h"
#include "util/AsciiCase.h"
#include "util/SaturatingMath.h"
#include "window/DeviceContext.h"

namespace {
const int NORMAL_WEIGHT = 400;
const int BOLD_WEIGHT = 700;
const int POINTS_PER_INCH = 72;

void ReleaseEntry(void* entry) { delete static_cast<CHtmlFormatEntry*>(entry); }

// The values SelectFont makes a font and sets the text colour from.
bool SameFont(const CHtmlTextStyle& a, const CHtmlTextStyle& b) {
    return a.color == b.color && a.pointSize == b.pointSize && a.weight == b.weight &&
           (a.italic > 0) == (b.italic > 0) && (a.underline > 0) == (b.underline > 0) &&
           strcmp(a.face, b.face) == 0;
}

bool IsFormattingKind(int kind) { return kind >= HEK_CENTER && kind <= HEK_HEADING; }

// Digits up to the first other character; none gives 0.
int LenientDigits(const char* text) {
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > INT_MAX) return INT_MAX;
    }
    return static_cast<int>(value);
}

// LOGFONTA's face is in the code page: a face that a UTF-8 document names
// is converted to it.
CMsString FontFace(const CMsString& face, TextEncoding encoding) {
    return encoding == TEXT_CODE_PAGE ? face : CodePageTextFromUtf8(face, face.GetLength());
}

int AlignmentFromName(const CMsString& name) {
    if (EqualsNoCase(name, "left")) return HTML_ALIGN_LEFT;
    if (EqualsNoCase(name, "center")) return HTML_ALIGN_CENTER;
    if (EqualsNoCase(name, "right")) return HTML_ALIGN_RIGHT;
    return HTML_ALIGN_NONE;
}
}  // namespace

CHtmlFormatEntry::CHtmlFormatEntry(int elementKind)
    : kind(elementKind),
      color(static_cast<COLORREF>(HTML_UNSET)),
      pointSize(HTML_UNSET),
      weight(HTML_UNSET),
      italic(HTML_UNSET),
      underline(HTML_UNSET),
      alignment(HTML_ALIGN_NONE),
      belowSetting(),
      aboveSetting() {}

bool CHtmlFormatEntry::Sets(HtmlStyleField field) const {
    switch (field) {
    case HSF_COLOR:
        return color != static_cast<COLORREF>(HTML_UNSET);
    case HSF_FACE:
        return !face.IsEmpty();
    case HSF_POINT_SIZE:
        return pointSize != HTML_UNSET;
    case HSF_WEIGHT:
        return weight != HTML_UNSET;
    case HSF_ITALIC:
        return italic != HTML_UNSET;
    case HSF_UNDERLINE:
        return underline != HTML_UNSET;
    case HSF_ALIGNMENT:
        return alignment != HTML_ALIGN_NONE;
    default:
        return false;
    }
}

int HtmlSizeToPoints(int size) {
    static const int points[] = {8, 10, 12, 14, 18, 24, 36};
    if (size < 1 || size > 7) return 8;
    return points[size - 1];
}

CHtmlFormatStack::CHtmlFormatStack(CHaleSimpleHtmlCtrl* owner, DeviceContext* context)
    : control(owner),
      encoding(owner->DocumentEncoding()),
      charSet(FontCharSet(encoding)),
      baseColor(static_cast<COLORREF>(owner->GetBodyAttribNumber("text", 0, AT_COLOR))),
      baseSize(0),
      baseWeight(NORMAL_WEIGHT),
      baseItalic(0),
      baseUnderline(0),
      baseAlignment(HTML_ALIGN_LEFT),
      entries(ReleaseEntry),
      topSetting(),
      dc(context),
      currentFont(nullptr),
      savedFont(nullptr) {
    ReadBaseFont();
}

CHtmlFormatStack::~CHtmlFormatStack() { ReleaseFont(); }

void CHtmlFormatStack::ReadBaseFont() {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(control->hwnd, WM_GETFONT, 0, 0));
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTA logFont = {};
    GetObjectA(font, sizeof(logFont), &logFont);
    logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    baseFace = logFont.lfFaceName;
    baseSize = SatNeg(MulDiv(logFont.lfHeight, POINTS_PER_INCH, PixelsPerInch()));
}

int CHtmlFormatStack::PixelsPerInch() const {
    return GetDeviceCaps(dc ? dc->AttributeDc() : nullptr, LOGPIXELSY);
}

void CHtmlFormatStack::ApplyElement(const CHtmlElement* element) {
    if (!element || !IsFormattingKind(element->kind)) return;
    if (element->isOpen) {
        PushOpening(*element);
    } else {
        PopClosing(element->kind);
    }
}

void CHtmlFormatStack::PushOpening(const CHtmlElement& element) {
    CHtmlFormatEntry* entry = nullptr;
    switch (element.kind) {
    case HEK_CENTER:
        entry = new (std::nothrow) CHtmlFormatEntry(HEK_CENTER);
        if (entry) entry->alignment = HTML_ALIGN_CENTER;
        Push(entry, false);
        return;
    case HEK_P: {
        int alignment = AlignmentFromName(element.GetAttrib("align"));
        if (alignment == HTML_ALIGN_NONE) return;
        entry = new (std::nothrow) CHtmlFormatEntry(HEK_P);
        if (entry) entry->alignment = alignment;
        Push(entry, false);
        return;
    }
    case HEK_B:
        entry = new (std::nothrow) CHtmlFormatEntry(HEK_B);
        if (entry) entry->weight = BOLD_WEIGHT;
        break;
    case HEK_I:
        entry = new (std::nothrow) CHtmlFormatEntry(HEK_I);
        if (entry) entry->italic = 1;
        break;
    case HEK_A:
        entry = new (std::nothrow) CHtmlFormatEntry(HEK_A);
        if (!entry) break;
        entry->underline = 1;
        entry->color = element.GetAttribNumber("linkcolor", HTML_UNSET, AT_HEXCOLOR);
        if (entry->color == static_cast<COLORREF>(HTML_UNSET)) {
            entry->color = control->GetBodyAttribNumber("link", 0, AT_HEXCOLOR);
        }
        break;
    case HEK_FONT:
        entry = MakeFontEntry(element);
        break;
    case HEK_HEADING: {
        entry = new (std::nothrow) CHtmlFormatEntry(HEK_HEADING);
        if (!entry) break;
        entry->weight = BOLD_WEIGHT;
        int level = element.GetAttribNumber("size", HTML_UNSET, AT_INT);
        if (level >= 1 && level <= 6) entry->pointSize = HtmlSizeToPoints(7 - level);
        break;
    }
    }
    Push(entry, true);
}

CHtmlFormatEntry* CHtmlFormatStack::MakeFontEntry(const CHtmlElement& element) const {
    CHtmlFormatEntry* entry = new (std::nothrow) CHtmlFormatEntry(HEK_FONT);
    if (!entry) return nullptr;
    entry->face = FontFace(element.GetAttrib("face"), encoding);
    entry->color = element.GetAttribNumber("color", HTML_UNSET, AT_HEXCOLOR);
    entry->weight = element.GetAttribNumber("weight", HTML_UNSET, AT_INT);
    entry->pointSize = FontPointSize(element);
    return entry;
}

// "point-size" first; a signed "size" steps from the current size in points;
// a plain "size" goes through the HTML size table.
int CHtmlFormatStack::FontPointSize(const CHtmlElement& element) const {
    int points = element.GetAttribNumber("point-size", HTML_UNSET, AT_INT);
    if (points != HTML_UNSET) return points;
    CMsString size = element.GetAttrib("size");
    if (!size.IsEmpty() && size.GetAt(0) == '+') {
        return SatAdd(CurrentStyle().pointSize, LenientDigits(static_cast<const char*>(size) + 1));
    }
    if (!size.IsEmpty() && size.GetAt(0) == '-') {
        return SatSub(CurrentStyle().pointSize, LenientDigits(static_cast<const char*>(size) + 1));
    }
    int htmlSize = element.GetAttribNumber("size", HTML_UNSET, AT_INT);
    return htmlSize == HTML_UNSET ? HTML_UNSET : HtmlSizeToPoints(htmlSize);
}

// A tag that changes nothing the font is made of (a b inside a b) keeps the
// font: making one per tag made every element of a run of open tags cost a
// font.
void CHtmlFormatStack::Push(CHtmlFormatEntry* entry, bool changesFont) {
    if (!entry) return;
    CHtmlTextStyle before = CurrentStyle();
    if (entries.Add(entry) < 0) {
        delete entry;
        return;
    }
    Link(entry);
    if (changesFont && !SameFont(before, CurrentStyle())) ReleaseFont();
}

void CHtmlFormatStack::Link(CHtmlFormatEntry* entry) {
    for (int f = 0; f < HSF_COUNT; ++f) {
        if (!entry->Sets(static_cast<HtmlStyleField>(f))) continue;
        entry->belowSetting[f] = topSetting[f];
        if (topSetting[f]) topSetting[f]->aboveSetting[f] = entry;
        topSetting[f] = entry;
    }
}

void CHtmlFormatStack::Unlink(CHtmlFormatEntry* entry) {
    for (int f = 0; f < HSF_COUNT; ++f) {
        if (!entry->Sets(static_cast<HtmlStyleField>(f))) continue;
        CHtmlFormatEntry* below = entry->belowSetting[f];
        CHtmlFormatEntry* above = entry->aboveSetting[f];
        if (below) below->aboveSetting[f] = above;
        if (above) {
            above->belowSetting[f] = below;
        } else {
            topSetting[f] = below;
        }
    }
}

void CHtmlFormatStack::PopClosing(int kind) {
    for (int i = entries.count - 1; i >= 0; --i) {
        CHtmlFormatEntry* entry = static_cast<CHtmlFormatEntry*>(entries.GetAt(i));
        if (entry && entry->kind == kind) {
            CHtmlTextStyle before = CurrentStyle();
            Unlink(entry);
            delete static_cast<CHtmlFormatEntry*>(entries.RemoveAt(i));
            if (!SameFont(before, CurrentStyle())) ReleaseFont();
            return;
        }
    }
}

// Each value comes from the topmost entry that sets it, or from the base.
CHtmlTextStyle CHtmlFormatStack::CurrentStyle() const {
    CHtmlTextStyle style = {baseColor,   baseFace,      baseSize,     baseWeight,
                            baseItalic,  baseUnderline, baseAlignment};
    if (const CHtmlFormatEntry* top = topSetting[HSF_COLOR]) style.color = top->color;
    if (const CHtmlFormatEntry* top = topSetting[HSF_FACE]) style.face = top->face;
    if (const CHtmlFormatEntry* top = topSetting[HSF_POINT_SIZE]) style.pointSize = top->pointSize;
    if (const CHtmlFormatEntry* top = topSetting[HSF_WEIGHT]) style.weight = top->weight;
    if (const CHtmlFormatEntry* top = topSetting[HSF_ITALIC]) style.italic = top->italic;
    if (const CHtmlFormatEntry* top = topSetting[HSF_UNDERLINE]) style.underline = top->underline;
    if (const CHtmlFormatEntry* top = topSetting[HSF_ALIGNMENT]) style.alignment = top->alignment;
    return style;
}

int CHtmlFormatStack::CurrentAlignment() const { return CurrentStyle().alignment; }

void CHtmlFormatStack::SelectFont() {
    if (currentFont || !dc) return;
    CHtmlTextStyle style = CurrentStyle();
    dc->SetTextColor(style.color);
    LOGFONTA logFont = {};
    lstrcpynA(logFont.lfFaceName, style.face, LF_FACESIZE);
    logFont.lfCharSet = charSet;
    logFont.lfHeight = SatNeg(MulDiv(style.pointSize, PixelsPerInch(), POINTS_PER_INCH));
    logFont.lfWeight = style.weight;
    logFont.lfItalic = style.italic > 0 ? 1 : 0;
    logFont.lfUnderline = style.underline > 0 ? 1 : 0;
    HFONT font = CreateFontIndirectA(&logFont);
    if (!font) return;
    currentFont = font;
    HGDIOBJ previous = dc->SelectObject(font);
    if (!savedFont) savedFont = previous;
}

void CHtmlFormatStack::ReleaseFont() {
    if (savedFont) {
        if (dc) dc->SelectObject(savedFont);
        savedFont = nullptr;
    }
    if (currentFont) DeleteObject(currentFont);
    currentFont = nullptr;
}
