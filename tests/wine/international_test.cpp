// Offers beyond the code page: UTF-8 and UTF-16 offers in Latin, Cyrillic,
// Greek and Japanese reach the title bar and a screen reader whole, the wide
// entry point reads a text and a file in a folder named outside the code page,
// a Japanese paragraph wraps inside its control, and Japanese code-page text
// under a Japanese system is drawn as Japanese and wraps too.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <string>

#include "dialog/ConsentDialog.h"
#include "include/MirelDialog.h"
#include "resources/resource.h"
#include "support/CodePage932.h"
#include "support/ScratchFile.h"
#include "support/win/DialogDriver.h"
#include "support/win/HtmlCtrlHost.h"

namespace {
// The import library's IID_IAccessible is a code thunk, not the GUID.
const IID kIidAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// Voilà ’—™€ Установить Εγκατάσταση 日本語
const std::wstring kTitle =
    L"Voil\u00E0 \u2019\u2014\u2122\u20AC \u0423\u0441\u0442\u0430\u043D\u043E\u0432\u0438\u0442\u044C "
    L"\u0395\u03B3\u03BA\u03B1\u03C4\u03AC\u03C3\u03C4\u03B1\u03C3\u03B7 \u65E5\u672C\u8A9E";
// Café Привет Γειά こんにちは, and the link リンク to an address with é.
const std::wstring kWords = L"Caf\u00E9 \u041F\u0440\u0438\u0432\u0435\u0442 \u0393\u03B5\u03B9\u03AC \u3053\u3093\u306B\u3061\u306F";
const std::wstring kLink = L"\u30EA\u30F3\u30AF";
const std::wstring kAddress = L"https://example.com/caf\u00E9";
const std::wstring kOffer = L"<TITLE>" + kTitle + L"</TITLE><LOCATION>Top-Left</LOCATION><WIDTH>420</WIDTH><MESSAGE>" +
                            kWords + L" <a href=\"" + kAddress + L"\">" + kLink + L"</a></MESSAGE><DISCLAIMER>" +
                            kLink + L"</DISCLAIMER>";
// A paragraph without blanks that ends in a link: 日本語の文章は単語の間に空白を置かないので、…詳しくはこちら。
const std::wstring kParagraph =
    L"\u65E5\u672C\u8A9E\u306E\u6587\u7AE0\u306F\u5358\u8A9E\u306E\u9593\u306B\u7A7A\u767D\u3092\u7F6E\u304B\u306A"
    L"\u3044\u306E\u3067\u3001\u884C\u306F\u6587\u5B57\u3068\u6587\u5B57\u306E\u9593\u3067\u6298\u308A\u8FD4\u3055"
    L"\u308C\u307E\u3059\u3002\u8A73\u3057\u304F\u306F";
const std::wstring kClosingLink = L"<a href=\"https://example.com/\">\u3053\u3061\u3089</a>";

std::string Encoded(const std::wstring& text, UINT codePage) {
    int size = WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, text.c_str(), -1, &bytes[0], size, nullptr, nullptr);
    bytes.resize(static_cast<size_t>(size - 1));
    return bytes;
}

std::wstring WindowText(HWND window) {
    wchar_t text[256] = L"";
    GetWindowTextW(window, text, 256);
    return text;
}

std::wstring Take(BSTR text) {
    std::wstring taken = text ? text : L"(null)";
    SysFreeString(text);
    return taken;
}

// What a screen reader hears for the message and for its link.
void ExpectAccessibleNames(HWND message) {
    IAccessible* object = nullptr;
    AccessibleObjectFromWindow(message, OBJID_CLIENT, kIidAccessible, reinterpret_cast<void**>(&object));
    ASSERT_NE(object, nullptr);
    VARIANT self = {};
    self.vt = VT_I4;
    VARIANT link = self;
    link.lVal = 1;
    BSTR text = nullptr;
    object->get_accName(self, &text);
    EXPECT_EQ(Take(text), kWords + L" " + kLink);
    object->get_accName(link, &text);
    EXPECT_EQ(Take(text), kLink);
    object->get_accValue(link, &text);
    EXPECT_EQ(Take(text), kAddress);
    object->Release();
}

class International : public testing::Test {
protected:
    International() : control(GetModuleHandleA(nullptr)) {}

    // Lays the paragraph and its closing link out 200 pixels wide: every
    // word, the link's too, lies inside, on more than one line.
    void ExpectWrapsInside(const std::string& html, TextEncoding encoding) {
        ASSERT_TRUE(control.Attach(host.AddPlaceholder(1, 0, 0, 200, 60)));
        control.SetMargins(0, 0, 0);
        control.SetHtml(html.c_str(), encoding);
        control.FitHeightToContent();
        int linked = 0;
        int lastLine = 0;
        for (int i = 0; i < control.elements.count; ++i) {
            const CHtmlElement* element = control.GetElement(i);
            if (element->kind != HEK_TEXT) continue;
            EXPECT_LE(control.ElementBox(element, 0).right, 200);
            linked += element->linkAnchor != nullptr;
            lastLine = element->y;
        }
        EXPECT_EQ(linked, 3);
        EXPECT_GT(lastLine, control.GetElement(0)->y);
    }

    CHaleSimpleHtmlCtrl control;
    HtmlCtrlHost host;
};
}  // namespace

// The same offer from each encoding, as a text and as a file.
TEST(InternationalOffer, TitleAndAccessibleNamesCarryTheSourceCharacters) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    std::string utf8 = Encoded(kOffer, CP_UTF8);
    std::string utf16 = "\xFF\xFE" + std::string(reinterpret_cast<const char*>(kOffer.c_str()), kOffer.size() * 2);
    const struct {
        const char* name;
        std::string bytes;
        bool asFile;
    } rows[] = {
        {"UTF-8 text", utf8, false},
        {"UTF-8 file with its mark", "\xEF\xBB\xBF" + utf8, true},
        {"UTF-16 file", utf16, true},
    };
    for (const auto& row : rows) {
        ScratchFile file(row.bytes);
        ConsentDialog dialog;
        dialog.SetParameters(row.asFile ? file.Path().c_str() : row.bytes.c_str());
        HWND window = dialog.CreateModeless(FALSE);
        ASSERT_NE(window, nullptr) << row.name;
        EXPECT_EQ(WindowText(window), kTitle) << row.name;
        ExpectAccessibleNames(dialog.messageCtrl.hwnd);
        DestroyWindow(window);
    }
    CoUninitialize();
}

// The file lies in a folder whose name, Łódź, no Western or Japanese code
// page holds.
TEST(InternationalOffer, WideEntryPointTakesATextOrAFileInAnyFolder) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"\u0141\u00F3d\u017A";
    std::wstring path = folder + L"\\offer.txt";
    CreateDirectoryW(folder.c_str(), nullptr);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::string bytes = Encoded(kOffer, CP_UTF8);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    for (const std::wstring& parameters : {kOffer, path}) {
        std::wstring title;
        DialogDriver driver([&title](HWND dialog) {
            title = WindowText(dialog);
            PostMessageA(GetDlgItem(dialog, IDC_YES), BM_CLICK, 0, 0);
        });
        EXPECT_EQ(RunMirelDialogW(parameters.c_str()), MIREL_RESULT_YES);
        driver.Finish();
        EXPECT_EQ(title, kTitle);
    }
    DeleteFileW(path.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(International, JapaneseParagraphWithAClosingLinkWrapsInsideTheControl) {
    ExpectWrapsInside(Encoded(kParagraph + kClosingLink + L"\u3002", CP_UTF8), TEXT_UTF8);
}

// Drawn with a font of the system's character set, the first character of
// Japanese code-page text has the pixels of the same character drawn in
// UTF-16 with ExtTextOutW; the Western character set gave another glyph.
TEST_F(International, JapaneseCodePageTextIsDrawnAsJapaneseAndWraps) {
    SKIP_UNLESS_CODE_PAGE_932();
    ExpectWrapsInside(Encoded(kParagraph + kClosingLink, CP_ACP), TEXT_CODE_PAGE);
    PaintNow(control.hwnd);
    ClientCapture capture(control.hwnd);
    const CHtmlElement* first = control.GetElement(0);
    RECT box = control.ElementBox(first, 0);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, box.right, box.bottom);
    HGDIOBJ previousBitmap = SelectObject(dc, bitmap);
    LOGFONTA logFont = BaseFont();
    logFont.lfCharSet = SHIFTJIS_CHARSET;
    HFONT font = CreateFontIndirectA(&logFont);
    HGDIOBJ previousFont = SelectObject(dc, font);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    ExtTextOutW(dc, box.left, box.bottom - first->cy, ETO_OPAQUE, &box, kParagraph.c_str(), 1, nullptr);
    int differing = 0;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) differing += GetPixel(dc, x, y) != capture.At(x, y);
    }
    EXPECT_GT(capture.CountOther(box, GetSysColor(COLOR_BTNFACE)), 10);
    EXPECT_EQ(differing, 0);
    SelectObject(dc, previousFont);
    DeleteObject(font);
    SelectObject(dc, previousBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}
