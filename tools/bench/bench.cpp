// Benchmarks under Wine (tools/bench/run.sh runs it and adds the DLL sizes):
//  1. from the call until the dialog is visible and painted: RunMirelDialog
//     with the example offer, with a one-line message and with a 16 KB
//     message, against a bare dialog from the same template with a plain
//     dialog procedure, all in this process and taken in turns;
//  2. the 16 KB message's extra cost against DrawTextA measuring and drawing
//     its words at the same width, in the same turns;
//  3. the phases of those dialogs, run from the library objects linked into
//     this program: initialisation up to the caption (controls created), the
//     arrangement, and each window's paint;
//  4. the HTML control's phases (creation, parse, measuring, line breaking,
//     first paint) for the dialog's messages and for messages of 1, 8 and 64 KB.
// Prints Markdown tables of medians.
//
//   mirel_bench MirelDialog.dll PARAMETER-FILE [REPEATS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/bench/BenchMessage.h"
#include "tools/bench/DialogTiming.h"
#include "tools/bench/DrawTextTiming.h"
#include "tools/bench/HtmlTiming.h"
#include "tools/bench/StampedConsentDialog.h"
#include "tools/bench/Stopwatch.h"

namespace {
const int TEMPLATE_ID = 202;
const int MESSAGE_ID = 215;
const int WARM_UP_RUNS = 2;
const int MESSAGE_WIDTH = 420;
const size_t LONG_MESSAGE_BYTES = 16 * 1024;
const char ONE_LINE_MESSAGE[] = "Would you like to install <b>Extra Tool</b> as well?";

typedef int(WINAPI* RunMirelDialogFn)(const char*);

// The template's dialog and message placeholder widths, seen by the bare dialog.
int templateDialogWidth = 0;
int templateMessageWidth = 0;
InitStamps bareStamps;

int WindowWidth(HWND window) {
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(window, &rect);
    return rect.right - rect.left;
}

INT_PTR CALLBACK PlainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        bareStamps.start = MeasurementElapsedMs();
        templateDialogWidth = WindowWidth(dialog);
        templateMessageWidth = WindowWidth(GetDlgItem(dialog, MESSAGE_ID));
        bareStamps.done = MeasurementElapsedMs();
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

double Ratio(double value, double base) { return base > 0 ? value / base : 0; }

struct Series {
    std::vector<double> visible, painted;
    // Phases, from the runs whose initialisation is stamped.
    std::vector<double> created, arranged, initialised, shown;
    std::vector<double> paints[PW_COUNT];
    int failures = 0;
};

bool RecordShown(Series& series, const DialogTimes& times, INT_PTR expected) {
    if (times.visibleMs < 0 || times.result != expected) {
        ++series.failures;
        return false;
    }
    series.visible.push_back(times.visibleMs);
    series.painted.push_back(times.paintedMs);
    for (int w = 0; w < PW_COUNT; ++w) series.paints[w].push_back(times.paintMs[w]);
    return true;
}

void RecordInit(Series& series, const InitStamps& stamps, const DialogTimes& times) {
    if (stamps.start < 0 || stamps.done < 0) return;
    series.initialised.push_back(stamps.done);
    series.shown.push_back(times.visibleMs - stamps.done);
    if (stamps.captionSet < 0) return;
    series.created.push_back(stamps.captionSet - stamps.start);
    series.arranged.push_back(stamps.done - stamps.captionSet);
}

std::string ReadFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The parameter text with its MESSAGE field replaced.
std::string WithMessage(const std::string& parameters, const std::string& message) {
    size_t open = parameters.find("<MESSAGE>");
    size_t close = parameters.find("</MESSAGE>");
    if (open == std::string::npos || close == std::string::npos || close < open) return "";
    open += 9;
    return parameters.substr(0, open) + message + parameters.substr(close);
}

// Text between <TAG> and </TAG>, or an empty string.
std::string Field(const std::string& parameters, const std::string& tag) {
    size_t open = parameters.find("<" + tag + ">");
    size_t close = parameters.find("</" + tag + ">");
    if (open == std::string::npos || close == std::string::npos || close < open) return "";
    open += tag.size() + 2;
    return parameters.substr(open, close - open);
}

struct DialogCase {
    const char* name;
    std::string parameters;  // empty: the bare dialog
    Series dll;              // RunMirelDialog of the DLL
    Series linked;           // the same dialog from the linked objects, initialisation stamped
};

struct LongMessageFigures {
    std::vector<double> extra;     // 16 KB message painted minus one-line message painted
    std::vector<double> drawText;  // DrawTextA on its words
    size_t characters = 0;
    int drawTextHeight = 0;
};

void PrintDialogTable(const std::vector<DialogCase>& cases, int repeats) {
    printf("| Dialog (median of %d, taken in turns) | visible, ms | visible and painted, ms | "
           "painted / bare |\n",
           repeats);
    printf("|---|---:|---:|---:|\n");
    double bare = Median(cases[0].dll.painted);
    for (const DialogCase& c : cases) {
        double painted = Median(c.dll.painted);
        printf("| %s | %.1f | %.1f | %.2f |\n", c.name, Median(c.dll.visible), painted,
               Ratio(painted, bare));
    }
    printf("\n");
}

void PrintLongMessageTable(const LongMessageFigures& figures, int textWidth) {
    double extra = Median(figures.extra);
    double drawText = Median(figures.drawText);
    printf("| Long message (same turns) | ms |\n|---|---:|\n");
    printf("| 16 KB message painted, over the one-line one | %.1f |\n", extra);
    printf("| DrawTextA, DT_CALCRECT and draw of its %zu characters of words at %d px, default "
           "GUI font (%d px tall) | %.1f |\n",
           figures.characters, textWidth, figures.drawTextHeight, drawText);
    printf("| ratio | %.2f |\n\n", Ratio(extra, drawText));
}

void PrintCell(const std::vector<double>& values) {
    if (values.empty()) {
        printf(" - |");
    } else {
        printf(" %.2f |", Median(values));
    }
}

void PrintPhaseRow(const char* name, const std::vector<DialogCase>& cases,
                   std::vector<double> Series::*values) {
    printf("| %s |", name);
    for (const DialogCase& c : cases) PrintCell(c.linked.*values);
    printf("\n");
}

void PrintPhaseTable(const std::vector<DialogCase>& cases, int repeats) {
    static const char* const paintNames[PW_COUNT] = {
        "paint: dialog (background, caption)", "paint: control 215 (message)",
        "paint: control 213 (disclaimer)", "paint: control 209 (Yes)", "paint: control 210 (No)"};
    printf("| Dialog phase (linked objects, median of %d), ms |", repeats);
    for (const DialogCase& c : cases) printf(" %s |", c.name);
    printf("\n|---|");
    for (size_t i = 0; i < cases.size(); ++i) printf("---:|");
    printf("\n");
    PrintPhaseRow("WM_INITDIALOG up to the caption: HTML controls created, buttons bound", cases,
                  &Series::created);
    PrintPhaseRow("arrangement: texts set, parsed and laid out, dialog sized, placed, made topmost",
                  cases, &Series::arranged);
    PrintPhaseRow("call until WM_INITDIALOG handled", cases, &Series::initialised);
    PrintPhaseRow("WM_INITDIALOG handled until visible", cases, &Series::shown);
    for (int w = 0; w < PW_COUNT; ++w) {
        printf("| %s |", paintNames[w]);
        for (const DialogCase& c : cases) PrintCell(c.linked.paints[w]);
        printf("\n");
    }
    PrintPhaseRow("call until visible and painted", cases, &Series::painted);
    printf("\n");
}

INT_PTR RunLinked(const std::string& parameters, InitStamps& stamps) {
    StampedConsentDialog dialog;
    dialog.ConsentDialog::SetParameters(parameters.c_str());
    INT_PTR result = dialog.DoModal();
    stamps = dialog.stamps;
    return result;
}

bool BenchDialogs(HMODULE library, const char* parameterFile, int repeats) {
    auto run = reinterpret_cast<RunMirelDialogFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "RunMirelDialog")));
    if (!run) return false;
    std::string offer = ReadFile(parameterFile);
    std::vector<DialogCase> cases = {
        {"bare dialog, template 202, plain procedure", "", Series(), Series()},
        {"RunMirelDialog, examples/offer.txt", offer, Series(), Series()},
        {"the same with a one-line message", WithMessage(offer, ONE_LINE_MESSAGE), Series(),
         Series()},
        {"the same with a 16 KB message", WithMessage(offer, MakeMessage(LONG_MESSAGE_BYTES)),
         Series(), Series()},
    };
    auto bare = [&] {
        bareStamps = InitStamps();
        return DialogBoxParamA(library, MAKEINTRESOURCEA(TEMPLATE_ID), nullptr, PlainDialogProc, 0);
    };
    TimeDialog(bare);
    int textWidth = atoi(Field(offer, "WIDTH").c_str()) - (templateDialogWidth - templateMessageWidth);
    DrawTextTiming drawText(textWidth);
    LongMessageFigures longMessage;
    std::string words = MessageWords(MakeMessage(LONG_MESSAGE_BYTES));
    longMessage.characters = words.size();
    for (int i = 0; i < WARM_UP_RUNS + repeats; ++i) {
        bool warm = i >= WARM_UP_RUNS;
        DialogTimes times[4];
        times[0] = TimeDialog(bare);
        if (warm && RecordShown(cases[0].dll, times[0], IDCANCEL)) {
            RecordShown(cases[0].linked, times[0], IDCANCEL);
            RecordInit(cases[0].linked, bareStamps, times[0]);
        }
        for (size_t c = 1; c < cases.size(); ++c) {
            const char* parameters = cases[c].parameters.c_str();
            times[c] = TimeDialog([&] { return static_cast<INT_PTR>(run(parameters)); });
            InitStamps stamps;
            DialogTimes linked = TimeDialog([&] { return RunLinked(cases[c].parameters, stamps); });
            if (!warm) continue;
            RecordShown(cases[c].dll, times[c], 8);
            if (RecordShown(cases[c].linked, linked, 8)) RecordInit(cases[c].linked, stamps, linked);
        }
        double drawn = drawText.Time(words);
        if (!warm || times[2].visibleMs < 0 || times[3].visibleMs < 0) continue;
        longMessage.extra.push_back(times[3].paintedMs - times[2].paintedMs);
        longMessage.drawText.push_back(drawn);
    }
    longMessage.drawTextHeight = drawText.Height();
    for (const DialogCase& c : cases) {
        if (c.dll.failures || c.linked.failures)
            fprintf(stderr, "runs not counted (%s): %d, linked %d\n", c.name, c.dll.failures,
                    c.linked.failures);
        if (c.dll.visible.empty()) return false;
    }
    PrintDialogTable(cases, repeats);
    PrintLongMessageTable(longMessage, textWidth);
    PrintPhaseTable(cases, repeats);
    return true;
}

struct HtmlRow {
    std::string name;
    size_t bytes = 0;
    HtmlTimes median;
};

bool MeasureHtml(const std::string& html, const HtmlSetup& setup, int repeats, HtmlRow& row) {
    std::vector<double> create, parse, measure, lineBreak, paint;
    HtmlTimes times;
    for (int i = 0; i < repeats; ++i) {
        if (!TimeHtml(html, setup, times)) return false;
        create.push_back(times.createMs);
        parse.push_back(times.parseMs);
        measure.push_back(times.measureMs);
        lineBreak.push_back(times.breakMs);
        paint.push_back(times.paintMs);
    }
    row.bytes = html.size();
    row.median = times;
    row.median.createMs = Median(create);
    row.median.parseMs = Median(parse);
    row.median.measureMs = Median(measure);
    row.median.breakMs = Median(lineBreak);
    row.median.paintMs = Median(paint);
    return true;
}

void PrintHtmlTable(const char* title, const std::vector<HtmlRow>& rows, int repeats) {
    printf("| %s (median of %d) | bytes | elements | height, px | control created, ms | parse, ms "
           "| measure, ms | line breaking, ms | first paint, ms |\n",
           title, repeats);
    printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const HtmlRow& row : rows) {
        const HtmlTimes& t = row.median;
        printf("| %s | %zu | %d | %d | %.2f | %.2f | %.2f | %.2f | %.2f |\n", row.name.c_str(),
               row.bytes, t.elements, t.contentHeight, t.createMs, t.parseMs, t.measureMs,
               t.breakMs, t.paintMs);
    }
    printf("\n");
}

bool BenchHtml(const char* parameterFile, int repeats) {
    std::string offer = ReadFile(parameterFile);
    int textWidth = atoi(Field(offer, "WIDTH").c_str()) - (templateDialogWidth - templateMessageWidth);
    const HtmlSetup dialogSetup = {textWidth, true};
    struct Source {
        const char* name;
        std::string html;
    };
    const Source dialogSources[] = {
        {"examples/offer.txt message", Field(offer, "MESSAGE")},
        {"examples/offer.txt disclaimer", Field(offer, "DISCLAIMER")},
        {"one-line message", ONE_LINE_MESSAGE},
        {"16 KB message", MakeMessage(LONG_MESSAGE_BYTES)},
    };
    std::vector<HtmlRow> rows;
    for (const Source& source : dialogSources) {
        HtmlRow row;
        row.name = source.name;
        if (!MeasureHtml(source.html, dialogSetup, repeats, row)) return false;
        rows.push_back(row);
    }
    char title[96];
    snprintf(title, sizeof title, "HTML control, %d px, dialog margins", textWidth);
    PrintHtmlTable(title, rows, repeats);

    rows.clear();
    const HtmlSetup plainSetup = {MESSAGE_WIDTH, false};
    for (size_t kb : {1, 8, 64}) {
        HtmlRow row;
        row.name = std::to_string(kb) + " KB";
        if (!MeasureHtml(MakeMessage(kb * 1024), plainSetup, repeats, row)) return false;
        rows.push_back(row);
    }
    snprintf(title, sizeof title, "HTML control, %d px, default margins", MESSAGE_WIDTH);
    PrintHtmlTable(title, rows, repeats);
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: mirel_bench MirelDialog.dll PARAMETER-FILE [REPEATS]\n");
        return 2;
    }
    int repeats = argc > 3 ? atoi(argv[3]) : 15;
    if (repeats < 1) repeats = 1;
    HMODULE library = LoadLibraryA(argv[1]);
    if (!library) {
        fprintf(stderr, "cannot load %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    bool ok = BenchDialogs(library, argv[2], repeats) && BenchHtml(argv[2], repeats);
    FreeLibrary(library);
    return ok ? 0 : 1;
}
