// Cases for the Japanese ANSI code page (932), in which a double-byte
// character may end in a byte that is ASCII punctuation or a letter: 表 is
// "\x95\x5C" (a backslash), ソ "\x83\x5C", ポ "\x83\x7C", ァ "\x83\x40", ゼ
// "\x83\x5B", ア "\x83\x41" ('A'), ヂ "\x83\x61" ('a'). They mean something
// only there, so they skip under any other code page; the cp932 runs of the
// unit tests (which fail unless GetACP() is 932) execute them.
#pragma once
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
inline bool UnderCodePage932() { return GetACP() == 932; }
#else
inline bool UnderCodePage932() { return false; }
#endif

#define SKIP_UNLESS_CODE_PAGE_932() \
    if (!UnderCodePage932()) GTEST_SKIP() << "needs the ANSI code page 932"
