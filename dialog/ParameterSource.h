// Turns the host's parameter string into the parameter text.
#pragma once
#include "util/CMsString.h"

// The contents of the file the string names when it is an existing file (its
// existence judged without one pair of surrounding quotes, its contents read
// with the string unchanged); otherwise the string itself (empty for null).
// Either way in the encoding the text shows (text/ParameterText.h).
CMsString LoadParameterSource(const char* parameters);

// The same for a string in UTF-16: a path read with the wide file functions,
// so that any folder name works, or else the text itself, a UTF offer.
CMsString LoadWideParameterSource(const WCHAR* parameters);
