// Upper bound of the characters wvsprintfA writes for a format and its
// arguments, so the output buffer can be sized before formatting.
#pragma once
#include <cstdarg>

#include "platform/WinSeam.h"

// wvsprintfA never writes more characters than this.
const int kFormatOutputLimit = 1024;

// Walks the format and a copy of the arguments (args itself is not consumed).
// Never below the length of what wvsprintfA writes; at most kFormatOutputLimit.
int EstimateFormatLength(const char* format, va_list args);
