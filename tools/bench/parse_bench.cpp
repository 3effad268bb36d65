// Native parser throughput: the window-free parser, built with optimisation
// and without sanitizers (preset native-bench), on the benchmark messages and
// on the example offer's message. Prints a Markdown table of medians.
//
//   mirel_parse_bench [OFFER-FILE] [REPEATS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "html/HtmlAttrib.h"
#include "html/HtmlElement.h"
#include "html/HtmlParser.h"
#include "tools/bench/BenchMessage.h"
#include "util/StringList.h"

namespace {
// Enough passes per sample that a small message still takes milliseconds.
const size_t BYTES_PER_SAMPLE = 1024 * 1024;

double NowSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct ParseFigures {
    double secondsPerParse = 0;
    int elements = 0;
};

// The parse alone: the element list is emptied outside the timed part.
ParseFigures TimeParse(const std::string& html, int repeats) {
    StringList fonts;
    fonts.Add("Arial");
    size_t passes = std::max<size_t>(1, BYTES_PER_SAMPLE / std::max<size_t>(1, html.size()));
    std::vector<double> samples;
    ParseFigures figures;
    for (int r = 0; r < repeats; ++r) {
        double total = 0;
        for (size_t p = 0; p < passes; ++p) {
            CHtmlElementList elements;
            CHtmlAttribList body;
            double start = NowSeconds();
            CHtmlParser(nullptr, elements, body, fonts).Parse(html.c_str());
            total += NowSeconds() - start;
            figures.elements = elements.count;
        }
        samples.push_back(total / static_cast<double>(passes));
    }
    figures.secondsPerParse = Median(samples);
    return figures;
}

// The MESSAGE field of a parameter file, or an empty string.
std::string OfferMessage(const char* path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    std::string all = text.str();
    size_t open = all.find("<MESSAGE>");
    size_t close = all.find("</MESSAGE>");
    if (open == std::string::npos || close == std::string::npos || close < open) return "";
    open += 9;
    return all.substr(open, close - open);
}

void PrintRow(const char* name, const std::string& html, int repeats) {
    ParseFigures figures = TimeParse(html, repeats);
    double ms = figures.secondsPerParse * 1000;
    double mbPerSecond = static_cast<double>(html.size()) / figures.secondsPerParse / 1e6;
    double nsPerElement = figures.elements ? figures.secondsPerParse * 1e9 / figures.elements : 0;
    printf("| %s | %zu | %d | %.3f | %.1f | %.0f |\n", name, html.size(), figures.elements, ms,
           mbPerSecond, nsPerElement);
}
}  // namespace

int main(int argc, char** argv) {
    const char* offer = argc > 1 ? argv[1] : "examples/offer.txt";
    int repeats = argc > 2 ? atoi(argv[2]) : 15;
    if (repeats < 1) repeats = 1;
    printf("| Native parse (clang -O2, no sanitizers; median of %d) | bytes | elements | ms per "
           "parse | MB/s | ns per element |\n",
           repeats);
    printf("|---|---:|---:|---:|---:|---:|\n");
    std::string offerMessage = OfferMessage(offer);
    if (!offerMessage.empty()) PrintRow("examples/offer.txt message", offerMessage, repeats);
    PrintRow("1 KB message", MakeMessage(1024), repeats);
    PrintRow("8 KB message", MakeMessage(8 * 1024), repeats);
    PrintRow("64 KB message", MakeMessage(64 * 1024), repeats);
    printf("\n");
    return 0;
}
