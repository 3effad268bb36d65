// The text-style stack on long random sequences of opening and closing
// formatting tags, checked after every element against a plain model: a
// list of open entries combined from the bottom up, as the style rules say.
// The stack keeps its own bookkeeping to stay fast at any depth; this shows
// that closing tags deep under others still give the right style.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "html/CHaleSimpleHtmlCtrl.h"
#include "html/HtmlFormatStack.h"

namespace {
const int UNSET = HTML_UNSET;

struct ModelEntry {
    int kind = 0;
    int color = UNSET;
    std::string face;
    int pointSize = UNSET;
    int weight = UNSET;
    int italic = UNSET;
    int alignment = HTML_ALIGN_NONE;
};

struct ModelStyle {
    int color;
    std::string face;
    int pointSize;
    int weight;
    int italic;
    int alignment;
};

class Model {
public:
    explicit Model(const CHtmlTextStyle& base)
        : base{static_cast<int>(base.color), static_cast<const char*>(base.face), base.pointSize,
               base.weight, base.italic, base.alignment} {}

    void Open(const ModelEntry& entry) { entries.push_back(entry); }

    // The most recent entry of the kind goes; none, nothing changes.
    void Close(int kind) {
        for (size_t i = entries.size(); i-- > 0;) {
            if (entries[i].kind != kind) continue;
            entries.erase(entries.begin() + static_cast<long>(i));
            return;
        }
    }

    ModelStyle Style() const {
        ModelStyle style = base;
        for (const ModelEntry& entry : entries) {
            if (entry.color != UNSET) style.color = entry.color;
            if (!entry.face.empty()) style.face = entry.face;
            if (entry.pointSize != UNSET) style.pointSize = entry.pointSize;
            if (entry.weight != UNSET) style.weight = entry.weight;
            if (entry.italic != UNSET) style.italic = entry.italic;
            if (entry.alignment != HTML_ALIGN_NONE) style.alignment = entry.alignment;
        }
        return style;
    }

    int Count() const { return static_cast<int>(entries.size()); }

private:
    ModelStyle base;
    std::vector<ModelEntry> entries;
};

const char* const FACES[] = {"Arial", "Courier New", "Tahoma"};
const int KINDS[] = {HEK_B, HEK_I, HEK_CENTER, HEK_FONT, HEK_HEADING};

// One random element, made for the stack, and what it does to the model.
class Step {
public:
    Step(std::mt19937& random, CHaleSimpleHtmlCtrl* owner) {
        kind = KINDS[random() % 5];
        isOpen = random() % 3 != 0;
        if (!isOpen) {
            element = new CHtmlElement(owner, kind, 0);
            return;
        }
        entry.kind = kind;
        switch (kind) {
        case HEK_B:
            entry.weight = 700;
            element = new CHtmlElement(owner, kind, 1);
            break;
        case HEK_I:
            entry.italic = 1;
            element = new CHtmlElement(owner, kind, 1);
            break;
        case HEK_CENTER:
            entry.alignment = HTML_ALIGN_CENTER;
            element = new CHtmlElement(owner, kind, 1);
            break;
        case HEK_HEADING: {
            int level = 1 + static_cast<int>(random() % 6);
            entry.weight = 700;
            entry.pointSize = HtmlSizeToPoints(7 - level);
            element = new CHtmlElement(owner, kind, 1, "size", std::to_string(level).c_str());
            break;
        }
        default:
            element = RandomFont(random, owner);
        }
    }
    ~Step() { delete element; }
    Step(const Step&) = delete;
    Step& operator=(const Step&) = delete;

    void ApplyTo(Model& model) const {
        if (isOpen) model.Open(entry);
        else model.Close(kind);
    }

    const CHtmlElement* element = nullptr;

private:
    // A font that sets some of colour, face, point size and weight.
    CHtmlElement* RandomFont(std::mt19937& random, CHaleSimpleHtmlCtrl* owner) {
        CHtmlAttribList attribs;
        if (random() % 2) {
            int color = static_cast<int>(random() % 0x1000000);
            attribs.SetAttribNumber("color", color, AT_COLOR);
            entry.color = color;
        }
        if (random() % 2) {
            entry.face = FACES[random() % 3];
            attribs.SetAttrib("face", entry.face.c_str());
        }
        if (random() % 2) {
            entry.pointSize = 6 + static_cast<int>(random() % 30);
            attribs.SetAttribNumber("point-size", entry.pointSize, AT_UINT);
        }
        if (random() % 2) {
            entry.weight = 100 * (1 + static_cast<int>(random() % 9));
            attribs.SetAttribNumber("weight", entry.weight, AT_UINT);
        }
        return new CHtmlElement(owner, HEK_FONT, 1, attribs);
    }

    int kind = 0;
    bool isOpen = false;
    ModelEntry entry;
};

bool SameStyle(const CHtmlTextStyle& style, const ModelStyle& model) {
    return static_cast<int>(style.color) == model.color && model.face == static_cast<const char*>(style.face) &&
           style.pointSize == model.pointSize && style.weight == model.weight && style.italic == model.italic &&
           style.alignment == model.alignment;
}

// Feeds `steps` random elements, biased to opening, and compares after each;
// returns the number of the first step that differs, or -1.
int FirstDifference(unsigned seed, int steps) {
    CHaleSimpleHtmlCtrl control(GetModuleHandleA(nullptr));
    CHtmlFormatStack stack(&control, nullptr);
    Model model(stack.CurrentStyle());
    std::mt19937 random(seed);
    for (int i = 0; i < steps; ++i) {
        Step step(random, &control);
        stack.ApplyElement(step.element);
        step.ApplyTo(model);
        if (!SameStyle(stack.CurrentStyle(), model.Style()) || stack.EntryCount() != model.Count()) return i;
        if (stack.CurrentAlignment() != model.Style().alignment) return i;
    }
    return -1;
}
}  // namespace

TEST(StyleStackModel, RandomTagSequencesGiveTheStyleOfTheModelAfterEveryElement) {
    for (unsigned seed = 1; seed <= 20; ++seed) EXPECT_EQ(FirstDifference(seed, 3000), -1) << "seed " << seed;
}
