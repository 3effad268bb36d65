#include "support/HtmlTraceRecorder.h"

#include "html/HtmlTrace.h"

HtmlTraceRecorder::HtmlTraceRecorder() { SetHtmlTraceObserver(Record, this); }

HtmlTraceRecorder::~HtmlTraceRecorder() { SetHtmlTraceObserver(nullptr, nullptr); }

void HtmlTraceRecorder::Record(const char* text, void* context) {
    static_cast<HtmlTraceRecorder*>(context)->m_texts.push_back(text);
}

std::vector<std::string> HtmlTraceRecorder::UnsupportedTags() const {
    static const std::string prefix = "CHaleSimpleHtmlCtrl: Unsupported HTML tag \"";
    static const std::string suffix = "\"\n";
    std::vector<std::string> tags;
    for (const std::string& text : m_texts) {
        if (text.compare(0, prefix.size(), prefix) != 0) continue;
        if (text.size() < prefix.size() + suffix.size()) continue;
        if (text.compare(text.size() - suffix.size(), suffix.size(), suffix) != 0) continue;
        tags.push_back(text.substr(prefix.size(), text.size() - prefix.size() - suffix.size()));
    }
    return tags;
}

int HtmlTraceRecorder::CountContaining(const std::string& piece) const {
    int found = 0;
    for (const std::string& text : m_texts) {
        if (text.find(piece) != std::string::npos) ++found;
    }
    return found;
}
