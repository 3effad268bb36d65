// Mouse handling of the HTML control. Links are not active yet: the control
// shows the arrow everywhere and ignores clicks.
#include "html/CHaleSimpleHtmlCtrl.h"

LRESULT CHaleSimpleHtmlCtrl::OnSetCursor() {
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    return 0;
}

void CHaleSimpleHtmlCtrl::OnLButtonDown() {}

void CHaleSimpleHtmlCtrl::OnRButtonDown() {}
