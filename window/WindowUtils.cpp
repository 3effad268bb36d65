#include "window/WindowUtils.h"

#include "util/CMsString.h"

void ScreenRectToClient(HWND window, RECT* rect) {
    if (!window || !rect) return;
    POINT topLeft = {rect->left, rect->top};
    ScreenToClient(window, &topLeft);
    OffsetRect(rect, topLeft.x - rect->left, topLeft.y - rect->top);
}

void SetTopmost(HWND window, BOOL on) {
    SetWindowPos(window, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

int ReadWindowText(HWND window, CMsString& text) {
    text.Empty();
    if (!IsWindow(window)) return 0;
    int room = GetWindowTextLengthA(window) + 10;
    char* buffer = text.GetBuffer(room);
    if (!buffer) return text.GetLength();
    buffer[0] = '\0';
    GetWindowTextA(window, buffer, room);
    text.ReleaseBuffer();
    return text.GetLength();
}
