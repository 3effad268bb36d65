// The character set the library's fonts are made with, so that the font
// mapper and the system's font linking find glyphs for the text: a zeroed
// LOGFONT asks for ANSI_CHARSET, for which an East Asian system picks a
// Western face and reads double-byte text as code page 1252.
#pragma once
#include <windows.h>

#include "text/TextEncoding.h"

// Code-page text: the character set of the system code page (ANSI_CHARSET,
// 0, on code page 1252, so Western pixels stay as they were). UTF-8, or a
// code page without a character set of its own: DEFAULT_CHARSET.
BYTE FontCharSet(TextEncoding encoding);
