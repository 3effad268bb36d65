// The consent dialog of the linked library objects, which notes when
// WM_INITDIALOG arrives, when its caption is set (the first step of the
// arrangement, after the controls are made) and when WM_INITDIALOG has been
// handled. Only its own dialog procedure is involved: no hook.
#pragma once
#include "dialog/ConsentDialog.h"

// Milliseconds of the current measurement (MeasurementElapsedMs); -1 when not seen.
struct InitStamps {
    double start = -1;
    double captionSet = -1;
    double done = -1;
};

class StampedConsentDialog : public ConsentDialog {
public:
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    InitStamps stamps;
};
