#include "dialog/RunLanguage.h"

#include "resources/resource.h"
#include "text/ParameterText.h"
#include "window/WideWindowText.h"

void ApplyRunLanguage(HWND dialog, const ConsentWords& words) {
    SetWindowLongPtrA(dialog, DWLP_USER, &words - CONSENT_WORDS + 1);
    const TextEncoding encoding = WordsEncoding(words);
    SetWindowTextIn(GetDlgItem(dialog, IDC_YES), WordsText(words, words.yesCaption), encoding);
    SetWindowTextIn(GetDlgItem(dialog, IDC_NO), WordsText(words, words.noCaption), encoding);
}

const ConsentWords& RunLanguage(HWND dialog) {
    const LONG_PTR row = GetWindowLongPtrA(dialog, DWLP_USER) - 1;
    return row >= 0 && row < CONSENT_WORDS_COUNT ? CONSENT_WORDS[row] : CONSENT_WORDS[0];
}

TextEncoding WordsEncoding(const ConsentWords& words) {
    return &words == CONSENT_WORDS || IsCodePageOnlySystem() ? TEXT_CODE_PAGE : TEXT_UTF8;
}

CMsString WordsText(const ConsentWords& words, const char* text) {
    if (&words == CONSENT_WORDS || !IsCodePageOnlySystem()) return CMsString(text);
    return CodePageTextFromUtf8(text, lstrlenA(text));
}
