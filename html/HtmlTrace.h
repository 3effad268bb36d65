// Trace output of the HTML control. Nothing is printed; tests can watch the
// traced texts through an observer.
#pragma once

// Formats into a 1024-byte buffer (longer output is cut at 1023 characters)
// and passes "CHaleSimpleHtmlCtrl: %s\n" with the text to NoOpTrace. Like
// NoOpTrace, it formats nothing while no observer listens.
void HtmlTrace(const char* format, ...);

// Receives every text NoOpTrace is given, fully formatted. Null (the default)
// means nobody listens and NoOpTrace does no work at all.
typedef void (*HtmlTraceObserver)(const char* text, void* context);
void SetHtmlTraceObserver(HtmlTraceObserver observer, void* context);
