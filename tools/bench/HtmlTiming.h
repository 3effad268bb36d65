// Creation, parse, layout and first-paint times of the HTML control for one message,
// measured on a fresh control in a visible window.
#pragma once
#include <string>

struct HtmlTimes {
    double createMs = 0;  // the control's window taking the placeholder's place
    double parseMs = 0;
    double layoutMs = 0;
    double paintMs = 0;
    int elements = 0;      // elements the parse produced
    int contentHeight = 0; // laid-out height in pixels
};

// A message of about `bytes` bytes: paragraphs with bold, italic, a coloured
// run, a link and line breaks, cut at a paragraph boundary.
std::string MakeMessage(size_t bytes);

// One measurement on a control `width` pixels wide; false when no window
// could be made.
bool TimeHtml(const std::string& html, int width, HtmlTimes& times);
