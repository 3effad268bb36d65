#include "dialog/ConsentDialog.h"

#include "dialog/ParameterSource.h"
#include "dialog/TagReader.h"
#include "resources/resource.h"
#include "util/ModuleInstance.h"
#include "window/WindowUtils.h"

namespace {
// The HTML control's notification that one of its links is about to open.
const UINT LINK_OPENING = 4;

// The control takes the placeholder's place; the dialog sets the margins and
// the scroll bar, whatever the document says.
void ReplacePlaceholder(HWND dialog, CHaleSimpleHtmlCtrl& control, int id) {
    control.Attach(GetDlgItem(dialog, id));
    control.SetMargins(0, 0, 0);
    control.SetScroll(FALSE);
}

int WindowWidth(HWND window) {
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(window, &rect);
    return rect.right - rect.left;
}
}  // namespace

ConsentDialog::ConsentDialog()
    : messageCtrl(GetModuleInstance()),
      disclaimerCtrl(GetModuleInstance()),
      location(DL_CENTER_CENTER), width(0), initialWindowWidth(0), sideAllowance(0) {
    templateId = IDD_CONSENT;
}

ConsentDialog::~ConsentDialog() = default;

ConsentDialog* ConsentDialog::Destroy(unsigned flags) {
    this->~ConsentDialog();
    if (flags & 1) ::operator delete(this);
    return this;
}

INT_PTR ConsentDialog::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOMMAND && wParam == SC_CLOSE) {
        EndWith(CONSENT_CLOSED);
        // Handled: the default handling would follow with WM_CLOSE, which a
        // modeless run takes as No.
        return TRUE;
    }
    return HostDialog::DialogProc(message, wParam, lParam);
}

BOOL ConsentDialog::OnInitDialog() {
    initialWindowWidth = WindowWidth(hwnd);
    sideAllowance = initialWindowWidth - WindowWidth(GetDlgItem(hwnd, IDC_MESSAGE));
    ReplacePlaceholder(hwnd, messageCtrl, IDC_MESSAGE);
    ReplacePlaceholder(hwnd, disclaimerCtrl, IDC_DISCLAIMER);
    yesButton.Attach(GetDlgItem(hwnd, IDC_YES));
    noButton.Attach(GetDlgItem(hwnd, IDC_NO));
    if (!IsModeless() && !HasCompleteFields()) {
        EndWith(CONSENT_INCOMPLETE);
        return TRUE;
    }
    DisableHostWindows();
    Arrange();
    SetTopmost(hwnd, TRUE);
    // The first tab stop may now be a link of the message: Yes takes the focus.
    SetFocus(GetDlgItem(hwnd, IDC_YES));
    return FALSE;
}

LONG ConsentDialog::OnCommand(UINT id, UINT code) {
    if (code != BN_CLICKED) return 0;
    if (id == IDC_YES) EndWith(CONSENT_YES);
    if (id == IDC_NO) EndWith(CONSENT_NO);
    return 0;
}

LONG ConsentDialog::OnNotify(int id, NMHDR* header) {
    if (!header || (id != IDC_MESSAGE && id != IDC_DISCLAIMER)) return 0;
    // Let the browser window come to the front.
    if (header->code == LINK_OPENING) SetTopmost(hwnd, FALSE);
    return 0;
}

void ConsentDialog::SetParameters(const char* text) { SetParameterText(LoadParameterSource(text)); }

void ConsentDialog::SetParameterText(const CMsString& text) {
    sourceText = text;
    ReadFields();
    Arrange();
}

void ConsentDialog::ReadFields() {
    TagReader reader(sourceText);
    title = reader.ReadField("TITLE");
    location = reader.ReadLocation();
    width = reader.ReadWidth(initialWindowWidth);
    message = reader.ReadField("MESSAGE");
    disclaimer = reader.ReadField("DISCLAIMER");
}

bool ConsentDialog::HasCompleteFields() const {
    return !title.IsEmpty() && !message.IsEmpty() && !disclaimer.IsEmpty() && width >= 1;
}
