#include "util/CMsString.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <new>

#include "util/AsciiCase.h"
#include "util/FormatLength.h"
#include "util/ModuleInstance.h"

namespace {

// The one block every empty string without storage points at. It is never
// counted, written or freed.
struct EmptyBlock {
    CMsStringData header;
    char terminator[1];
};
EmptyBlock emptyBlock = {{-1, 0, 0}, {0}};

char* EmptyChars() { return emptyBlock.terminator; }

// A fresh block with refs 1 and room for capacity bytes plus a terminator; null
// when memory runs out.
CMsStringData* NewBlock(int capacity, int length) {
    if (capacity < 0 || length < 0 || length > capacity) return nullptr;
    size_t bytes = sizeof(CMsStringData) + static_cast<size_t>(capacity) + 1;
    char* raw = new (std::nothrow) char[bytes];
    if (!raw) return nullptr;
    CMsStringData* data = reinterpret_cast<CMsStringData*>(raw);
    data->refs = 1;
    data->length = length;
    data->capacity = capacity;
    data->Chars()[length] = 0;
    return data;
}

void FreeBlock(CMsStringData* data) { delete[] reinterpret_cast<char*>(data); }

// Drops one reference to a counted block, freeing it with the last one.
void Unreference(CMsStringData* data) {
    if (data == &emptyBlock.header) return;
    if (InterlockedDecrement(&data->refs) <= 0) FreeBlock(data);
}

// Length of the text in at most limit bytes: the first zero byte, or limit.
int BoundedLength(const char* chars, int limit) {
    const void* zero = memchr(chars, 0, static_cast<size_t>(limit));
    return zero ? static_cast<int>(static_cast<const char*>(zero) - chars) : limit;
}

bool IsSevenBit(const char* chars, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (static_cast<unsigned char>(chars[i]) >= 0x80) return false;
    }
    return true;
}

// Next character start after index i; a zero byte is a character of its own.
int NextCharIndex(const char* chars, int i) { return i + (chars[i] ? CharBytes(chars + i) : 1); }

// Whether the whole character at p is one of the characters of the set.
bool IsCharInSet(const char* p, const char* set, TextEncoding encoding) {
    int size = CharSize(p, encoding);
    for (const char* q = set; *q; q = NextChar(q, encoding)) {
        if (CharSize(q, encoding) == size && memcmp(p, q, static_cast<size_t>(size)) == 0) return true;
    }
    return false;
}

// A byte from 1 to 0x7F: a whole character, since no code page has a lead
// byte below 0x80.
bool IsSevenBitChar(char c) { return static_cast<unsigned char>(c) - 1u < 0x7Fu; }

// First occurrence of text (ASCII letters folded) at a character start of the
// zero-terminated piece at p.
const char* FindFolded(const char* p, const char* text, TextEncoding encoding) {
    // Runs of one-byte characters that cannot begin the text are passed over
    // in a tight loop; every other position is tried in full.
    bool singleFirst = IsSevenBitChar(*text);
    char first = FoldAscii(*text);
    while (*p) {
        if (singleFirst) {
            while (IsSevenBitChar(*p) && FoldAscii(*p) != first) ++p;
            if (!*p) return nullptr;
        }
        if (MatchFoldedAt(p, text, encoding) >= 0) return p;
        p = NextChar(p, encoding);
    }
    return nullptr;
}

// First occurrence of text at a character start of the zero-terminated piece
// at p (text is not empty).
const char* FindAtCharStart(const char* p, const char* text, int textLength, TextEncoding encoding) {
    bool singleFirst = IsSevenBitChar(*text);
    while (*p) {
        if (singleFirst) {
            while (IsSevenBitChar(*p) && *p != *text) ++p;
            if (!*p) return nullptr;
        }
        if (*p == *text && strncmp(p, text, static_cast<size_t>(textLength)) == 0) return p;
        p = NextChar(p, encoding);
    }
    return nullptr;
}

// Index of the next occurrence at or after from, searching every
// zero-terminated piece up to length; -1 if none.
int FindAcrossPieces(const char* chars, int length, int from, const char* text, int textLength) {
    while (from < length) {
        const char* found = FindAtCharStart(chars + from, text, textLength, TEXT_CODE_PAGE);
        if (found) return static_cast<int>(found - chars);
        from += lstrlenA(chars + from) + 1;
    }
    return -1;
}

struct ReplaceTexts {
    const char* oldText;
    int oldLength;
    const char* newText;
    int newLength;
};

// Rewrites every occurrence inside a block with room for the result; each
// tail moves by the difference, left to right. Returns the new length.
int ReplaceInPlace(char* chars, int length, const ReplaceTexts& texts) {
    for (int at = FindAcrossPieces(chars, length, 0, texts.oldText, texts.oldLength); at >= 0;
         at = FindAcrossPieces(chars, length, at + texts.newLength, texts.oldText, texts.oldLength)) {
        memmove(chars + at + texts.newLength, chars + at + texts.oldLength,
                static_cast<size_t>(length - at - texts.oldLength) + 1);
        memcpy(chars + at, texts.newText, static_cast<size_t>(texts.newLength));
        length += texts.newLength - texts.oldLength;
    }
    return length;
}

// Writes the text with every occurrence replaced, and its terminator, to out.
void CopyReplaced(const char* chars, int length, const ReplaceTexts& texts, char* out) {
    int copied = 0;
    for (int at = FindAcrossPieces(chars, length, 0, texts.oldText, texts.oldLength); at >= 0;
         at = FindAcrossPieces(chars, length, at + texts.oldLength, texts.oldText, texts.oldLength)) {
        memcpy(out, chars + copied, static_cast<size_t>(at - copied));
        out += at - copied;
        memcpy(out, texts.newText, static_cast<size_t>(texts.newLength));
        out += texts.newLength;
        copied = at + texts.oldLength;
    }
    memcpy(out, chars + copied, static_cast<size_t>(length - copied) + 1);
}

}  // namespace

CMsString::CMsString() : m_chars(EmptyChars()) {}

CMsString::CMsString(const CMsString& source) : m_chars(EmptyChars()) { CopyFrom(source); }

CMsString::CMsString(CMsString&& source) noexcept : m_chars(EmptyChars()) {
    // A block that is never shared stays with its string and is copied.
    if (source.Data()->refs < 0) {
        CopyFrom(source);
        return;
    }
    m_chars = source.m_chars;
    source.m_chars = EmptyChars();
}

CMsString::CMsString(const char* text) : m_chars(EmptyChars()) {
    if (text && reinterpret_cast<uintptr_t>(text) < 65536) {
        if (!LoadString(static_cast<UINT>(reinterpret_cast<uintptr_t>(text))))
            OutputDebugStringA("Warning: implicit LoadString() in CMsString failed\n");
        return;
    }
    AssignBytes(text, lstrlenA(text));
}

CMsString::~CMsString() { Release(); }

CMsStringData* CMsString::Data() const { return reinterpret_cast<CMsStringData*>(m_chars) - 1; }

bool CMsString::IsSentinel() const { return m_chars == EmptyChars(); }

void CMsString::Release() {
    Unreference(Data());
    m_chars = EmptyChars();
}

bool CMsString::Detach() {
    CMsStringData* old = Data();
    if (old->refs <= 1) return true;
    // Copy before letting go: another owner may free the shared block as soon
    // as our reference is dropped.
    CMsStringData* data = NewBlock(old->length, old->length);
    if (!data) return false;
    memcpy(data->Chars(), m_chars, static_cast<size_t>(old->length) + 1);
    m_chars = data->Chars();
    Unreference(old);
    return true;
}

void CMsString::AssignBytes(const char* bytes, int count) {
    if (count <= 0) {
        Release();
        return;
    }
    CMsStringData* old = Data();
    if (old->refs == 1 && count <= old->capacity) {
        memmove(m_chars, bytes, static_cast<size_t>(count));
        old->length = count;
        m_chars[count] = 0;
        return;
    }
    // The bytes may lie in the old block: copy them out before releasing it.
    CMsStringData* data = NewBlock(count, count);
    if (data) memcpy(data->Chars(), bytes, static_cast<size_t>(count));
    Release();
    if (!data) return;
    m_chars = data->Chars();
    return;
}

void CMsString::AppendBytes(const char* bytes, int count) {
    if (count <= 0) return;
    CMsStringData* old = Data();
    if (count > INT_MAX - old->length) return;
    int length = old->length + count;
    if (old->refs == 1 && length <= old->capacity) {
        memmove(m_chars + old->length, bytes, static_cast<size_t>(count));
        old->length = length;
        m_chars[length] = 0;
        return;
    }
    CMsStringData* data = NewBlock(length, length);
    if (!data) return;
    memcpy(data->Chars(), m_chars, static_cast<size_t>(old->length));
    memcpy(data->Chars() + old->length, bytes, static_cast<size_t>(count));
    m_chars = data->Chars();
    Unreference(old);
}

void CMsString::CopyFrom(const CMsString& source) {
    CMsStringData* data = source.Data();
    if (data->refs < 0) {
        AssignBytes(source.m_chars, data->length);
        return;
    }
    InterlockedIncrement(&data->refs);
    Release();
    m_chars = source.m_chars;
}

CMsString& CMsString::operator=(const CMsString& source) {
    if (m_chars == source.m_chars) return *this;
    if ((Data()->refs < 0 && !IsSentinel()) || source.Data()->refs < 0) {
        AssignBytes(source.m_chars, source.Data()->length);
        return *this;
    }
    CopyFrom(source);
    return *this;
}

CMsString& CMsString::operator=(CMsString&& source) noexcept {
    bool neverShared = (Data()->refs < 0 && !IsSentinel()) || source.Data()->refs < 0;
    if (m_chars == source.m_chars || neverShared) return *this = source;
    Release();
    m_chars = source.m_chars;
    source.m_chars = EmptyChars();
    return *this;
}

CMsString& CMsString::operator=(const char* text) {
    AssignBytes(text, lstrlenA(text));
    return *this;
}

CMsString& CMsString::operator+=(const char* text) {
    AppendBytes(text, lstrlenA(text));
    return *this;
}

CMsString& CMsString::operator+=(char ch) {
    AppendBytes(&ch, 1);
    return *this;
}

int CMsString::GetLength() const { return Data()->length; }

bool CMsString::IsEmpty() const { return Data()->length == 0; }

void CMsString::Empty() {
    if (Data()->length == 0) return;
    Release();
}

char* CMsString::GetBuffer(int minLength) {
    if (minLength < 0) minLength = 0;
    CMsStringData* old = Data();
    if (!IsSentinel() && old->refs <= 1 && minLength <= old->capacity) return m_chars;
    int capacity = minLength > old->length ? minLength : old->length;
    CMsStringData* data = NewBlock(capacity, old->length);
    if (!data) return nullptr;
    memcpy(data->Chars(), m_chars, static_cast<size_t>(old->length) + 1);
    m_chars = data->Chars();
    Unreference(old);
    return m_chars;
}

void CMsString::ReleaseBuffer(int newLength) {
    if (IsSentinel() || !Detach()) return;
    CMsStringData* data = Data();
    if (newLength < 0) newLength = BoundedLength(m_chars, data->capacity);
    if (newLength > data->capacity) newLength = data->capacity;
    data->length = newLength;
    m_chars[newLength] = 0;
}

int CMsString::CompareNoCase(const char* text) const { return lstrcmpiA(m_chars, text ? text : ""); }

int CMsString::Find(char ch) const {
    if (ch == 0) return GetLength();
    for (const char* p = m_chars; *p; p = NextCharStart(p)) {
        if (*p == ch) return static_cast<int>(p - m_chars);
    }
    return -1;
}

int CMsString::Find(const char* text) const {
    if (!text || !*text) return 0;
    return Find(text, true, 0);
}

int CMsString::Find(const char* text, bool caseSensitive, int start, TextEncoding encoding) const {
    if (start < 0) start = 0;
    if (start >= GetLength()) return -1;
    const char* from = m_chars + start;
    const char* found = nullptr;
    if (caseSensitive) {
        if (!text || !*text) return start;
        found = FindAtCharStart(from, text, lstrlenA(text), encoding);
    } else {
        if (!text || !*text) return -1;
        found = FindFolded(from, text, encoding);
    }
    return found ? static_cast<int>(found - m_chars) : -1;
}

int CMsString::Find(char ch, bool caseSensitive, int start, TextEncoding encoding) const {
    char text[2] = {ch, 0};
    return Find(text, caseSensitive, start, encoding);
}

CMsString CMsString::Mid(int first, int count) const {
    int length = GetLength();
    if (first < 0) first = 0;
    if (count < 0) count = 0;
    if (first > length) return CMsString();
    if (count > length - first) count = length - first;
    if (first == 0 && count == length) return *this;
    CMsString result;
    result.AssignBytes(m_chars + first, count);
    return result;
}

CMsString CMsString::Left(int count) const { return Mid(0, count); }

CMsString CMsString::Right(int count) const {
    int length = GetLength();
    if (count < 0) count = 0;
    if (count > length) count = length;
    return Mid(length - count, count);
}

CMsString& CMsString::DeleteLeft(int count) {
    int length = GetLength();
    if (count <= 0 || count >= length || !Detach()) return *this;
    memmove(m_chars, m_chars + count, static_cast<size_t>(length - count) + 1);
    Data()->length = length - count;
    return *this;
}

template <typename Matches>
void CMsString::TrimLeftWhile(Matches matches, TextEncoding encoding) {
    const char* p = m_chars;
    while (*p && matches(p)) p = NextChar(p, encoding);
    int skipped = static_cast<int>(p - m_chars);
    if (skipped == 0 || !Detach()) return;
    int length = GetLength() - skipped;
    memmove(m_chars, m_chars + skipped, static_cast<size_t>(length) + 1);
    Data()->length = length;
}

template <typename Matches>
void CMsString::TrimRightWhile(Matches matches, TextEncoding encoding) {
    const char* run = nullptr;
    size_t end = strlen(m_chars);
    if (IsSevenBit(m_chars, end)) {
        // Every byte starts a character: the trailing run is found from the end.
        size_t start = end;
        while (start > 0 && matches(m_chars + start - 1)) --start;
        if (start < end) run = m_chars + start;
    } else {
        for (const char* p = m_chars; *p; p = NextChar(p, encoding)) {
            if (!matches(p))
                run = nullptr;
            else if (!run)
                run = p;
        }
    }
    if (!run) return;
    int length = static_cast<int>(run - m_chars);
    if (!Detach()) return;
    m_chars[length] = 0;
    Data()->length = length;
}

void CMsString::TrimLeft(TextEncoding encoding) {
    TrimLeftWhile([encoding](const char* p) { return IsSpaceAt(p, encoding); }, encoding);
}

void CMsString::TrimRight(TextEncoding encoding) {
    TrimRightWhile([encoding](const char* p) { return IsSpaceAt(p, encoding); }, encoding);
}

void CMsString::TrimLeft(char ch) {
    TrimLeftWhile([ch](const char* p) { return *p == ch; }, TEXT_CODE_PAGE);
}

void CMsString::TrimRight(char ch) {
    // A byte below 0x40 is never the second byte of a double-byte character,
    // so a text (up to its first zero byte) that does not end in it ends in no
    // run of it.
    size_t end = strlen(m_chars);
    if (static_cast<unsigned char>(ch) < 0x40 && (end == 0 || m_chars[end - 1] != ch)) return;
    TrimRightWhile([ch](const char* p) { return *p == ch; }, TEXT_CODE_PAGE);
}

void CMsString::TrimLeft(const char* set, TextEncoding encoding) {
    if (!set || !*set) return;
    TrimLeftWhile([set, encoding](const char* p) { return IsCharInSet(p, set, encoding); }, encoding);
}

void CMsString::TrimRight(const char* set, TextEncoding encoding) {
    if (!set || !*set) return;
    TrimRightWhile([set, encoding](const char* p) { return IsCharInSet(p, set, encoding); }, encoding);
}

int CMsString::Replace(char oldChar, char newChar) {
    if (oldChar == newChar) return 0;
    int length = GetLength();
    // No such byte anywhere: no character starts with it either.
    if (!memchr(m_chars, oldChar, static_cast<size_t>(length))) return 0;
    int count = 0;
    // Every character start within the length, across embedded zero bytes.
    for (int i = 0; i < length; i = NextCharIndex(m_chars, i)) {
        if (m_chars[i] == oldChar) ++count;
    }
    if (count == 0) return 0;
    if (!Detach()) return -1;
    for (int i = 0; i < length; i = NextCharIndex(m_chars, i)) {
        if (m_chars[i] == oldChar) m_chars[i] = newChar;
    }
    return count;
}

int CMsString::CountMatches(const char* oldText, int oldLength) const {
    int count = 0;
    int length = GetLength();
    for (int at = FindAcrossPieces(m_chars, length, 0, oldText, oldLength); at >= 0;
         at = FindAcrossPieces(m_chars, length, at + oldLength, oldText, oldLength))
        ++count;
    return count;
}

int CMsString::Replace(const char* oldText, const char* newText) {
    if (!oldText || !*oldText) return 0;
    // Nothing matches in an empty string. An empty new text points at the same
    // shared empty block and would pass for a text of this string's own, whose
    // copies below are that block again.
    if (IsEmpty()) return 0;
    if (!newText) newText = "";
    if (IsInBlock(oldText) || IsInBlock(newText)) {
        // Texts inside this string's own block would change under the rewrite.
        CMsString oldCopy(oldText);
        CMsString newCopy(newText);
        if (oldCopy.IsEmpty() || newCopy.GetLength() != lstrlenA(newText)) return -1;
        return Replace(oldCopy, newCopy);
    }
    const ReplaceTexts texts = {oldText, lstrlenA(oldText), newText, lstrlenA(newText)};
    int count = CountMatches(oldText, texts.oldLength);
    if (count == 0) return 0;
    int length = GetLength();
    long long grown = static_cast<long long>(length) +
                      static_cast<long long>(texts.newLength - texts.oldLength) * count;
    if (grown > INT_MAX) return -1;
    int newLength = static_cast<int>(grown);

    CMsStringData* old = Data();
    if (old->refs == 1 && newLength <= old->capacity) {
        old->length = ReplaceInPlace(m_chars, length, texts);
        return count;
    }
    CMsStringData* data = NewBlock(newLength, newLength);
    if (!data) return -1;
    CopyReplaced(m_chars, length, texts, data->Chars());
    m_chars = data->Chars();
    Unreference(old);
    return count;
}

bool CMsString::IsInBlock(const char* text) const {
    uintptr_t at = reinterpret_cast<uintptr_t>(text);
    uintptr_t first = reinterpret_cast<uintptr_t>(m_chars);
    return at >= first && at <= first + static_cast<uintptr_t>(Data()->capacity);
}

void CMsString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CMsString::FormatV(const char* format, va_list args) {
    if (!format || !*format) {
        Empty();
        return;
    }
    // Always a fresh block: the arguments may point into this string.
    CMsString result;
    char* buffer = result.GetBuffer(EstimateFormatLength(format, args));
    if (!buffer) return;
    wvsprintfA(buffer, format, args);
    result.ReleaseBuffer(-1);
    *this = result;
}

bool CMsString::LoadString(UINT id) {
    char buffer[256];
    buffer[0] = 0;
    int loaded = LoadStringA(GetModuleInstance(), id, buffer, static_cast<int>(sizeof buffer));
    if (loaded < 0) loaded = 0;
    if (static_cast<int>(sizeof buffer) - loaded > 2) {
        buffer[loaded] = 0;
        AssignBytes(buffer, loaded);
        return loaded > 0;
    }
    if (LoadLong(id)) return GetLength() > 0;
    Empty();
    return false;
}

// A resource too long for the stack buffer is read straight into the string
// with ever larger buffers. Resource strings hold at most 65535 characters.
bool CMsString::LoadLong(UINT id) {
    const int largest = 65536 + 512;
    for (int size = 512; size <= largest; size += 256) {
        char* buffer = GetBuffer(size - 1);
        if (!buffer) return false;
        buffer[0] = 0;
        int loaded = LoadStringA(GetModuleInstance(), id, buffer, size);
        if (size - loaded > 2) break;
    }
    ReleaseBuffer(-1);
    return true;
}

CMsString FormatString(const char* format, ...) {
    CMsString result;
    if (!format) return result;
    va_list args;
    va_start(args, format);
    result.FormatV(format, args);
    va_end(args);
    return result;
}
