// Images of the HTML control: bitmap resources named "rsrc://<number>",
// loaded as device-dependent bitmaps, with a palette from their colour table
// when they have one (html/TransparentDraw.h draws them). Nothing is cached:
// every caller loads, uses and deletes its bitmap.
#pragma once
#include "platform/WinSeam.h"

class CHtmlElement;

// The bitmap named by an img element's "src" in the module; null for any other
// source or a missing resource. The caller deletes the bitmap.
HBITMAP LoadElementBitmap(HINSTANCE module, const CHtmlElement& element);

// Finds bitmap resource number (low 16 bits) of the module. bitmap, when given,
// receives a new bitmap (null on failure); palette, when given, receives the
// resource's palette unless it already holds one. True when the resource was
// found and, if a bitmap was asked for, one was made.
bool LoadResourceBitmap(HINSTANCE module, int number, HBITMAP* bitmap, HPALETTE* palette);

// The following take a packed DIB: a header, its colour table, the pixels.
// Palette of a DIB of at most 8 bits per pixel, else null.
HPALETTE CreateDibPalette(const void* dib);
// Entries of the colour table that precedes the pixels.
int DibColorCount(const void* dib);
HBITMAP CreateBitmapFromDib(HDC dc, const void* dib, HPALETTE palette);
