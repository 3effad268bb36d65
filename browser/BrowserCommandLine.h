// Turning a registered browser command and a URL into the command line that
// starts the browser, and what a URL must be to be handed over at all.
// Window-free, so it is also built and tested natively.
#pragma once
#include "platform/WinSeam.h"
#include "util/CMsString.h"

// The URL with every double quote, blank and control byte (below 0x20, and
// 0x7F) written as "%XX". The URL comes from message HTML, often from a server:
// such bytes could close the command's quotes or split the URL into several
// arguments. Encoding them keeps it one argument with the same meaning.
CMsString EncodeUrlArgument(const char* url);

// The URL with every byte beyond ASCII written as "%XX", as browsers send an
// address with such characters: a link of a UTF-8 document reaches the browser
// as ASCII, whatever the code page.
CMsString AsciiAddress(const char* url);

// The command with " %1" appended when it has no "%1", then every "%1"
// replaced, in one pass, by the encoded URL.
CMsString BuildBrowserCommandLine(const CMsString& command, const char* url);

// False for a URL that a browser could take for something other than an
// address to open: one that begins, after leading blanks and control bytes,
// with "-" or "/" (a switch), or whose scheme is "javascript:" or "vbscript:"
// in any case (script). Links come from message HTML, which is untrusted.
bool IsPlainAddress(const char* url);

// The program path between double quotes when it has a blank and is not
// quoted yet, so that "C:\Program Files\b.exe" cannot start
// "C:\Program.exe". Empty when memory runs out.
CMsString QuotedProgramPath(const CMsString& path);
