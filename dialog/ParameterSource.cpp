#include "dialog/ParameterSource.h"

#include <memory>

#include "text/ParameterText.h"
#include "util/FileUtils.h"

CMsString LoadParameterSource(const char* parameters) {
    bool fromFile = FileExists(parameters) != 0;
    DWORD size = 0;
    std::unique_ptr<char[]> contents(fromFile ? ReadFileBytes(parameters, &size) : nullptr);
    const char* bytes = fromFile ? contents.get() : parameters;
    // lstrlenA answers 0 for null only by catching the fault: ask no fault.
    int length = fromFile ? static_cast<int>(size) : (parameters ? lstrlenA(parameters) : 0);
    return ParameterTextForThisSystem(ParameterTextFromBytes(bytes, length, fromFile));
}
