// The HTML control's trace: formatted, then handed to a sink that prints
// nothing. An observer installed by tests sees each text.
#include "html/HtmlTrace.h"

#include <cstdarg>
#include <cstdio>

#include "html/HtmlAttrib.h"
#include "util/CMsString.h"

namespace {
HtmlTraceObserver traceObserver = nullptr;
void* traceContext = nullptr;

// Cuts the output at size - 1 characters and always terminates it, since the
// system C runtime's formatter leaves a cut output unterminated.
void FormatInto(char* buffer, size_t size, const char* format, va_list args) {
    _vsnprintf(buffer, size, format, args);
    buffer[size - 1] = 0;
}
}  // namespace

void SetHtmlTraceObserver(HtmlTraceObserver observer, void* context) {
    traceObserver = observer;
    traceContext = context;
}

void NoOpTrace(const char* format, ...) {
    if (!traceObserver || !format) return;
    char text[2048] = {0};
    va_list args;
    va_start(args, format);
    FormatInto(text, sizeof text, format, args);
    va_end(args);
    traceObserver(text, traceContext);
}

void HtmlTrace(const char* format, ...) {
    if (!traceObserver || !format) return;
    char buffer[1024] = {0};
    va_list args;
    va_start(args, format);
    FormatInto(buffer, sizeof buffer, format, args);
    va_end(args);
    CMsString text(buffer);
    NoOpTrace("CHaleSimpleHtmlCtrl: %s\n", static_cast<const char*>(text));
}
