#include "support/win/ElevationAnswer.h"

namespace {
int answer = ElevationAnswer::kQueryFails;
}  // namespace

ElevationAnswer::ElevationAnswer(int elevationType)
    : previous(answer), hook("GetTokenInformation", reinterpret_cast<void*>(&Query)) {
    answer = elevationType;
}

ElevationAnswer::~ElevationAnswer() { answer = previous; }

BOOL WINAPI ElevationAnswer::Query(HANDLE token, TOKEN_INFORMATION_CLASS type, LPVOID data, DWORD size,
                                   PDWORD written) {
    if (type != TokenElevationType)
        return RuntimeFunctionHook::System<decltype(&GetTokenInformation)>("advapi32.dll", "GetTokenInformation")(
            token, type, data, size, written);
    if (answer == kQueryFails || size < sizeof(TOKEN_ELEVATION_TYPE)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *static_cast<TOKEN_ELEVATION_TYPE*>(data) = static_cast<TOKEN_ELEVATION_TYPE>(answer);
    return TRUE;
}
