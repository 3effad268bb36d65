// The dialog a host drives: holds the parameter text and lets the host watch
// every dispatched message through an observer. Follows the slot-0 Destroy
// pattern described in window/WindowBase.h.
#pragma once
#include "include/MirelDialog.h"
#include "util/CMsString.h"
#include "window/DialogBase.h"

class HostDialog : public DialogBase {
public:
    HostDialog();

    HostDialog* Destroy(unsigned flags) override;
    // The base dispatcher, then the observer.
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Loads sourceText: an existing file's contents, else the string itself.
    virtual void SetParameters(const char* text);

    CMsString sourceText;
    MessageObserver observer;  // set only by the host
    DWORD observerData;        // set only by the host

protected:
    ~HostDialog();
};
