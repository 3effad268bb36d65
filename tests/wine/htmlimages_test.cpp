// Bitmap resources for the HTML control: loading, palettes, sizes, drawing
// with a transparent colour, and the boxes layout gives images.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "html/CHaleSimpleHtmlCtrl.h"
#include "html/ResourceImages.h"
#include "html/TransparentDraw.h"
#include "resources/TestResources.h"
#include "support/win/HtmlCtrlHost.h"

namespace {
HINSTANCE Module() { return GetModuleHandleA(nullptr); }

const void* LockedDib(int id) {
    HRSRC resource = FindResourceA(Module(), MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_BITMAP));
    return resource ? LockResource(LoadResource(Module(), resource)) : nullptr;
}

// A 32-bit memory canvas filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill) : dc(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        previous = SelectObject(dc, bitmap);
        RECT all = {0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(fill);
        FillRect(dc, &all, brush);
        DeleteObject(brush);
    }
    ~Canvas() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    HDC dc;

private:
    HBITMAP bitmap;
    HGDIOBJ previous;
};

// Reads a bitmap's pixels through a memory DC.
COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    COLORREF color = GetPixel(dc, x, y);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return color;
}

int PaletteSize(HPALETTE palette) {
    WORD entries = 0;
    GetObjectA(palette, sizeof entries, &entries);
    return entries;
}

HBITMAP ElementBitmap(const char* source) {
    CHtmlElement element(nullptr, HEK_IMG, 1, "src", source);
    return LoadElementBitmap(Module(), element);
}

bool LoadsResource(const char* source, int expectedWidth) {
    HBITMAP bitmap = ElementBitmap(source);
    bool loaded = bitmap && BitmapSize(bitmap).cx == expectedWidth;
    if (bitmap) DeleteObject(bitmap);
    return loaded;
}
}  // namespace

TEST(ResourceImages, ColourTablesGivePalettesAndTrueColourGivesNone) {
    const void* four = LockedDib(IDB_TEST_4BIT);
    const void* eight = LockedDib(IDB_TEST_8BIT);
    const void* deep = LockedDib(IDB_TEST_24BIT);
    ASSERT_TRUE(four && eight && deep);
    EXPECT_EQ(DibColorCount(four), 16);
    EXPECT_EQ(DibColorCount(eight), 4);
    EXPECT_EQ(DibColorCount(deep), 0);

    HPALETTE palette = CreateDibPalette(four);
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(PaletteSize(palette), 16);
    PALETTEENTRY entries[16] = {};
    GetPaletteEntries(palette, 0, 16, entries);
    EXPECT_EQ(RGB(entries[9].peRed, entries[9].peGreen, entries[9].peBlue), RGB(255, 0, 0));
    EXPECT_EQ(RGB(entries[12].peRed, entries[12].peGreen, entries[12].peBlue), RGB(0, 0, 255));
    DeleteObject(palette);

    palette = CreateDibPalette(eight);
    EXPECT_EQ(PaletteSize(palette), 4);
    DeleteObject(palette);
    EXPECT_EQ(CreateDibPalette(deep), nullptr);
    EXPECT_EQ(CreateDibPalette(nullptr), nullptr);
}

TEST(ResourceImages, LoadedBitmapsHaveTheirSizeAndTheirPixelsInPlace) {
    HBITMAP four = nullptr;
    HBITMAP eight = nullptr;
    HBITMAP deep = nullptr;
    ASSERT_TRUE(LoadResourceBitmap(Module(), IDB_TEST_4BIT, &four, nullptr));
    ASSERT_TRUE(LoadResourceBitmap(Module(), IDB_TEST_8BIT, &eight, nullptr));
    ASSERT_TRUE(LoadResourceBitmap(Module(), IDB_TEST_24BIT, &deep, nullptr));
    EXPECT_EQ(BitmapSize(four).cx, 16);
    EXPECT_EQ(BitmapSize(four).cy, 4);
    EXPECT_EQ(BitmapSize(eight).cx, 12);
    EXPECT_EQ(BitmapSize(eight).cy, 6);
    EXPECT_EQ(BitmapSize(deep).cx, 32);
    EXPECT_EQ(BitmapSize(deep).cy, 32);
    EXPECT_EQ(PixelOf(four, 9, 0), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(four, 12, 3), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(four, 15, 2), RGB(255, 255, 255));
    // The pixels start after the four entries the header announces, not 256.
    EXPECT_EQ(PixelOf(eight, 1, 1), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(eight, 10, 4), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(deep, 31, 31), RGB(0x20, 0x80, 0xC0));
    DeleteObject(four);
    DeleteObject(eight);
    DeleteObject(deep);
    SIZE none = BitmapSize(nullptr);
    EXPECT_EQ(none.cx, 0);
    EXPECT_EQ(none.cy, 0);
}

TEST(ResourceImages, ThePaletteIsHandedOutOrAGivenOneIsKept) {
    HPALETTE palette = nullptr;
    EXPECT_TRUE(LoadResourceBitmap(Module(), IDB_TEST_4BIT, nullptr, &palette));
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(PaletteSize(palette), 16);

    HPALETTE given = palette;
    HBITMAP bitmap = nullptr;
    EXPECT_TRUE(LoadResourceBitmap(Module(), IDB_TEST_8BIT, &bitmap, &palette));
    EXPECT_EQ(palette, given);
    EXPECT_NE(bitmap, nullptr);
    DeleteObject(bitmap);
    DeleteObject(palette);

    palette = nullptr;
    EXPECT_TRUE(LoadResourceBitmap(Module(), IDB_TEST_24BIT, nullptr, &palette));
    EXPECT_EQ(palette, nullptr);
}

TEST(ResourceImages, MissingOrShortResourcesGiveNoBitmap) {
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(1);
    EXPECT_FALSE(LoadResourceBitmap(Module(), 9999, &bitmap, nullptr));
    EXPECT_EQ(bitmap, nullptr);
    EXPECT_FALSE(LoadResourceBitmap(Module(), 0, &bitmap, nullptr));
    // Its header promises 64 rows; the resource holds one.
    EXPECT_FALSE(LoadResourceBitmap(Module(), IDB_TEST_SHORT, &bitmap, nullptr));
    EXPECT_EQ(bitmap, nullptr);
}

TEST(ResourceImages, OnlyResourceSourcesLoadAndTheirNumberIsReadLeniently) {
    EXPECT_TRUE(LoadsResource("rsrc://2103", 32));
    EXPECT_TRUE(LoadsResource("RSRC://2101", 16));
    EXPECT_TRUE(LoadsResource("rsrc://2102px", 12));
    EXPECT_TRUE(LoadsResource("rsrc:// +2103", 32));
    // Only the low 16 bits name the resource: 67639 is 65536 + 2103.
    EXPECT_TRUE(LoadsResource("rsrc://67639", 32));
    EXPECT_EQ(ElementBitmap("rsrc://abc"), nullptr);
    EXPECT_EQ(ElementBitmap("rsrc://"), nullptr);
    EXPECT_EQ(ElementBitmap("rsrc:/2103"), nullptr);
    EXPECT_EQ(ElementBitmap("file://2103"), nullptr);
    EXPECT_EQ(ElementBitmap("rsrc://99999999999999999999"), nullptr);
    CHtmlElement noSource(nullptr, HEK_IMG, 1);
    EXPECT_EQ(LoadElementBitmap(Module(), noSource), nullptr);
}

TEST(TransparentDraw, MagentaPixelsShowWhatLiesBeneath) {
    HBITMAP magenta = nullptr;
    ASSERT_TRUE(LoadResourceBitmap(Module(), IDB_TEST_MAGENTA, &magenta, nullptr));
    Canvas canvas(20, 20, RGB(0, 0, 255));
    SetBkColor(canvas.dc, RGB(1, 2, 3));
    SetTextColor(canvas.dc, RGB(4, 5, 6));
    DrawBitmapTransparent(canvas.dc, magenta, nullptr, 5, 6, IMAGE_TRANSPARENT_COLOR, FALSE);
    EXPECT_EQ(canvas.At(5, 6), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(12, 13), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(7, 8), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(10, 11), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(4, 6), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(13, 14), RGB(0, 0, 255));
    EXPECT_EQ(GetBkColor(canvas.dc), RGB(255, 255, 255));
    EXPECT_EQ(GetTextColor(canvas.dc), RGB(0, 0, 0));

    // A part of the bitmap: its 4 x 4 centre only.
    Canvas part(10, 10, RGB(9, 9, 9));
    DrawTransparent(part.dc, magenta, nullptr, 0, 0, 4, 4, 2, 2, IMAGE_TRANSPARENT_COLOR, FALSE);
    EXPECT_EQ(part.At(0, 0), RGB(9, 9, 9));
    EXPECT_EQ(part.At(3, 3), RGB(9, 9, 9));
    // With another transparent colour the magenta is drawn.
    DrawTransparent(part.dc, magenta, nullptr, 0, 0, 4, 4, 2, 2, RGB(0, 255, 0), FALSE);
    EXPECT_EQ(part.At(1, 1), RGB(255, 0, 255));
    DeleteObject(magenta);
}

TEST(ImageBoxes, GivenSizesPlusSpacingElseTheBitmapSizeElseElevenSquare) {
    CHaleSimpleHtmlCtrl control(Module());
    HtmlCtrlHost host;
    ASSERT_TRUE(control.Attach(host.AddPlaceholder(1, 0, 0, 400, 100)));
    control.SetHtml(
        "<img src=\"rsrc://2103\" width=10 height=10 hspace=3 vspace=2>"
        "<img src=\"rsrc://2103\" width=0 height=20>"
        "<img src=\"rsrc://2101\" height=20>"
        "<img src=\"rsrc://4242\" width=0 height=20>"
        "<img src=\"rsrc://4242\" hspace=1 vspace=4>"
        "<img src=\"rsrc://4242\" width=7 height=5>");
    control.FitHeightToContent();
    ASSERT_EQ(control.elements.count, 6);
    const int expected[6][2] = {{16, 14}, {32, 32}, {16, 4}, {11, 11}, {13, 19}, {7, 5}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(control.GetElement(i)->cx, expected[i][0]) << "image " << i;
        EXPECT_EQ(control.GetElement(i)->cy, expected[i][1]) << "image " << i;
    }
}

TEST(ImageBoxes, HugeSpacingsSaturateInsteadOfOverflowing) {
    CHaleSimpleHtmlCtrl control(Module());
    HtmlCtrlHost host;
    ASSERT_TRUE(control.Attach(host.AddPlaceholder(1, 0, 0, 400, 100)));
    control.SetHtml(
        "<img width=2147483647 height=2147483647 hspace=2147483647 vspace=1073741824>x<br>y");
    control.FitHeightToContent();
    ASSERT_EQ(control.elements.count, 4);
    const CHtmlElement* image = control.GetElement(0);
    EXPECT_EQ(image->cx, INT_MAX);
    EXPECT_EQ(image->cy, INT_MAX);
    const CHtmlElement* last = control.GetElement(3);
    EXPECT_GT(last->y, 0);
    RECT box = control.ElementBox(last, 0);
    EXPECT_GE(box.bottom, box.top);
    PaintNow(control.hwnd);
}
