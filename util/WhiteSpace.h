// White space as the string class trims it: the C1_SPACE bit that
// GetStringTypeExA gives the one byte at a character start in the thread's
// locale.
#pragma once

bool IsLocaleWhiteSpace(const char* p);
