#include <memory>

#include "dialog/ParameterSource.h"
#include "text/ParameterText.h"
#include "util/WideFileUtils.h"

CMsString LoadWideParameterSource(const WCHAR* parameters) {
    int length = 0;
    while (parameters && parameters[length]) ++length;
    if (IsCodePageOnlySystem()) return LoadParameterSource(CodePageText(parameters, length));
    if (!FileExistsW(parameters)) return ParameterTextFromUtf16(parameters, length);
    DWORD size = 0;
    std::unique_ptr<char[]> bytes(ReadFileBytesW(parameters, &size));
    return ParameterTextFromBytes(bytes.get(), static_cast<int>(size), true);
}
