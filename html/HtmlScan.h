// Text-level helpers of the HTML parser: preparing the window text, finding
// the html and body sections, and the small steps of the character scan.
#pragma once
#include "text/TextEncoding.h"
#include "util/CMsString.h"

// Every run of blanks, tabs, carriage returns and line feeds becomes one blank.
CMsString PrepareHtmlText(const char* text, TextEncoding encoding = TEXT_CODE_PAGE);
// Content of the first section "<tag ...>...</tag>" (names matched without
// regard to case, as plain substrings), trimmed; empty when there is none.
// attribText, when given, receives the opener's attribute text, trimmed.
CMsString ExtractTagContent(const CMsString& text, const char* tag, CMsString* attribText,
                            TextEncoding encoding = TEXT_CODE_PAGE);
// Moves the cursor past blanks (' ' only).
void SkipBlanks(char*& cursor);
// If the text at the cursor starts with entity (case ignored), moves the
// cursor to the entity's last character and overwrites it with the first
// character of replacement. True on a match.
bool ReplaceEntity(char*& cursor, const char* entity, const char* replacement);
