// The owning attribute list: validated storage, lookups, copies and the
// attribute text of a tag.
#include "html/HtmlAttrib.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "util/AsciiCase.h"

namespace {

void ReleaseAttrib(void* attrib) { delete static_cast<CHtmlAttrib*>(attrib); }

bool IsLoneTab(const char* value) { return value[0] == '\t' && value[1] == 0; }

// Every space element stores a lone tab, which becomes a blank: all of them
// share these two.
const CMsString& LoneTab() {
    static const CMsString tab("\t");
    return tab;
}

// A value that neither starts nor ends with a blank byte and holds no tab byte
// (nor a zero byte, after which the trims would stop) is one that the trims
// and the replacement below leave as it is: each of them returns at once.
bool IsNormalised(const CMsString& value) {
    int length = value.GetLength();
    const char* chars = value;
    return length > 0 && chars[0] != ' ' && chars[length - 1] != ' ' &&
           !memchr(chars, '\t', static_cast<size_t>(length)) && !memchr(chars, 0, static_cast<size_t>(length));
}

// Copies share the source's block until a trim or a replacement writes.
CMsString NormalisedValue(const CMsString& value) {
    static const CMsString blank(" ");
    if (IsNormalised(value)) return value;
    if (IsLoneTab(value) && !blank.IsEmpty()) return blank;
    CMsString normalised(value);
    normalised.TrimLeft(' ');
    normalised.TrimRight(' ');
    normalised.Replace('\t', ' ');
    return normalised;
}

CMsString TrimmedName(const CMsString& name) {
    CMsString trimmed(name);
    trimmed.TrimLeft();
    trimmed.TrimRight();
    return trimmed;
}

// A name written as in the table is already trimmed and takes the shared copy.
CMsString StoredName(const char* name, const CMsString* shared) {
    return shared ? *shared : TrimmedName(CMsString(name));
}

bool IsWhiteSpaceAt(const CMsString& text, int index, TextEncoding encoding) {
    return IsSpaceAt(static_cast<const char*>(text) + index, encoding);
}

const char* OrNullMark(const char* text) { return text ? text : "$NULL$"; }

// The value after the "=" at equalsAt: quoted up to the next double quote, or
// else up to the first blank from the second character on. end receives the
// position where the pair ends (that quote or blank, or the length).
CMsString PairValue(const CMsString& work, int equalsAt, int& end, TextEncoding encoding) {
    int length = work.GetLength();
    bool quoted = equalsAt + 1 < length && work.GetAt(equalsAt + 1) == '"';
    int valueStart = quoted ? equalsAt + 2 : equalsAt + 1;
    // The second character may start past a multi-byte first one.
    int second = valueStart + CharSize(static_cast<const char*>(work) + valueStart, encoding);
    end = quoted ? work.Find('"', true, valueStart, encoding) : work.Find(' ', true, second, encoding);
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
    return SetChecked(name, value, nullptr);
}

bool CHtmlAttribList::SetAttrib(const char* name, const CMsString& value) {
    // Bytes after an embedded zero are no part of the value.
    bool whole = lstrlenA(value) == value.GetLength();
    return SetChecked(name, value, whole ? &value : nullptr);
}

// valueString, when given, holds exactly value and is stored by sharing its block.
bool CHtmlAttribList::SetChecked(const char* name, const char* value, const CMsString* valueString) {
    AttribNameInfo info = LookUpAttribName(name);
    if (!name || !*name || !IsValidValueOfType(info.type, value)) {
        NoOpTrace("Bad attrib encoding: \"%s\"=\"%s\"\r\n", OrNullMark(name), OrNullMark(value));
        return false;
    }
    if (valueString) return StoreValid(name, info.shared, *valueString);
    bool shared = IsLoneTab(value) && !LoneTab().IsEmpty();
    return StoreValid(name, info.shared, shared ? LoneTab() : CMsString(value));
}

bool CHtmlAttribList::StoreValid(const char* name, const CMsString* sharedName, const CMsString& value) {
    if (CHtmlAttrib* existing = FindAttrib(name)) {
        existing->value = NormalisedValue(value);
        return true;
    }
    CHtmlAttrib* attrib = new (std::nothrow) CHtmlAttrib;
    if (!attrib) return false;
    attrib->name = StoredName(name, sharedName);
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
        if (EqualsNoCase(attrib->name, name)) return attrib;
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
void CHtmlAttribList::ParseAttribs(const char* text, TextEncoding encoding) {
    if (!text || !*text) return;
    CMsString work(text);
    work.TrimLeft(encoding);
    work.TrimRight(encoding);
    int pos = 0;
    for (;;) {
        int equalsAt = work.Find('=', true, pos, encoding);
        if (equalsAt <= pos) return;
        CMsString name = work.Mid(pos, equalsAt - pos);
        int end = 0;
        CMsString value = PairValue(work, equalsAt, end, encoding);
        if (!value.IsEmpty()) {
            value.TrimLeft(encoding);
            value.TrimRight(encoding);
            if (GetAttribType(name) == AT_COLOR) SwapColorOrder(value);
            SetAttrib(name, value);
        }
        pos = end + 1;
        while (pos < work.GetLength() && IsWhiteSpaceAt(work, pos, encoding))
            pos += CharSize(static_cast<const char*>(work) + pos, encoding);
    }
}
