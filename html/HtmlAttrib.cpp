// The attribute-name table, the value grammars and the number and colour
// conversions of attribute values.
#include "html/HtmlAttrib.h"

#include <climits>
#include <cstring>

#include "util/AsciiCase.h"

namespace {

struct AttribName {
    const char* name;
    AttribType type;
};

// Searched in this order; the first match wins.
const AttribName kAttribNames[] = {
    {"size", AT_UINT},        {"value", AT_STRING},     {"face", AT_STRING},
    {"color", AT_COLOR},      {"point-size", AT_UINT},  {"weight", AT_UINT},
    {"href", AT_STRING},      {"linkcolor", AT_COLOR},  {"bgcolor", AT_COLOR},
    {"text", AT_COLOR},       {"link", AT_COLOR},       {"alink", AT_COLOR},
    {"vlink", AT_COLOR},      {"scroll", AT_BOOL},      {"leftmargin", AT_UINT},
    {"rightmargin", AT_UINT}, {"topmargin", AT_UINT},   {"src", AT_STRING},
    {"width", AT_UINT},       {"height", AT_UINT},      {"hspace", AT_UINT},
    {"vspace", AT_UINT},
};

const int kAttribNameCount = static_cast<int>(sizeof kAttribNames / sizeof kAttribNames[0]);

bool EqualsAsciiNoCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        if (FoldAscii(*a) != FoldAscii(*b)) return false;
    }
    return *a == *b;
}

// The first row of the name table that matches, or -1. Every name of the
// table is lower case, so a row whose first letter differs is passed over
// without comparing the rest.
// exact tells whether the name is written just as in that row.
int AttribNameIndex(const char* name, bool* exact = nullptr) {
    if (!name) return -1;
    char first = FoldAscii(*name);
    for (int i = 0; i < kAttribNameCount; ++i) {
        const char* row = kAttribNames[i].name;
        if (row[0] != first) continue;
        bool same = strcmp(name, row) == 0;
        if (same || EqualsAsciiNoCase(name + 1, row + 1)) {
            if (exact) *exact = same;
            return i;
        }
    }
    return -1;
}

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigitValue(char c) {
    if (IsDecimalDigit(c)) return c - '0';
    char folded = FoldAscii(c);
    if (folded >= 'a' && folded <= 'f') return folded - 'a' + 10;
    return -1;
}

bool AllDecimalDigits(const char* text) {
    for (; *text; ++text) {
        if (!IsDecimalDigit(*text)) return false;
    }
    return true;
}

bool IsBoolText(const char* text) {
    return EqualsAsciiNoCase(text, "1") || EqualsAsciiNoCase(text, "yes") ||
           EqualsAsciiNoCase(text, "0") || EqualsAsciiNoCase(text, "no");
}

bool IsScanSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// scanf's "%d" without its undefined behaviour: the value is clamped to the
// int range instead of overflowing.
bool ScanDecimal(const char* p, int& result) {
    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    if (!IsDecimalDigit(*p)) return false;
    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; IsDecimalDigit(*p); ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > limit) magnitude = limit;
    }
    result = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

// scanf's "%x": an optional sign and "0x", then hexadecimal digits. Like
// strtoul, the value is kept to 32 bits (all ones when too large) and a minus
// sign negates it modulo 2^32.
bool ScanHex(const char* p, int& result) {
    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && HexDigitValue(p[2]) >= 0) p += 2;
    if (HexDigitValue(*p) < 0) return false;
    unsigned long long magnitude = 0;
    for (int digit; (digit = HexDigitValue(*p)) >= 0; ++p) {
        magnitude = magnitude * 16 + static_cast<unsigned>(digit);
        if (magnitude > UINT_MAX) magnitude = UINT_MAX;
    }
    unsigned value = static_cast<unsigned>(magnitude);
    if (negative) value = 0u - value;
    result = static_cast<int>(value);
    return true;
}

}  // namespace

AttribNameInfo LookUpAttribName(const char* name) {
    struct Names {
        Names() {
            for (int i = 0; i < kAttribNameCount; ++i) strings[i] = kAttribNames[i].name;
        }
        CMsString strings[kAttribNameCount];
    };
    static const Names names;
    AttribNameInfo info = {AT_NONE, nullptr};
    bool exact = false;
    int index = AttribNameIndex(name, &exact);
    if (index < 0) return info;
    info.type = kAttribNames[index].type;
    // Made while memory was exhausted: every caller makes its own copy instead.
    if (exact && !names.strings[index].IsEmpty())
        info.shared = &names.strings[index];
    return info;
}

AttribType GetAttribType(const char* name) {
    int index = AttribNameIndex(name);
    return index < 0 ? AT_NONE : kAttribNames[index].type;
}

bool IsValidAttribValue(const char* name, const char* value) {
    if (!name || !*name) return false;
    return IsValidValueOfType(GetAttribType(name), value);
}

bool IsValidValueOfType(AttribType type, const char* value) {
    if (!value || !*value) return false;
    switch (type) {
    case AT_STRING:
        return true;
    case AT_INT:
        return AllDecimalDigits(value);
    case AT_HEXCOLOR:
        return IsHexColor(value, -1);
    case AT_COLOR:
        return IsHexColor(value, 6);
    case AT_BOOL:
        return IsBoolText(value);
    case AT_UINT:
        return value[0] != '-' && AllDecimalDigits(value);
    case AT_NONE:
        break;
    }
    return false;
}

bool IsHexColor(const char* text, int digits) {
    if (!text || text[0] != '#') return false;
    int length = 0;
    for (const char* p = text + 1; *p; ++p, ++length) {
        if (HexDigitValue(*p) < 0) return false;
    }
    return digits <= 0 || length == digits;
}

int ParseAttribNumber(const char* text, int defaultValue, AttribType type) {
    if (!text || !*text) return defaultValue;
    if (*text == '#') ++text;
    while (IsScanSpace(*text)) ++text;
    int result = 0;
    bool hex = (type == AT_HEXCOLOR || type == AT_COLOR);
    bool scanned = hex ? ScanHex(text, result) : ScanDecimal(text, result);
    return scanned ? result : defaultValue;
}

void SwapColorOrder(CMsString& value) {
    if (value.GetLength() != 7 || value.GetAt(0) != '#') return;
    char* chars = value.GetBuffer(7);
    if (!chars) return;
    char red[2] = {chars[1], chars[2]};
    chars[1] = chars[5];
    chars[2] = chars[6];
    chars[5] = red[0];
    chars[6] = red[1];
    value.ReleaseBuffer(7);
}
