// Splits a text at any of a set of separator characters. Tokens are never
// empty, but one may consist of blanks only.
#pragma once
#include "text/TextEncoding.h"
#include "util/CMsString.h"
#include "util/StringList.h"

class CStringTokenizer {
public:
    CStringTokenizer(const char* text, const char* separators, TextEncoding encoding = TEXT_CODE_PAGE);

    // Stores the next token and returns true, or empties token and returns
    // false once all tokens have been handed out.
    bool NextToken(CMsString& token);

private:
    StringList m_tokens;
    int m_next;
};
