// Vertical scrolling of the HTML control. The scroll bar holds the position;
// painting and hit testing read it back, so a scroll step only sets the
// position and repaints the whole control.
#include <climits>

#include "html/CHaleSimpleHtmlCtrl.h"
#include "util/SaturatingMath.h"
#include "window/DpiScale.h"

namespace {
const int LINE_STEP = 10;

// Set while a step is applied, for every control of the module: a scroll
// request that arrives meanwhile (for example during the redraw) is dropped.
int scrollBusy = 0;

int PageOf(const SCROLLINFO& info) {
    return info.nPage > static_cast<UINT>(INT_MAX) ? INT_MAX : static_cast<int>(info.nPage);
}

int RequestedPosition(const SCROLLINFO& info, int code, int thumb, int lineStep) {
    switch (code) {
    case SB_LINEUP:
        return SatSub(info.nPos, lineStep);
    case SB_LINEDOWN:
        return SatAdd(info.nPos, lineStep);
    case SB_PAGEUP:
        return SatSub(info.nPos, PageOf(info));
    case SB_PAGEDOWN:
        return SatAdd(info.nPos, PageOf(info));
    default:
        return thumb;
    }
}
}  // namespace

void CHaleSimpleHtmlCtrl::OnVScroll(int code, int thumb) {
    if (scrollBusy) return;
    scrollBusy = 1;
    SCROLLINFO info;
    ResetScrollInfo(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(hwnd, SB_VERT, &info);
    // SB_TOP, SB_BOTTOM, SB_ENDSCROLL and unknown codes change nothing.
    if (static_cast<unsigned>(code) <= SB_THUMBTRACK) {
        const int lineStep = code <= SB_LINEDOWN ? DpiScale::ForWindow(hwnd).Y(LINE_STEP) : 0;
        int position = RequestedPosition(info, code, thumb, lineStep);
        int last = SatSub(info.nMax, PageOf(info));
        if (position >= last) position = last;
        if (position <= 0) position = 0;
        SCROLLINFO update;
        ResetScrollInfo(update);
        update.fMask = SIF_POS;
        update.nPos = position;
        SetScrollInfoAndRedraw(update);
    }
    scrollBusy = 0;
}

// One message scrolls at most one line; the part of the delta beyond whole
// notches is kept for the next message.
void CHaleSimpleHtmlCtrl::OnMouseWheel(int, int delta) {
    wheelDelta = SatAdd(wheelDelta, static_cast<short>(delta));
    if (wheelDelta < WHEEL_DELTA && wheelDelta > -WHEEL_DELTA) return;
    int steps = wheelDelta / WHEEL_DELTA;
    wheelDelta %= WHEEL_DELTA;
    OnVScroll(steps <= 0 ? SB_LINEDOWN : SB_LINEUP, 0);
}
