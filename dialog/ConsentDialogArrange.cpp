#include "dialog/ConsentDialog.h"

void ConsentDialog::Arrange() {
    if (!IsWindow(hwnd)) return;
    SetWindowTextA(hwnd, title);
}
