#include "text/WideText.h"

#include <new>

namespace {
// Units written to out, or, when out is null or too small, the units needed
// (MultiByteToWideChar answers 0 for a buffer too small).
int UnitsOf(const char* text, int bytes, TextEncoding encoding, WCHAR* out, int room) {
    if (bytes <= 0) return 0;
    if (encoding == TEXT_UTF8) return Utf8ToUtf16(text, bytes, out, room);
    return MultiByteToWideChar(CP_ACP, 0, text, bytes, out, out ? room : 0);
}
}  // namespace

// A word fits the object's own room at the first conversion; only a longer
// text is counted and converted again.
WideText::WideText(const char* text, int bytes, TextEncoding encoding) : units(local), count(0) {
    count = UnitsOf(text, bytes, encoding, local, LOCAL_UNITS - 1);
    if ((count == 0 && bytes > 0) || count > LOCAL_UNITS - 1) {
        int needed = UnitsOf(text, bytes, encoding, nullptr, 0);
        units = new (std::nothrow) WCHAR[static_cast<size_t>(needed) + 1];
        count = units ? UnitsOf(text, bytes, encoding, units, needed) : 0;
        if (!units) units = local;
    }
    units[count] = 0;
}

WideText::~WideText() {
    if (units != local) delete[] units;
}
