#include "tools/bench/DrawTextTiming.h"

#include "tools/bench/BenchWindow.h"
#include "tools/bench/Stopwatch.h"

namespace {
const char CLASS_NAME[] = "MirelBenchDrawText";
const int WINDOW_HEIGHT = 2400;
}  // namespace

DrawTextTiming::DrawTextTiming(int textWidth)
    : window(CreateBenchWindow(CLASS_NAME, "DrawTextA", textWidth, WINDOW_HEIGHT)), width(textWidth),
      height(0) {
    UpdateWindow(window);
}

DrawTextTiming::~DrawTextTiming() {
    if (window) DestroyWindow(window);
}

double DrawTextTiming::Time(const std::string& text) {
    if (!window) return -1;
    HDC dc = GetDC(window);
    HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    const UINT format = DT_WORDBREAK | DT_NOPREFIX | DT_LEFT | DT_TOP;
    double start = NowMs();
    RECT box = {0, 0, width, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &box, format | DT_CALCRECT);
    RECT drawn = {0, 0, width, box.bottom};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &drawn, format);
    GdiFlush();
    double elapsed = NowMs() - start;
    height = box.bottom;
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return elapsed;
}
