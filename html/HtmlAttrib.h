// Name/value attributes of the HTML control's elements and of its body
// settings. Values are always held as text; a fixed table of names gives each
// name a value grammar, and numbers and colours are parsed only when read.
// Colours are held as "#" and the six hexadecimal digits of a COLORREF, so
// they read in blue-green-red order.
#pragma once
#include "platform/WinSeam.h"
#include "text/TextEncoding.h"
#include "util/CMsString.h"
#include "util/PtrArray.h"

enum AttribType {
    AT_NONE = 0,      // nothing is valid
    AT_STRING = 1,    // any non-empty text
    AT_INT = 2,       // decimal digits only
    AT_HEXCOLOR = 3,  // "#" and any number of hexadecimal digits
    AT_COLOR = 4,     // "#" and exactly six hexadecimal digits
    AT_BOOL = 5,      // "1", "yes", "0" or "no", any case
    AT_UINT = 6,      // not starting with "-", decimal digits only
};

// Grammar of an attribute name (ASCII case ignored); AT_NONE for unknown names.
AttribType GetAttribType(const char* name);
// A name's grammar and, when it is written exactly as in the name table, the
// string shared by every attribute stored under it (null otherwise), from one
// search of the table.
struct AttribNameInfo {
    AttribType type;
    const CMsString* shared;
};
AttribNameInfo LookUpAttribName(const char* name);
// False for a null or empty name or value, else the name's grammar decides.
bool IsValidAttribValue(const char* name, const char* value);
// False for a null or empty value, else the grammar of type decides.
bool IsValidValueOfType(AttribType type, const char* value);
// "#" followed by hexadecimal digits only; when digits > 0, exactly that many.
bool IsHexColor(const char* text, int digits);
// Reads a number after one optional leading "#": hexadecimal for AT_HEXCOLOR
// and AT_COLOR, decimal otherwise, with scanf's prefix rule ("12px" is 12).
// Gives defaultValue for null or empty text or when no digit is read. Values
// out of range are clamped (decimal) or cut to 32 bits (hexadecimal).
int ParseAttribNumber(const char* text, int defaultValue, AttribType type);
// Turns "#RRGGBB" into "#BBGGRR"; any value that is not "#" and six more
// characters is left alone.
void SwapColorOrder(CMsString& value);

// The control's trace sink: takes a printf-style format and does nothing
// (see html/HtmlTrace.h for observing it in tests).
void NoOpTrace(const char* format, ...);

class CHtmlAttrib {
public:
    CMsString name;   // trimmed of white space, case as written
    CMsString value;  // blanks trimmed, tabs turned into blanks
};

// Owning list of CHtmlAttrib in insertion order; names are unique without
// regard to case.
class CHtmlAttribList : public PtrArray {
public:
    CHtmlAttribList();
    ~CHtmlAttribList() override;

    // Null for an index out of range or an empty slot.
    CHtmlAttrib* GetAttribAt(int index) const;

    // Stores a valid pair (replacing the value of an existing name in place);
    // an invalid pair is traced and changes nothing. True when stored.
    bool SetAttrib(const char* name, const char* value);
    // The same; a value that needs no change is stored by sharing its block.
    bool SetAttrib(const char* name, const CMsString& value);
    // "#%X" for AT_HEXCOLOR, "#%06X" for AT_COLOR, "%d" otherwise, then SetAttrib.
    bool SetAttribNumber(const char* name, int number, AttribType type);
    CHtmlAttrib* FindAttrib(const char* name) const;
    // The value, or an empty string.
    CMsString GetAttrib(const char* name) const;
    int GetAttribNumber(const char* name, int defaultValue, AttribType type) const;
    // Replaces this list's entries by copies of other's, without validating again.
    void CopyAttribs(const CHtmlAttribList& other);
    // Reads name=value pairs from the attribute text of a tag and stores each
    // with SetAttrib; colour values written "#RRGGBB" are swapped into COLORREF
    // order. The list is not emptied first.
    void ParseAttribs(const char* text, TextEncoding encoding = TEXT_CODE_PAGE);

private:
    // The name is looked up once; the pair is stored only when valid.
    bool SetChecked(const char* name, const char* value, const CMsString* valueString);
    bool StoreValid(const char* name, const CMsString* sharedName, const CMsString& value);
};
