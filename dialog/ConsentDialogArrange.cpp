// The dialog's layout: the message on top at the template's place, the Yes and
// No buttons below it, the disclaimer below them, the client height fitted to
// that stack, and the window put at one of nine places of the work area.
#include "dialog/ConsentDialog.h"
#include "dialog/RunLanguage.h"
#include "dialog/TagReader.h"
#include "resources/resource.h"
#include "text/ParameterText.h"
#include "util/SaturatingMath.h"
#include "window/DpiScale.h"
#include "window/WideWindowText.h"

namespace {

const int YES_WIDTH_PERCENT = 39;
const int NO_WIDTH_PERCENT = 29;
const int YES_LEFT_PERCENT = 9;
const int NO_LEFT_PERCENT = 57;
const int BUTTON_HEIGHT = 42;
const int STACK_GAP = 10;
const int BOTTOM_GAP = 15;
// The client width handed to the frame computation stays far enough from the
// int limit that adding the frame cannot overflow.
const int MAX_CLIENT_EXTENT = INT_MAX / 2;

const UINT KEEP_ORDER = SWP_NOZORDER | SWP_NOACTIVATE;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }
int ClientExtent(int value) { return value > MAX_CLIENT_EXTENT ? MAX_CLIENT_EXTENT : value; }

RECT WorkArea() {
    RECT area = {0, 0, 0, 0};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) GetWindowRect(GetDesktopWindow(), &area);
    return area;
}

// Offsets from the screen's origin for a location, given the room left
// over on each axis (negative when the dialog is larger).
POINT LocationOffset(LONG location, int xs, int ys) {
    POINT p = {0, 0};
    if (location < DL_TOP_LEFT || location > DL_BOTTOM_RIGHT) return p;
    const int column = location % 3;
    const int row = location / 3;
    p.x = column == 0 ? 0 : (column == 1 ? xs / 2 : xs);
    p.y = row == 0 ? 0 : (row == 1 ? ys / 2 : ys);
    return p;
}

}  // namespace

RECT ConsentDialog::ChildRect(HWND child) const {
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(child, &rect);
    ScreenRectToClient(&rect);
    return rect;
}

void ConsentDialog::SizeChild(HWND child, int cx, int cy) {
    const RECT current = ChildRect(child);
    if (cx < 0) cx = Width(current);
    if (cy < 0) cy = Height(current);
    SetWindowPos(child, nullptr, 0, 0, cx, cy, SWP_NOMOVE | KEEP_ORDER);
}

void ConsentDialog::MoveChildX(int id, int x) {
    HWND child = GetDlgItem(hwnd, id);
    SetWindowPos(child, nullptr, x, ChildRect(child).top, 0, 0, SWP_NOSIZE | KEEP_ORDER);
}

// WIDTH counts 96-DPI pixels; without it the width is the window's own,
// already in device pixels.
int ConsentDialog::ClientWidth(const DpiScale& scale) const {
    if (TagReader(sourceText).ReadWidth(0) < 1) return width;
    return scale.X(width);
}

void ConsentDialog::PlaceBelow(int id, int referenceId, int gap) {
    HWND child = GetDlgItem(hwnd, id);
    const int top = SatAdd(ChildRect(GetDlgItem(hwnd, referenceId)).bottom, gap);
    const RECT current = ChildRect(child);
    if (current.top == top) return;
    SetWindowPos(child, nullptr, current.left, top, 0, 0, SWP_NOSIZE | KEEP_ORDER);
}

// Computed in 64 bits: a hostile WIDTH times a percentage would overflow 32.
int ConsentDialog::PercentOf(int value, int percent) {
    if (percent < 1) return 0;
    return ClampToInt(static_cast<long long>(value) * percent / 100);
}

void ConsentDialog::Arrange() {
    if (!IsWindow(hwnd)) return;
    const TextEncoding encoding = ParameterTextEncoding(sourceText);
    SetWindowTextIn(hwnd, title, encoding);
    ApplyRunLanguage(hwnd, *ConsentWordsFor(ReadLanguageField(sourceText)));

    const DpiScale scale = DpiScale::ForWindow(hwnd);
    const int clientWidth = ClientWidth(scale);
    // The side allowance was measured on the window: device pixels already.
    const int textWidth = SatSub(clientWidth, sideAllowance);
    FillHtmlControl(messageCtrl, message, textWidth, encoding);
    FillHtmlControl(disclaimerCtrl, disclaimer, textWidth, encoding);

    const int buttonHeight = scale.Y(BUTTON_HEIGHT);
    const int stackGap = scale.Y(STACK_GAP);
    SizeChild(yesButton.hwnd, PercentOf(clientWidth, YES_WIDTH_PERCENT), buttonHeight);
    SizeChild(noButton.hwnd, PercentOf(clientWidth, NO_WIDTH_PERCENT), buttonHeight);
    MoveChildX(IDC_YES, PercentOf(clientWidth, YES_LEFT_PERCENT));
    MoveChildX(IDC_NO, PercentOf(clientWidth, NO_LEFT_PERCENT));
    PlaceBelow(IDC_YES, IDC_MESSAGE, stackGap);
    PlaceBelow(IDC_NO, IDC_MESSAGE, stackGap);
    PlaceBelow(IDC_DISCLAIMER, IDC_YES, stackGap);

    FitToStack(clientWidth, scale.Y(BOTTOM_GAP));
    PlaceOnWorkArea();
    InvalidateRect(hwnd, nullptr, TRUE);
}

void ConsentDialog::FillHtmlControl(CHaleSimpleHtmlCtrl& control, const char* html, int textWidth,
                                    TextEncoding encoding) {
    control.SetHtml(html, encoding);
    SizeChild(control.hwnd, textWidth, -1);
    control.FitHeightToContent();
}

void ConsentDialog::FitToStack(int clientWidth, int bottomGap) {
    const int bottom = SatAdd(ChildRect(GetDlgItem(hwnd, IDC_DISCLAIMER)).bottom, bottomGap);
    RECT frame = {0, 0, ClientExtent(clientWidth), ClientExtent(bottom)};
    ClientToWindowRect(&frame, TRUE);
    SetWindowPos(hwnd, nullptr, 0, 0, Width(frame), Height(frame), SWP_NOMOVE | KEEP_ORDER);
}

// The offsets count from the screen's origin; only the clamp uses the work
// area's right and bottom edges.
void ConsentDialog::PlaceOnWorkArea() {
    RECT window = {0, 0, 0, 0};
    GetWindowRect(hwnd, &window);
    const int w = Width(window);
    const int h = Height(window);
    const RECT area = WorkArea();
    POINT p = LocationOffset(location, SatSub(Width(area), w), SatSub(Height(area), h));
    p.x = p.x < SatSub(area.right, w) ? p.x : SatSub(area.right, w);
    p.y = p.y < SatSub(area.bottom, h) ? p.y : SatSub(area.bottom, h);
    if (p.x < 0) p.x = 0;
    if (p.y < 0) p.y = 0;
    SetWindowPos(hwnd, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | KEEP_ORDER);
}
