// Collects the texts the HTML trace receives while the recorder is alive.
#pragma once
#include <string>
#include <vector>

class HtmlTraceRecorder {
public:
    HtmlTraceRecorder();
    ~HtmlTraceRecorder();

    const std::vector<std::string>& Texts() const { return m_texts; }
    // The tag names of the "Unsupported HTML tag" reports, in order.
    std::vector<std::string> UnsupportedTags() const;
    // How many texts contain the given piece.
    int CountContaining(const std::string& piece) const;

private:
    static void Record(const char* text, void* context);
    std::vector<std::string> m_texts;
};
