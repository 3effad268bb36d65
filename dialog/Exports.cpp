// The library's entry points. Nothing in the library throws, so a failure
// comes back as a result code or a null object.
#include <new>

#include "dialog/ConsentDialog.h"
#include "dialog/ParameterSource.h"
#include "include/MirelDialog.h"

namespace {
int RunWithParameterText(const CMsString& text) {
    ConsentDialog dialog;
    dialog.SetParameterText(text);
    return static_cast<int>(dialog.DoModal());
}
}  // namespace

extern "C" int WINAPI RunMirelDialog(const char* parameters) {
    return RunWithParameterText(LoadParameterSource(parameters));
}

extern "C" int WINAPI RunMirelDialogW(const wchar_t* parameters) {
    return RunWithParameterText(LoadWideParameterSource(parameters));
}

extern "C" MirelConsentDialog* WINAPI GetDialogObject() {
    ConsentDialog* dialog = new (std::nothrow) ConsentDialog();
    return reinterpret_cast<MirelConsentDialog*>(dialog);
}
