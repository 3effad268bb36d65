#include "tools/bench/BenchMessage.h"

namespace {
const char PARAGRAPH[] =
    "<p>Would you like to install <b>Extra Tool</b> as well? It is <i>free</i> and you can "
    "remove it at any time.<br><font color=\"#336699\">Extra Tool adds a search box</font> "
    "and reads the <a href=\"https://example.com/eula\">licence</a> first.</p>\n";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

void AddBlank(std::string& words) {
    if (!words.empty() && words.back() != ' ') words += ' ';
}
}  // namespace

std::string MakeMessage(size_t bytes) {
    std::string html;
    while (html.size() + sizeof PARAGRAPH - 1 <= bytes) html += PARAGRAPH;
    return html;
}

// A tag between two words joins them, as in the HTML control; a line end or
// a line break parts them.
std::string MessageWords(const std::string& html) {
    std::string words;
    size_t i = 0;
    while (i < html.size()) {
        char c = html[i];
        if (c == '<') {
            size_t end = html.find('>', i);
            if (end == std::string::npos) break;
            if (html.compare(i, 3, "<br") == 0) AddBlank(words);
            i = end + 1;
            continue;
        }
        if (IsBlank(c)) {
            AddBlank(words);
        } else {
            words += c;
        }
        ++i;
    }
    if (!words.empty() && words.back() == ' ') words.pop_back();
    return words;
}
