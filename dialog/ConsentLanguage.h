// The language the consent is asked in. The installer names it in the
// <LANGUAGE> field; the words come from the DLL's own table, never from the
// parameter text, so an offer cannot relabel the buttons.
#pragma once
#include "platform/WinSeam.h"
#include "util/CMsString.h"

// One row of the table (dialog/ConsentWords.cpp). Texts are UTF-8; a caption
// is split at its tab into the bold head and the small tail. The first row is
// the built-in English, drawn exactly as it always was.
struct ConsentWords {
    const char* names;         // BCP 47 tags, then Inno Setup's file name; lower case, blank-separated
    WORD languageId;           // the Windows language id
    BYTE charSet;              // what the font mapper needs to find the glyphs
    BYTE rightToLeft;          // the script reads from right to left
    const char* face;          // the caption fonts' face, where not Arial
    const char* yesCaption;
    const char* noCaption;
    const char* advertisement;
};

extern const ConsentWords CONSENT_WORDS[];
extern const int CONSENT_WORDS_COUNT;

// The row for a language name: a BCP 47 tag (an unknown region falls back to
// its language, Chinese goes by script or region), a Windows language id in
// decimal or 0x hexadecimal, or an Inno Setup language name; case does not
// matter. The built-in English for an empty or unknown name.
const ConsentWords* ConsentWordsFor(const char* name);

// The LANGUAGE field, read only where neither the MESSAGE nor the DISCLAIMER
// field lies: the message is often a third party's, and an offer must not
// choose the language of the consent.
CMsString ReadLanguageField(const CMsString& sourceText);
