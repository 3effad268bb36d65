#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dialog/ConsentDialog.h"
#include "support/win/ImportHook.h"
#include "resources/resource.h"
#include "support/win/GdiObjectCounter.h"
#include "support/win/MemoryCanvas.h"
#include "window/DcScopes.h"

namespace {

const char kParameters[] =
    "<TITLE>Paint</TITLE><LOCATION>Top-Left</LOCATION><WIDTH>400</WIDTH>"
    "<MESSAGE>Message text.</MESSAGE><DISCLAIMER>Small print.</DISCLAIMER>";
const char kAdvertisement[] = "Advertisement";
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kPaper = RGB(12, 200, 120);

class LiveDialog {
public:
    explicit LiveDialog(const char* parameters = kParameters) {
        dialog.SetParameters(parameters);
        window = dialog.CreateModeless(TRUE);
        ShowWindow(window, SW_SHOWNOACTIVATE);
        UpdateWindow(window);
    }
    ~LiveDialog() {
        if (IsWindow(window)) DestroyWindow(window);
    }
    RECT Client() const {
        RECT r = {};
        GetClientRect(window, &r);
        return r;
    }

    ConsentDialog dialog;
    HWND window = nullptr;
};

SIZE AdvertisementSize(HDC dc) {
    HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE size = {};
    GetTextExtentPoint32A(dc, kAdvertisement, static_cast<int>(strlen(kAdvertisement)), &size);
    SelectObject(dc, previous);
    return size;
}

// Where the caption's opaque box must be: 5 pixels from the right and 3 from
// the bottom of the client area.
RECT ExpectedBox(HDC dc, const RECT& client) {
    const SIZE size = AdvertisementSize(dc);
    return {client.right - 5 - size.cx, client.bottom - 3 - size.cy, client.right - 5,
            client.bottom - 3};
}

int CountColor(const MemoryCanvas& canvas, const RECT& area, COLORREF color) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (canvas.Pixel(x, y) == color) ++count;
    return count;
}

TEST(ConsentDialogPaint, AdvertisementBoxSitsInTheBottomRightCorner) {
    LiveDialog live;
    const RECT client = live.Client();
    MemoryCanvas canvas(client.right, client.bottom, kWhite);
    live.dialog.OnPaint(canvas.Dc(), nullptr);

    const RECT expected = ExpectedBox(canvas.Dc(), client);
    const RECT painted = canvas.InkBounds(client, kWhite);
    EXPECT_EQ(expected.left, painted.left);
    EXPECT_EQ(expected.top, painted.top);
    EXPECT_EQ(expected.right, painted.right);
    EXPECT_EQ(expected.bottom, painted.bottom);
    EXPECT_GT(CountColor(canvas, expected, GetSysColor(COLOR_BTNFACE)), 0) << "button-face background";
    EXPECT_GT(CountColor(canvas, expected, GetSysColor(COLOR_BTNTEXT)), 0) << "button-text letters";
}

TEST(ConsentDialogPaint, PaintingRestoresTheDcFontAndColours) {
    LiveDialog live;
    const RECT client = live.Client();
    MemoryCanvas canvas(client.right, client.bottom, kWhite);
    SetBkColor(canvas.Dc(), RGB(1, 2, 3));
    SetTextColor(canvas.Dc(), RGB(4, 5, 6));
    HGDIOBJ font = GetCurrentObject(canvas.Dc(), OBJ_FONT);
    live.dialog.OnPaint(canvas.Dc(), nullptr);
    EXPECT_EQ(RGB(1, 2, 3), GetBkColor(canvas.Dc()));
    EXPECT_EQ(RGB(4, 5, 6), GetTextColor(canvas.Dc()));
    EXPECT_EQ(font, GetCurrentObject(canvas.Dc(), OBJ_FONT));
}

// The real paint message, read back from the window: the caption follows the
// client area after the arrangement changed the dialog's height.
TEST(ConsentDialogPaint, PaintMessageDrawsTheCaptionOnTheWindow) {
    LiveDialog live;
    const RECT client = live.Client();
    RedrawWindow(live.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    MemoryCanvas canvas(client.right, client.bottom, kWhite);
    HDC windowDc = GetDC(live.window);
    BitBlt(canvas.Dc(), 0, 0, client.right, client.bottom, windowDc, 0, 0, SRCCOPY);
    ReleaseDC(live.window, windowDc);

    const RECT expected = ExpectedBox(canvas.Dc(), client);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const RECT corner = {expected.left - 20, expected.top - 4, client.right, client.bottom};
    const RECT letters = canvas.InkBounds(corner, face);
    EXPECT_GE(letters.left, expected.left);
    EXPECT_LE(letters.right, expected.right);
    EXPECT_GE(letters.top, expected.top);
    EXPECT_LE(letters.bottom, expected.bottom);
    EXPECT_GT(letters.right - letters.left, (expected.right - expected.left) / 2);
}

TEST(ConsentDialogPaint, ButtonsAreBoundAtInitialisation) {
    LiveDialog live;
    EXPECT_EQ(static_cast<DWORD>(IDC_YES), live.dialog.yesButton.controlId);
    EXPECT_EQ(static_cast<DWORD>(IDC_NO), live.dialog.noButton.controlId);
    EXPECT_EQ(GetDlgItem(live.window, IDC_YES), live.dialog.yesButton.hwnd);
    EXPECT_EQ(GetDlgItem(live.window, IDC_NO), live.dialog.noButton.hwnd);
    EXPECT_EQ(static_cast<DWORD>(BFS_RAISED), live.dialog.yesButton.frameStyle);
}

DRAWITEMSTRUCT Item(HDC dc, HWND button, UINT id) {
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = id;
    item.hwndItem = button;
    item.hDC = dc;
    item.rcItem = {0, 0, 300, 40};
    return item;
}

// Through the dialog's dispatcher, which answers every WM_DRAWITEM with 1. A
// message whose item is missing or names another control than the message
// draws nothing; a fault that read the missing item ends the test program.
TEST(ConsentDialogPaint, DrawItemGoesToTheButtonWithThatIdOnly) {
    LiveDialog live;
    const struct {
        UINT id;      // of the message
        UINT itemId;  // of the item; 0: no item at all
        bool drawn;
    } cases[] = {{IDC_YES, IDC_YES, true},         {IDC_NO, IDC_NO, true},
                 {IDC_MESSAGE, IDC_MESSAGE, false}, {IDC_YES, IDC_NO, false},
                 {IDC_YES, 0, false},               {IDC_NO, 0, false}};
    for (const auto& c : cases) {
        MemoryCanvas canvas(300, 40, kPaper);
        DRAWITEMSTRUCT item = Item(canvas.Dc(), GetDlgItem(live.window, c.itemId), c.itemId);
        LPARAM lParam = c.itemId ? reinterpret_cast<LPARAM>(&item) : 0;
        EXPECT_EQ(1, live.dialog.DialogProc(WM_DRAWITEM, c.id, lParam)) << c.id << "/" << c.itemId;
        EXPECT_EQ(c.drawn ? 0 : 300 * 40, CountColor(canvas, {0, 0, 300, 40}, kPaper)) << c.id << "/" << c.itemId;
        if (c.drawn) {
            EXPECT_EQ(kBlack, canvas.Pixel(299, 20)) << c.id;
        }
    }
}

TEST(ConsentDialogPaint, RepeatedPaintingLeavesNoGdiObjectBehind) {
    LiveDialog live;
    const RECT client = live.Client();
    MemoryCanvas canvas(client.right, client.bottom, kWhite);
    GdiObjectCounter counter;
    ASSERT_TRUE(counter.Installed());
    for (int i = 0; i < 100; ++i) {
        live.dialog.OnPaint(canvas.Dc(), nullptr);
        DRAWITEMSTRUCT item = Item(canvas.Dc(), GetDlgItem(live.window, IDC_NO), IDC_NO);
        live.dialog.OnDrawItem(IDC_NO, &item);
    }
    EXPECT_EQ(200, counter.FontsCreated());
    EXPECT_EQ(0, counter.Live());
}

// The texts drawn through ExtTextOutA and ExtTextOutW while the recorder
// lives; fills, which draw no text, are left out.
class DrawnTexts {
public:
    DrawnTexts() : ansi("gdi32.dll", "ExtTextOutA", reinterpret_cast<void*>(RecordA)),
                   wide("gdi32.dll", "ExtTextOutW", reinterpret_cast<void*>(RecordW)) {
        active = this;
    }
    ~DrawnTexts() { active = nullptr; }

    std::vector<std::wstring> texts;

private:
    static BOOL WINAPI RecordA(HDC dc, int x, int y, UINT options, const RECT* r, LPCSTR text, UINT count, const INT* dx) {
        std::wstring wide(count, L'\0');
        if (count) MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(count), &wide[0], static_cast<int>(count));
        if (count) active->texts.push_back(wide);
        return active->ansi.Original<decltype(&ExtTextOutA)>()(dc, x, y, options, r, text, count, dx);
    }
    static BOOL WINAPI RecordW(HDC dc, int x, int y, UINT options, const RECT* r, LPCWSTR text, UINT count, const INT* dx) {
        if (count) active->texts.push_back(std::wstring(text, count));
        return active->wide.Original<decltype(&ExtTextOutW)>()(dc, x, y, options, r, text, count, dx);
    }
    static DrawnTexts* active;
    ImportHook ansi;
    ImportHook wide;
};
DrawnTexts* DrawnTexts::active;

std::wstring WindowTextW(HWND window) {
    wchar_t text[128] = L"";
    GetWindowTextW(window, text, 128);
    return text;
}

// The installer's language picks the words of the buttons, as a Unicode
// client reads them and as they are drawn, and of the corner caption; the
// offer's message cannot, and each new set of parameters brings its own.
TEST(ConsentDialogLanguage, TheInstallersLanguageGivesTheButtonsAndCornerTheirWords) {
    const std::string message = "<TITLE>t</TITLE><WIDTH>440</WIDTH><DISCLAIMER>d</DISCLAIMER>";
    const std::wstring english[] = {L"Yes", L"(Accept and Install)", L"No\t(Cancel)", L"Advertisement"};
    const struct {
        const char* fields;
        std::wstring yesHead, yesTail, no, corner;
    } rows[] = {
        {"<LANGUAGE>de</LANGUAGE><MESSAGE>m</MESSAGE>", L"Ja", L"(Annehmen, installieren)", L"Nein\t(Abbrechen)", L"Werbung"},
        {"<LANGUAGE>FR-ca</LANGUAGE><MESSAGE>m</MESSAGE>", L"Oui", L"(Accepter et installer)", L"Non\t(Annuler)", L"Publicité"},
        {"<LANGUAGE>1041</LANGUAGE><MESSAGE>m</MESSAGE>", L"はい", L"(同意して導入)", L"いいえ\t(取消)", L"広告"},
        {"<LANGUAGE>0x0419</LANGUAGE><MESSAGE>m</MESSAGE>", L"Да", L"(Принять, установить)", L"Нет\t(Отмена)", L"Реклама"},
        {"<LANGUAGE>BrazilianPortuguese</LANGUAGE><MESSAGE>m</MESSAGE>", L"Sim", L"(Aceitar e instalar)", L"Não\t(Cancelar)", L"Publicidade"},
        {"<LANGUAGE>tlh</LANGUAGE><MESSAGE>m</MESSAGE>", english[0], english[1], english[2], english[3]},
        {"<LANGUAGE>ja</LANGUAGE><MESSAGE>m</MESSAGE>", L"はい", L"(同意して導入)", L"いいえ\t(取消)", L"広告"},
        {"<MESSAGE>m</MESSAGE>", english[0], english[1], english[2], english[3]},
        {"<MESSAGE>m <LANGUAGE>de</LANGUAGE></MESSAGE>", english[0], english[1], english[2], english[3]},
    };
    LiveDialog live((message + rows[0].fields).c_str());
    for (const auto& row : rows) {
        live.dialog.SetParameters((message + row.fields).c_str());
        MemoryCanvas canvas(300, 40, kWhite);
        DRAWITEMSTRUCT item = Item(canvas.Dc(), live.dialog.yesButton.hwnd, IDC_YES);
        DrawnTexts drawn;
        live.dialog.OnDrawItem(IDC_YES, &item);
        live.dialog.OnPaint(canvas.Dc(), nullptr);
        EXPECT_EQ(WindowTextW(live.dialog.yesButton.hwnd), row.yesHead + L"\t" + row.yesTail) << row.fields;
        EXPECT_EQ(WindowTextW(live.dialog.noButton.hwnd), row.no) << row.fields;
        const std::vector<std::wstring> expected = {row.yesHead, row.yesTail, row.corner};
        EXPECT_EQ(drawn.texts, expected) << row.fields;
    }
}

// Head, blank and tail in the caption fonts take at most nine tenths of the
// content of their button (focused, so one pixel less on each side) at
// WIDTH 440 and 96 DPI, in every language of the table.
TEST(ConsentDialogLanguage, EveryCaptionFitsItsButtonAtWidth440) {
    LiveDialog live("<TITLE>t</TITLE><WIDTH>440</WIDTH><MESSAGE>m</MESSAGE><DISCLAIMER>d</DISCLAIMER>");
    for (int row = 0; row < CONSENT_WORDS_COUNT; ++row) {
        const ConsentWords& words = CONSENT_WORDS[row];
        for (const ConsentButton* button : {&live.dialog.yesButton, &live.dialog.noButton}) {
            const std::string caption = button == &live.dialog.yesButton ? words.yesCaption : words.noCaption;
            const size_t tab = caption.find('\t');
            RECT client = {};
            GetClientRect(button->hwnd, &client);
            ClientDcScope dc(nullptr);
            HFONT bold = ConsentButton::CreateCaptionFont(dc, true, words);
            HFONT normal = ConsentButton::CreateCaptionFont(dc, false, words);
            const int width =
                ConsentButton::MeasureText(dc, bold, caption.substr(0, tab).c_str(), nullptr, TEXT_UTF8).right +
                ConsentButton::MeasureText(dc, bold, " ", nullptr).right +
                ConsentButton::MeasureText(dc, normal, caption.substr(tab + 1).c_str(), nullptr, TEXT_UTF8).right;
            DeleteObject(bold);
            DeleteObject(normal);
            EXPECT_LE(width * 10, (client.right - 11) * 9) << caption;
            EXPECT_GT(width, 20) << caption;
        }
    }
}

}  // namespace
