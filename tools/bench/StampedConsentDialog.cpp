#include "tools/bench/StampedConsentDialog.h"

#include "tools/bench/DialogTiming.h"

INT_PTR StampedConsentDialog::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        stamps.start = MeasurementElapsedMs();
        INT_PTR result = ConsentDialog::DialogProc(message, wParam, lParam);
        stamps.done = MeasurementElapsedMs();
        return result;
    }
    if (message == WM_SETTEXT && stamps.start >= 0 && stamps.done < 0 && stamps.captionSet < 0)
        stamps.captionSet = MeasurementElapsedMs();
    return ConsentDialog::DialogProc(message, wParam, lParam);
}
