#include "dialog/ConsentLanguage.h"

#include <cstring>

#include "dialog/TagReader.h"

namespace {
// Longer names are no language the table knows.
const int NAME_ROOM = 32;
const WORD CHINESE = 0x04;
const WORD SIMPLIFIED_CHINESE = 0x0804;
const WORD TRADITIONAL_CHINESE = 0x0404;

WORD PrimaryLanguage(WORD id) { return id & 0x3FF; }

// Chinese ids name their script by the sublanguage: Taiwan, Hong Kong, Macao
// and the neutral Traditional write Traditional characters.
WORD ChineseScript(WORD id) {
    const WORD sub = id >> 10;
    return sub == 0x01 || sub == 0x03 || sub == 0x05 || sub == 0x1F ? TRADITIONAL_CHINESE
                                                                     : SIMPLIFIED_CHINESE;
}

const ConsentWords* ForLanguageId(WORD id) {
    if (PrimaryLanguage(id) == CHINESE) id = ChineseScript(id);
    for (int row = 0; row < CONSENT_WORDS_COUNT; ++row) {
        if (CONSENT_WORDS[row].languageId == id) return &CONSENT_WORDS[row];
    }
    for (int row = 0; row < CONSENT_WORDS_COUNT; ++row) {
        if (PrimaryLanguage(CONSENT_WORDS[row].languageId) == PrimaryLanguage(id)) return &CONSENT_WORDS[row];
    }
    return nullptr;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// A whole decimal or 0x hexadecimal number up to 0xFFFF, else -1.
long LanguageIdIn(const char* name) {
    const bool hex = name[0] == '0' && name[1] == 'x';
    const char* digit = hex ? name + 2 : name;
    const int base = hex ? 16 : 10;
    if (!*digit) return -1;
    long value = 0;
    for (; *digit; ++digit) {
        const int d = HexDigit(*digit);
        if (d < 0 || d >= base) return -1;
        value = value * base + d;
        if (value > 0xFFFF) return -1;
    }
    return value;
}

// Whether the blank-separated list holds the word.
bool ListHolds(const char* list, const char* word, size_t length) {
    while (*list) {
        size_t item = std::strcspn(list, " ");
        if (item == length && std::strncmp(list, word, length) == 0) return true;
        list += item;
        while (*list == ' ') ++list;
    }
    return false;
}

const ConsentWords* ForTag(const char* tag, size_t length) {
    for (int row = 0; row < CONSENT_WORDS_COUNT; ++row) {
        if (ListHolds(CONSENT_WORDS[row].names, tag, length)) return &CONSENT_WORDS[row];
    }
    return nullptr;
}

// The whole tag or Inno Setup name, then the tag's language and script or
// region, then its language.
const ConsentWords* ForTagOrItsLanguage(const char* tag) {
    const size_t whole = std::strlen(tag);
    const size_t language = std::strcspn(tag, "-");
    const size_t second = language < whole ? language + 1 + std::strcspn(tag + language + 1, "-") : whole;
    const ConsentWords* words = ForTag(tag, whole);
    if (!words && second < whole) words = ForTag(tag, second);
    if (!words && language < whole) words = ForTag(tag, language);
    return words;
}

// The name in lower case with '_' written '-'; false when it holds anything
// but ASCII letters, digits, '-' and '_', or is too long for a language.
bool Normalised(const char* name, char (&out)[NAME_ROOM]) {
    int i = 0;
    for (; name[i]; ++i) {
        char c = name[i];
        if (i + 1 >= NAME_ROOM) return false;
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c == '_') c = '-';
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')) return false;
        out[i] = c;
    }
    out[i] = '\0';
    return i > 0;
}
}  // namespace

const ConsentWords* ConsentWordsFor(const char* name) {
    char key[NAME_ROOM];
    if (!name || !Normalised(name, key)) return &CONSENT_WORDS[0];
    const long id = LanguageIdIn(key);
    const ConsentWords* words = id >= 0 ? ForLanguageId(static_cast<WORD>(id)) : nullptr;
    if (!words && id < 0) words = ForTagOrItsLanguage(key);
    return words ? words : &CONSENT_WORDS[0];
}

CMsString ReadLanguageField(const CMsString& sourceText) {
    return TagReader(sourceText).ReadFieldOutside("LANGUAGE", "MESSAGE", "DISCLAIMER");
}
