#include <climits>
#include <memory>
#include <new>

#include "util/CMsString.h"

int CMsString::SetFromWindowText(HWND window) {
    Empty();
    if (!IsWindow(window)) return 0;
    int length = GetWindowTextLengthA(window);
    if (length < 0 || length > INT_MAX - 10) return 0;
    // Room beyond the reported length: the text may grow between the two calls.
    int size = length + 10;
    std::unique_ptr<char[]> text(new (std::nothrow) char[static_cast<size_t>(size)]);
    if (!text) return 0;
    text[0] = 0;
    GetWindowTextA(window, text.get(), size);
    *this = text.get();
    return GetLength();
}
