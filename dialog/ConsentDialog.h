// The consent dialog: template 202 with the message, the Yes and No buttons and
// the disclaimer, filled from the parameter text. Its table is the contract
// with hosts of GetDialogObject (include/MirelDialog.h); it follows the slot-0
// Destroy pattern described in window/WindowBase.h.
#pragma once
#include "dialog/ConsentButton.h"
#include "dialog/DialogLocation.h"
#include "dialog/HostDialog.h"
#include "html/CHaleSimpleHtmlCtrl.h"

class DpiScale;

// Result codes of a run.
enum ConsentResult {
    CONSENT_YES = 1,
    CONSENT_NO = 2,
    CONSENT_INCOMPLETE = 3,
    CONSENT_CLOSED = 8,
    CONSENT_FAILED = -1,
};

class ConsentDialog : public HostDialog {
public:
    ConsentDialog();
    ~ConsentDialog();

    ConsentDialog* Destroy(unsigned flags) override;
    // The exact close command ends with 8 unseen by the observer; the rest is
    // the host dispatch.
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    // The "Advertisement" caption in the bottom-right corner.
    void OnPaint(HDC dc, PAINTSTRUCT* paint) override;
    LONG OnCommand(UINT id, UINT code) override;
    LONG OnNotify(int id, NMHDR* header) override;
    // Hands the item to the button whose control id it carries.
    void OnDrawItem(int id, DRAWITEMSTRUCT* item) override;
    // Loads the source, reads the fields, arranges.
    void SetParameters(const char* text) override;
    // The same with the parameter text already loaded (RunMirelDialogW).
    void SetParameterText(const CMsString& text);

    // Reads the five fields from sourceText.
    void ReadFields();
    // Sizes and places the dialog for the fields; nothing while no window exists.
    void Arrange();
    // Layout helpers; rectangles are in this dialog's client coordinates.
    RECT ChildRect(HWND child) const;
    // New size only; a negative cx or cy keeps the current width or height.
    void SizeChild(HWND child, int cx, int cy);
    // New left edge only.
    void MoveChildX(int id, int x);
    // Puts the control `gap` pixels below the reference control, left edge kept.
    void PlaceBelow(int id, int referenceId, int gap);
    // value * percent / 100 truncated toward zero, clamped to the int range;
    // 0 for a percent below 1.
    static int PercentOf(int value, int percent);
    // Whether the fields allow a modal run to show.
    bool HasCompleteFields() const;

    CHaleSimpleHtmlCtrl messageCtrl;
    CHaleSimpleHtmlCtrl disclaimerCtrl;
    ConsentButton yesButton;
    ConsentButton noButton;
    CMsString title;
    CMsString message;
    CMsString disclaimer;
    LONG location;  // a DialogLocation value
    LONG width;
    LONG initialWindowWidth;
    LONG sideAllowance;

private:
    // Arrange's steps: the client width in device pixels; the text and width
    // of one HTML control and its height fitted to the text; the window sized
    // to the stack of controls; the window put at `location` within the work
    // area.
    int ClientWidth(const DpiScale& scale) const;
    void FillHtmlControl(CHaleSimpleHtmlCtrl& control, const char* html, int textWidth, TextEncoding encoding);
    void FitToStack(int clientWidth, int bottomGap);
    void PlaceOnWorkArea();
};
