// Reads the tagged fields (<NAME>value</NAME>) of the parameter text, in the
// encoding the text shows (text/ParameterText.h).
#pragma once
#include "platform/WinSeam.h"
#include "text/TextEncoding.h"
#include "util/CMsString.h"

class TagReader {
public:
    explicit TagReader(const CMsString& sourceText);
    virtual ~TagReader();

    // The text between the first <tagName> and the first </tagName> after it
    // (tags matched regardless of case), trimmed and with #xHH escapes
    // decoded; empty when either tag is missing.
    CMsString ReadField(const char* tagName) const;
    // The same for the first field of tagName that lies wholly outside the
    // fields of the two other tag names.
    CMsString ReadFieldOutside(const char* tagName, const char* outside1, const char* outside2) const;
    // The LOCATION field as a DialogLocation value.
    LONG ReadLocation() const;
    // The WIDTH field as a number; fallback when it is below 1.
    LONG ReadWidth(LONG fallback) const;

private:
    // Where the field of tagName starts (its opening tag) and ends (past its
    // closing tag), searching for the opening tag from `from`; false when
    // either tag is missing.
    bool FindField(const char* tagName, int from, int& start, int& end) const;
    CMsString Enclosed(const char* tagName) const;

    CMsString text;
    TextEncoding encoding;
};

// Removes white space, carriage returns and line feeds from both ends.
void TrimFieldSpace(CMsString& value, TextEncoding encoding = TEXT_CODE_PAGE);
// Replaces every '#', 'x' and two hexadecimal digits by the byte they give.
CMsString DecodeEscapes(const CMsString& value, TextEncoding encoding = TEXT_CODE_PAGE);
// The leading decimal number of the text, as atoi reads it, but clamped to the
// 32-bit range instead of overflowing.
LONG ParseDecimal(const char* text);
