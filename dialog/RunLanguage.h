// The consent's words of one run of the dialog. The object's layout is fixed,
// so the dialog keeps them in its window: the row in its DWLP_USER slot, for
// the buttons and the corner caption when they draw, and the captions as the
// buttons' texts, whole for a Unicode client.
#pragma once
#include <windows.h>

#include "dialog/ConsentLanguage.h"
#include "text/TextEncoding.h"
#include "util/CMsString.h"

// Records the words for the dialog and sets its buttons' captions.
void ApplyRunLanguage(HWND dialog, const ConsentWords& words);

// The words recorded for the dialog; the built-in English for any other window.
const ConsentWords& RunLanguage(HWND dialog);

// How the row's texts reach the system: the built-in English and every text
// on Windows 95, 98 and ME in the code page, the others in UTF-8.
TextEncoding WordsEncoding(const ConsentWords& words);

// One of the row's texts in that encoding.
CMsString WordsText(const ConsentWords& words, const char* text);
