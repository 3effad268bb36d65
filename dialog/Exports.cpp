// The library's two entry points. Nothing may escape to the host: a failure
// comes back as a result code or a null object.
#include <new>

#include "dialog/ConsentDialog.h"
#include "include/MirelDialog.h"

extern "C" int WINAPI RunMirelDialog(const char* parameters) {
    try {
        ConsentDialog dialog;
        dialog.ConsentDialog::SetParameters(parameters);
        return static_cast<int>(dialog.DoModal());
    } catch (...) {
        return CONSENT_FAILED;
    }
}

extern "C" MirelConsentDialog* WINAPI GetDialogObject() {
    try {
        ConsentDialog* dialog = new (std::nothrow) ConsentDialog();
        return reinterpret_cast<MirelConsentDialog*>(dialog);
    } catch (...) {
        return nullptr;
    }
}
