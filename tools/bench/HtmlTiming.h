// Creation, parse, measuring, line breaking and first-paint times of the HTML
// control for one message, measured on a fresh control in a visible window.
#pragma once
#include <string>

struct HtmlTimes {
    double createMs = 0;  // the control's window taking the placeholder's place
    double parseMs = 0;
    double measureMs = 0;  // every element measured with the style at its place
    double breakMs = 0;    // lines broken and aligned, scroll range set
    double paintMs = 0;
    int elements = 0;      // elements the parse produced
    int contentHeight = 0; // laid-out height in pixels
};

// The control's settings: its width, and whether the dialog's margins (none)
// and scroll setting (off) apply instead of the control's defaults.
struct HtmlSetup {
    int width;
    bool dialogSettings;
};

// One measurement; false when no window could be made.
bool TimeHtml(const std::string& html, const HtmlSetup& setup, HtmlTimes& times);
