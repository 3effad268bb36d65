// Runs a script of string operations taken from the input on a CMsString and a
// shared copy of it, and checks both against a plain std::string model.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "util/CMsString.h"

namespace {

// Reads the script: bytes, small numbers and zero-free texts.
class Script {
public:
    Script(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool AtEnd() const { return m_at >= m_size; }
    uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    int Number() { return static_cast<int>(Byte()) - 16; }
    char NonZeroChar() {
        uint8_t b = Byte();
        return static_cast<char>(b ? b : 'z');
    }
    std::string Text() {
        std::string text;
        size_t length = Byte() % 8;
        for (size_t i = 0; i < length; ++i) text += NonZeroChar();
        return text;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

void Check(bool condition) {
    if (!condition) abort();
}

void CheckSame(const CMsString& s, const std::string& model) {
    Check(s.GetLength() == static_cast<int>(model.size()));
    Check(std::string(static_cast<const char*>(s), model.size()) == model);
    Check(static_cast<const char*>(s)[model.size()] == 0);
}

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

int ModelFind(const std::string& model, const std::string& text, bool caseSensitive, int start) {
    if (start < 0) start = 0;
    if (start >= static_cast<int>(model.size())) return -1;
    if (text.empty()) return caseSensitive ? start : -1;
    for (size_t at = static_cast<size_t>(start); at + text.size() <= model.size(); ++at) {
        size_t i = 0;
        while (i < text.size() &&
               (caseSensitive ? model[at + i] == text[i] : Fold(model[at + i]) == Fold(text[i])))
            ++i;
        if (i == text.size()) return static_cast<int>(at);
    }
    return -1;
}

int ModelReplace(std::string& model, const std::string& oldText, const std::string& newText) {
    if (oldText.empty()) return 0;
    int count = 0;
    for (size_t at = model.find(oldText); at != std::string::npos; at = model.find(oldText, at + newText.size())) {
        model.replace(at, oldText.size(), newText);
        ++count;
    }
    return count;
}

std::string ModelMid(const std::string& model, int first, int count) {
    int length = static_cast<int>(model.size());
    if (first < 0) first = 0;
    if (count < 0) count = 0;
    if (first > length) return std::string();
    if (count > length - first) count = length - first;
    return model.substr(static_cast<size_t>(first), static_cast<size_t>(count));
}

void TrimModel(std::string& model, bool left, bool (*matches)(char, const std::string&), const std::string& set) {
    if (left) {
        size_t skip = 0;
        while (skip < model.size() && matches(model[skip], set)) ++skip;
        model.erase(0, skip);
    } else {
        size_t keep = model.size();
        while (keep > 0 && matches(model[keep - 1], set)) --keep;
        model.resize(keep);
    }
}

bool InSet(char c, const std::string& set) { return set.find(c) != std::string::npos; }
bool IsSpaceChar(char c, const std::string&) { return IsSpace(c); }

void Step(Script& script, CMsString& s, std::string& model, CMsString& copy, std::string& copyModel) {
    const bool roomy = model.size() < 2048;
    switch (script.Byte() % 12) {
        case 0: {
            std::string text = script.Text();
            if (!roomy) break;
            s += text.c_str();
            model += text;
            break;
        }
        case 1: {
            char c = script.NonZeroChar();
            if (!roomy) break;
            s += c;
            model += c;
            break;
        }
        case 2:
            copy = s;
            copyModel = model;
            break;
        case 3: {
            std::string set = script.Text();
            bool left = script.Byte() & 1;
            if (left)
                s.TrimLeft(set.c_str());
            else
                s.TrimRight(set.c_str());
            TrimModel(model, left, InSet, set);
            break;
        }
        case 4: {
            bool left = script.Byte() & 1;
            if (left)
                s.TrimLeft();
            else
                s.TrimRight();
            TrimModel(model, left, IsSpaceChar, std::string());
            break;
        }
        case 5: {
            std::string oldText = script.Text();
            std::string newText = script.Text();
            if (!roomy) break;
            Check(s.Replace(oldText.c_str(), newText.c_str()) == ModelReplace(model, oldText, newText));
            break;
        }
        case 6: {
            int first = script.Number();
            int count = script.Number();
            CheckSame(s.Mid(first, count), ModelMid(model, first, count));
            break;
        }
        case 7: {
            std::string text = script.Text();
            bool caseSensitive = script.Byte() & 1;
            int start = script.Number();
            Check(s.Find(text.c_str(), caseSensitive, start) == ModelFind(model, text, caseSensitive, start));
            break;
        }
        case 8: {
            int count = script.Number();
            s.DeleteLeft(count);
            if (count > 0 && count < static_cast<int>(model.size())) model.erase(0, static_cast<size_t>(count));
            break;
        }
        case 9: {
            char oldChar = script.NonZeroChar();
            char newChar = script.NonZeroChar();
            int count = 0;
            for (char& c : model) {
                if (c == oldChar && oldChar != newChar) {
                    c = newChar;
                    ++count;
                }
            }
            Check(s.Replace(oldChar, newChar) == count);
            break;
        }
        case 10: {
            int room = script.Byte();
            char* buffer = s.GetBuffer(room);
            Check(buffer != nullptr);
            s.ReleaseBuffer(-1);
            break;
        }
        default:
            s = copy;
            model = copyModel;
            break;
    }
    CheckSame(s, model);
    CheckSame(copy, copyModel);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Script script(data, size);
    CMsString s;
    std::string model;
    CMsString copy;
    std::string copyModel;
    while (!script.AtEnd()) Step(script, s, model, copy, copyModel);
    return 0;
}
