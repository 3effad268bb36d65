// The system's own text drawing, for comparison: DrawTextA measuring
// (DT_CALCRECT) and then drawing a text with word breaks at a given width, in
// the default GUI font, on a visible window.
#pragma once
#include <windows.h>

#include <string>

class DrawTextTiming {
public:
    // A visible window `width` pixels wide, tall enough for long texts.
    explicit DrawTextTiming(int width);
    ~DrawTextTiming();
    DrawTextTiming(const DrawTextTiming&) = delete;
    DrawTextTiming& operator=(const DrawTextTiming&) = delete;

    // Milliseconds for measuring and drawing the text; -1 without a window.
    double Time(const std::string& text);
    // The measured height of the last text.
    int Height() const { return height; }

private:
    HWND window;
    int width;
    int height;
};
