// The consent dialog's Yes and No buttons: raised owner-drawn buttons whose
// caption is split at its first tab into a bold 12-point head and an 8-point
// tail that share one baseline, in the words of the dialog's run (a script
// read from right to left puts the head on the right). Follows the slot-0 Destroy pattern described
// in window/WindowBase.h.
#pragma once
#include "dialog/ConsentLanguage.h"
#include "dialog/OwnerDrawButton.h"
#include "text/TextEncoding.h"

class ConsentButton : public OwnerDrawButton {
public:
    ConsentButton();
    ~ConsentButton();

    ConsentButton* Destroy(unsigned flags) override;
    void DrawContent(DeviceContext& dc, const DRAWITEMSTRUCT* item, const RECT& content) override;

    // Arial (or the face the words name), 12 points bold or 8 points normal,
    // scaled to the DC's vertical resolution, in the words' character set.
    // The caller deletes it.
    static HFONT CreateCaptionFont(DeviceContext& dc, bool bold, const ConsentWords& words = CONSENT_WORDS[0]);
    // The size of `text` in `font` as (0, 0, cx, cy); the font's descent goes
    // to `descent` when asked for. The DC's font is left as it was.
    static RECT MeasureText(DeviceContext& dc, HFONT font, const char* text, int* descent,
                            TextEncoding encoding = TEXT_CODE_PAGE);
};
