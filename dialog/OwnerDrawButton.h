// An owner-drawn dialog button taken over by subclassing. It tracks whether the
// mouse is over it (polling with a timer once the mouse has entered) and draws
// the face, frame and focus rectangle in one of two styles; the derived class
// draws what goes inside. Follows the slot-0 Destroy pattern described in
// window/WindowBase.h.
#pragma once
#include "window/WindowBase.h"

class DeviceContext;

// Values of OwnerDrawButton::frameStyle.
enum ButtonFrameStyle : DWORD {
    BFS_RAISED = 0,
    BFS_FLAT = 1,
};

// Indexes of OwnerDrawButton::GetColor.
enum ButtonColorIndex {
    BCI_FACE = 0,
    BCI_HIGHLIGHT = 1,
    BCI_SHADOW = 2,
    BCI_TEXT = 3,
};

// The timer that polls the cursor while the mouse is over the button.
const UINT_PTR HOVER_TIMER_ID = 100;
const UINT HOVER_TIMER_PERIOD = 100;

class OwnerDrawButton : public WindowBase {
public:
    explicit OwnerDrawButton(DWORD frameStyle);

    OwnerDrawButton* Destroy(unsigned flags) override;
    // Records the button's control id, then subclasses it.
    BOOL Attach(HWND window) override;
    // Hover tracking; every message then goes on to the button's own procedure.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // System colours by ButtonColorIndex; 0 for any other index.
    virtual COLORREF GetColor(int index);
    // Draws inside `content`, with the face colour as background colour and
    // the button text colour set.
    virtual void DrawContent(DeviceContext& dc, const DRAWITEMSTRUCT* item, const RECT& content) = 0;

    // 1 when the item is this button's and its style is known, else 0.
    int DrawItem(const DRAWITEMSTRUCT* item);
    // Starts or stops the hover timer and repaints; nothing when unchanged.
    void SetHover(bool on);

    // Aligned like a pointer so that, as with MSVC and the C host header, it
    // starts after WindowBase's tail padding on 64-bit builds instead of in it.
    alignas(LONG_PTR) DWORD controlId;
    DWORD frameStyle;
    DWORD hovering;

protected:
    ~OwnerDrawButton();

private:
    int DrawRaised(DeviceContext& dc, const DRAWITEMSTRUCT* item);
    int DrawFlat(DeviceContext& dc, const DRAWITEMSTRUCT* item);
    // The colour setting and content call that end both frame styles.
    void DrawContentInFaceColors(DeviceContext& dc, const DRAWITEMSTRUCT* item, const RECT& content);
    void CheckCursorStillOver();
};
