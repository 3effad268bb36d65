#include "dialog/ParameterSource.h"

#include "util/FileUtils.h"

CMsString LoadParameterSource(const char* parameters) {
    if (FileExists(parameters)) return ReadFileToString(parameters);
    CMsString text;
    if (parameters) text = parameters;
    return text;
}
