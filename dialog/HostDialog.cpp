#include "dialog/HostDialog.h"

#include "dialog/ParameterSource.h"
#include "util/ModuleInstance.h"

HostDialog::HostDialog()
    : DialogBase(GetModuleInstance(), 0, nullptr, 0, 0, RGB(0, 0, 0), GetSysColor(COLOR_BTNFACE)),
      observer(nullptr),
      observerData(0) {}

HostDialog::~HostDialog() = default;

HostDialog* HostDialog::Destroy(unsigned flags) {
    this->~HostDialog();
    if (flags & 1) ::operator delete(this);
    return this;
}

INT_PTR HostDialog::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    INT_PTR handled = DialogBase::DialogProc(message, wParam, lParam);
    if (observer) observer(hwnd, message, wParam, lParam, observerData);
    return handled;
}

void HostDialog::SetParameters(const char* text) { sourceText = LoadParameterSource(text); }
