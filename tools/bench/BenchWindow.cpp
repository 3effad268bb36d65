#include "tools/bench/BenchWindow.h"

HWND CreateBenchWindow(const char* className, const char* title, int width, int height) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, className, title, WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}
