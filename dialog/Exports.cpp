// The library's two entry points. Nothing in the library throws, so a failure
// comes back as a result code or a null object.
#include <new>

#include "dialog/ConsentDialog.h"
#include "include/MirelDialog.h"

extern "C" int WINAPI RunMirelDialog(const char* parameters) {
    ConsentDialog dialog;
    dialog.ConsentDialog::SetParameters(parameters);
    return static_cast<int>(dialog.DoModal());
}

extern "C" MirelConsentDialog* WINAPI GetDialogObject() {
    ConsentDialog* dialog = new (std::nothrow) ConsentDialog();
    return reinterpret_cast<MirelConsentDialog*>(dialog);
}
