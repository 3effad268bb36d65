#include "util/FormatLength.h"

#include <cstdint>

namespace {

const long long kNumberCap = 1 << 20;

// The conversion being read: flags, width, precision and size prefix.
struct Conversion {
    long long width = 0;
    long long precision = 0;
    bool hasPrecision = false;
    bool isInt64 = false;
    char size = 0;  // 'h' narrow, 'l' wide, 0 none
    long long prefix = 0;
};

#ifdef _WIN32
typedef WCHAR WideChar;
#else
typedef wchar_t WideChar;
#endif

bool IsDigit(const char* p) {
    WORD type = 0;
    if (!GetStringTypeExA(GetThreadLocale(), CT_CTYPE1, p, 1, &type)) return false;
    return (type & C1_DIGIT) != 0;
}

// Reads a decimal number (saturating, so long digit runs cannot overflow) and
// steps over its digits.
long long ReadNumber(const char*& p) {
    long long value = 0;
    bool counting = true;
    while (*p && IsDigit(p)) {
        if (*p < '0' || *p > '9') counting = false;
        if (counting && value < kNumberCap) value = value * 10 + (*p - '0');
        p = CharNextA(p);
    }
    return value < kNumberCap ? value : kNumberCap;
}

long long StarValue(int value) {
    long long magnitude = value < 0 ? -static_cast<long long>(value) : value;
    return magnitude < kNumberCap ? magnitude : kNumberCap;
}

long long WideLength(const WideChar* text) {
    long long length = 0;
    while (text[length] && length < kNumberCap) ++length;
    return length;
}

void ReadFlagsAndWidth(const char*& p, Conversion& conversion, va_list& args) {
    bool starWidth = false;
    for (;; p = CharNextA(p)) {
        if (*p == '#') {
            conversion.prefix += 2;
        } else if (*p == '*') {
            // A negative width pads on the other side; its size still counts.
            conversion.width = StarValue(va_arg(args, int));
            starWidth = true;
        } else if (*p != '-' && *p != '+' && *p != '0' && *p != ' ') {
            break;
        }
    }
    if (!starWidth) conversion.width = ReadNumber(p);
}

void ReadPrecision(const char*& p, Conversion& conversion, va_list& args) {
    if (*p != '.') return;
    p = CharNextA(p);
    conversion.hasPrecision = true;
    if (*p != '*') {
        conversion.precision = ReadNumber(p);
        return;
    }
    p = CharNextA(p);
    int value = va_arg(args, int);
    // A negative precision is no precision: nothing is cut.
    conversion.hasPrecision = value >= 0;
    conversion.precision = value >= 0 ? StarValue(value) : 0;
}

void ReadSizePrefix(const char*& p, Conversion& conversion) {
    for (;;) {
        if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
            conversion.isInt64 = true;
            p += 3;
        } else if (*p == 'h' || *p == 'l') {
            conversion.size = *p++;
        } else if (*p == 'F' || *p == 'L' || *p == 'N') {
            ++p;
        } else {
            return;
        }
    }
}

// Text is cut to the precision first, then padded to the width.
long long FitToField(long long length, const Conversion& conversion, bool cut) {
    if (cut && conversion.hasPrecision && length > conversion.precision) length = conversion.precision;
    return length > conversion.width ? length : conversion.width;
}

long long StringLength(char type, const Conversion& conversion, va_list& args) {
    bool wide = type == 'S' ? conversion.size != 'h' : conversion.size == 'l';
    long long length;
    if (wide) {
        const WideChar* text = va_arg(args, const WideChar*);
        if (!text) return FitToField(6, conversion, false);
        // A wide character may become two bytes of a double-byte code page.
        length = 2 * WideLength(text);
    } else {
        const char* text = va_arg(args, const char*);
        if (!text) return FitToField(6, conversion, false);
        length = lstrlenA(text);
    }
    return FitToField(length > 0 ? length : 1, conversion, true);
}

long long NumberLength(const Conversion& conversion) {
    // The extra byte is the sign in front of a precision-long run of digits.
    long long length = conversion.width + conversion.precision + 1;
    return length > 32 ? length : 32;
}

void ReportFloatingPoint() {
    OutputDebugStringA(
        "Floating point (%%e, %%f, %%g, and %%G) is not supported by the WTL::CMsString class.");
    // Breaking with no debugger attached would end the host process.
    if (IsDebuggerPresent()) DebugBreak();
}

// Length of one conversion. p starts after its '%' and ends after the
// conversion character; end is the format's terminator. -1 when the
// arguments can no longer be followed.
long long ConversionLength(const char*& p, const char* end, va_list& args) {
    const char* percent = p - 1;
    Conversion conversion;
    ReadFlagsAndWidth(p, conversion, args);
    ReadPrecision(p, conversion, args);
    ReadSizePrefix(p, conversion);
    // An unsupported conversion may copy the rest of the format as text.
    const long long copied = conversion.prefix + (end - percent);
    const char type = *p;
    if (type) p = CharNextA(p);
    switch (type) {
        case 'c':
        case 'C':
            va_arg(args, int);
            return conversion.prefix + FitToField(2, conversion, false);
        case 's':
        case 'S':
            return conversion.prefix + StringLength(type, conversion, args);
        case 'd':
        case 'i':
        case 'o':
        case 'u':
        case 'x':
        case 'X':
            if (conversion.isInt64)
                va_arg(args, int64_t);
            else
                va_arg(args, int);
            return conversion.prefix + NumberLength(conversion);
        case 'p':
            va_arg(args, void*);
            return conversion.prefix + NumberLength(conversion);
        case 'e':
        case 'f':
        case 'g':
        case 'G':
            ReportFloatingPoint();
            return -1;
        case 'n':
            va_arg(args, void*);
            return copied;
        default:
            return copied;
    }
}

long long SumItems(const char* format, va_list& args) {
    const char* end = format + lstrlenA(format);
    long long total = 0;
    for (const char* p = format; *p && total < kFormatOutputLimit;) {
        // Plain text counts the whole rest of the format, "%%" the rest from its second '%'.
        if (*p != '%') {
            total += end - p;
            p = CharNextA(p);
        } else if (p[1] == '%') {
            total += end - (p + 1);
            p += 2;
        } else {
            long long item = ConversionLength(++p, end, args);
            if (item < 0) return kFormatOutputLimit;
            total += item;
        }
    }
    return total;
}

}  // namespace

int EstimateFormatLength(const char* format, va_list args) {
    if (!format) return 0;
    va_list walk;
    va_copy(walk, args);
    long long total = SumItems(format, walk);
    va_end(walk);
    return total < kFormatOutputLimit ? static_cast<int>(total) : kFormatOutputLimit;
}
