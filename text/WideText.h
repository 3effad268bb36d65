// A text in UTF-16 for the system's wide functions, made from text in either
// encoding: UTF-8 by the rules of text/TextEncoding.h (each ill-formed byte as
// U+FFFD), code-page text as MultiByteToWideChar reads it. A word's worth
// stays in the object; a longer text takes a heap block that the object
// frees. Always terminated; empty when memory runs out.
#pragma once
#include "platform/WinSeam.h"
#include "text/TextEncoding.h"

class WideText {
public:
    WideText(const char* text, int bytes, TextEncoding encoding);
    ~WideText();

    const WCHAR* Units() const { return units; }
    int Count() const { return count; }

private:
    WideText(const WideText&) = delete;
    WideText& operator=(const WideText&) = delete;

    static const int LOCAL_UNITS = 64;
    WCHAR local[LOCAL_UNITS];
    WCHAR* units;
    int count;
};
