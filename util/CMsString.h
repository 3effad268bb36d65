// The library's one string type: narrow text, held in a shared,
// reference-counted block and copied only when written (copy on write).
// Lengths and indexes are byte counts. The text is in the system code page,
// whose scans step with CharNextA so that a double-byte character is never
// split, unless the caller of a search or trim says it is UTF-8.
#pragma once
#include <cstdarg>

#include "platform/WinSeam.h"
#include "text/TextEncoding.h"

// <windows.h> maps LoadString to LoadStringA or LoadStringW; the member below
// keeps its own name.
#ifdef LoadString
#undef LoadString
#endif

// Header of a shared block; the characters follow it in the same allocation.
struct CMsStringData {
    LONG refs;     // strings pointing at this block; negative: never shared (the empty sentinel is -1)
    int length;    // bytes of text, terminator excluded
    int capacity;  // bytes available for text, terminator excluded

    char* Chars() { return reinterpret_cast<char*>(this + 1); }
};

class CMsString {
public:
    CMsString();
    CMsString(const CMsString& source);
    // Takes over the source's reference, which leaves the source empty: no
    // count changes hands.
    CMsString(CMsString&& source) noexcept;
    // Copies the text. A non-null value below 65536 is a string resource
    // identifier (MAKEINTRESOURCEA) and is loaded instead.
    CMsString(const char* text);
    ~CMsString();

    CMsString& operator=(const CMsString& source);
    CMsString& operator=(CMsString&& source) noexcept;
    CMsString& operator=(const char* text);
    CMsString& operator+=(const char* text);
    CMsString& operator+=(char ch);

    operator const char*() const { return m_chars; }

    int GetLength() const;
    bool IsEmpty() const;
    void Empty();
    // No bounds check: callers keep 0 <= index < GetLength().
    char GetAt(int index) const { return m_chars[index]; }

    // Writable characters with room for at least minLength bytes and a
    // terminator; null when memory runs out (the string is then unchanged).
    char* GetBuffer(int minLength);
    // Ends a GetBuffer write: the length becomes newLength, or the position of
    // the first zero byte when newLength is -1.
    void ReleaseBuffer(int newLength = -1);

    int CompareNoCase(const char* text) const;

    int Find(char ch) const;
    int Find(const char* text) const;
    int Find(const char* text, bool caseSensitive, int start, TextEncoding encoding = TEXT_CODE_PAGE) const;
    int Find(char ch, bool caseSensitive, int start, TextEncoding encoding = TEXT_CODE_PAGE) const;

    CMsString Mid(int first, int count) const;
    CMsString Left(int count) const;
    CMsString Right(int count) const;
    CMsString& DeleteLeft(int count);

#ifdef _WIN32
    // Replaces the contents by the window's text; returns the new length.
    int SetFromWindowText(HWND window);
#endif

    void TrimLeft(TextEncoding encoding = TEXT_CODE_PAGE);
    void TrimRight(TextEncoding encoding = TEXT_CODE_PAGE);
    void TrimLeft(char ch);
    void TrimRight(char ch);
    void TrimLeft(const char* set, TextEncoding encoding = TEXT_CODE_PAGE);
    void TrimRight(const char* set, TextEncoding encoding = TEXT_CODE_PAGE);

    int Replace(char oldChar, char newChar);
    // Returns the number of replacements, or -1 when memory runs out.
    int Replace(const char* oldText, const char* newText);

    // printf-style formatting through wvsprintfA (no floating point).
    void Format(const char* format, ...);
    void FormatV(const char* format, va_list args);

    // Loads a string resource of the library's module; true when it had at
    // least one character.
    bool LoadString(UINT id);

private:
    CMsStringData* Data() const;
    bool IsSentinel() const;
    void Release();
    bool Detach();
    // Out of memory: assigning leaves the string empty, appending leaves it unchanged.
    void AssignBytes(const char* bytes, int count);
    void AppendBytes(const char* bytes, int count);
    void CopyFrom(const CMsString& source);
    template <typename Matches>
    void TrimLeftWhile(Matches matches, TextEncoding encoding);
    template <typename Matches>
    void TrimRightWhile(Matches matches, TextEncoding encoding);
    int CountMatches(const char* oldText, int oldLength) const;
    bool IsInBlock(const char* text) const;
    bool LoadLong(UINT id);

    char* m_chars;  // first character of the block; its header sits directly before
};

// Formats into a new string; a null format gives an empty string.
CMsString FormatString(const char* format, ...);
