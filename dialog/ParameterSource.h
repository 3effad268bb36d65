// Turns the host's parameter string into the parameter text.
#pragma once
#include "util/CMsString.h"

// The contents of the file the string names when it is an existing file (its
// existence judged without one pair of surrounding quotes, its contents read
// with the string unchanged); otherwise the string itself (empty for null).
CMsString LoadParameterSource(const char* parameters);
