// The owning attribute list: validated storage, lookups, copies and the
// attribute text of a tag.
#include "html/HtmlAttrib.h"

#include <cstdio>
#include <new>

#include "util/AsciiCase.h"

namespace {

void ReleaseAttrib(void* attrib) { delete static_cast<CHtmlAttrib*>(attrib); }

CMsString NormalisedValue(const char* value) {
    CMsString normalised(value);
    normalised.TrimLeft(' ');
    normalised.TrimRight(' ');
    normalised.Replace('\t', ' ');
    return normalised;
}

CMsString TrimmedName(const char* name) {
    CMsString trimmed(name);
    trimmed.TrimLeft();
    trimmed.TrimRight();
    return trimmed;
}

bool IsWhiteSpaceAt(const CMsString& text, int index) {
    WORD type = 0;
    const char* at = static_cast<const char*>(text) + index;
    return GetStringTypeExA(GetThreadLocale(), CT_CTYPE1, at, 1, &type) && (type & C1_SPACE);
}

const char* OrNullMark(const char* text) { return text ? text : "$NULL$"; }

// The value after the "=" at equalsAt: quoted up to the next double quote, or
// else up to the first blank from the second character on. end receives the
// position where the pair ends (that quote or blank, or the length).
CMsString PairValue(const CMsString& work, int equalsAt, int& end) {
    int length = work.GetLength();
    bool quoted = equalsAt + 1 < length && work.GetAt(equalsAt + 1) == '"';
    int valueStart = quoted ? equalsAt + 2 : equalsAt + 1;
    // The second character may start past a double-byte first one.
    int second = valueStart + CharBytes(static_cast<const char*>(work) + valueStart);
    end = quoted ? work.Find('"', true, valueStart) : work.Find(' ', true, second);
    if (end < 0) end = length;
    return work.Mid(valueStart, end - valueStart);
}

}  // namespace

CHtmlAttribList::CHtmlAttribList() : PtrArray(ReleaseAttrib) {}

CHtmlAttribList::~CHtmlAttribList() = default;

CHtmlAttrib* CHtmlAttribList::GetAttribAt(int index) const {
    return static_cast<CHtmlAttrib*>(GetAt(index));
}

bool CHtmlAttribList::SetAttrib(const char* name, const char* value) {
    if (!IsValidAttribValue(name, value)) {
        NoOpTrace("Bad attrib encoding: \"%s\"=\"%s\"\r\n", OrNullMark(name), OrNullMark(value));
        return false;
    }
    if (CHtmlAttrib* existing = FindAttrib(name)) {
        existing->value = NormalisedValue(value);
        return true;
    }
    CHtmlAttrib* attrib = new (std::nothrow) CHtmlAttrib;
    if (!attrib) return false;
    attrib->name = TrimmedName(name);
    attrib->value = NormalisedValue(value);
    if (Add(attrib) < 0) {
        delete attrib;
        return false;
    }
    return true;
}

bool CHtmlAttribList::SetAttribNumber(const char* name, int number, AttribType type) {
    // Every one of these fits, so the output is always terminated.
    char text[16];
    unsigned bits = static_cast<unsigned>(number);
    if (type == AT_HEXCOLOR) {
        _snprintf(text, sizeof text, "#%X", bits);
    } else if (type == AT_COLOR) {
        _snprintf(text, sizeof text, "#%06X", bits);
    } else {
        _snprintf(text, sizeof text, "%d", number);
    }
    return SetAttrib(name, text);
}

CHtmlAttrib* CHtmlAttribList::FindAttrib(const char* name) const {
    if (!name || !*name) return nullptr;
    for (int i = 0; i < count; ++i) {
        CHtmlAttrib* attrib = GetAttribAt(i);
        if (!attrib || attrib->name.IsEmpty()) continue;
        if (attrib->name.CompareNoCase(name) == 0) return attrib;
    }
    return nullptr;
}

CMsString CHtmlAttribList::GetAttrib(const char* name) const {
    CHtmlAttrib* attrib = FindAttrib(name);
    return attrib ? attrib->value : CMsString();
}

int CHtmlAttribList::GetAttribNumber(const char* name, int defaultValue, AttribType type) const {
    return ParseAttribNumber(GetAttrib(name), defaultValue, type);
}

void CHtmlAttribList::CopyAttribs(const CHtmlAttribList& other) {
    if (&other == this) return;
    RemoveAll();
    for (int i = 0; i < other.count; ++i) {
        const CHtmlAttrib* source = other.GetAttribAt(i);
        if (!source) continue;
        CHtmlAttrib* copy = new (std::nothrow) CHtmlAttrib;
        if (!copy) continue;
        copy->name = TrimmedName(source->name);
        copy->value = NormalisedValue(source->value);
        if (Add(copy) < 0) delete copy;
    }
}

// Walks the text with a position instead of cutting off each finished pair, so
// a tag with thousands of pairs is read in linear time.
void CHtmlAttribList::ParseAttribs(const char* text) {
    if (!text || !*text) return;
    CMsString work(text);
    work.TrimLeft();
    work.TrimRight();
    int pos = 0;
    for (;;) {
        int equalsAt = work.Find('=', true, pos);
        if (equalsAt <= pos) return;
        CMsString name = work.Mid(pos, equalsAt - pos);
        int end = 0;
        CMsString value = PairValue(work, equalsAt, end);
        if (!value.IsEmpty()) {
            value.TrimLeft();
            value.TrimRight();
            if (GetAttribType(name) == AT_COLOR) SwapColorOrder(value);
            SetAttrib(name, value);
        }
        pos = end + 1;
        while (pos < work.GetLength() && IsWhiteSpaceAt(work, pos)) ++pos;
    }
}
