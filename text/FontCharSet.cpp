#include "text/FontCharSet.h"

BYTE FontCharSet(TextEncoding encoding) {
    if (encoding == TEXT_UTF8) return DEFAULT_CHARSET;
    CHARSETINFO info = {};
    // The code page travels in the pointer argument itself.
    DWORD_PTR codePage = GetACP();
    if (!TranslateCharsetInfo(reinterpret_cast<DWORD*>(codePage), &info, TCI_SRCCODEPAGE)) return DEFAULT_CHARSET;
    return static_cast<BYTE>(info.ciCharset);
}
