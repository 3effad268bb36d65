// Benchmarks under Wine (tools/bench/run.sh runs it and adds the DLL sizes):
//  1. from the call until the dialog is visible and painted: RunMirelDialog
//     with a parameter file against a bare dialog from the same template with
//     a plain dialog procedure, in this process;
//  2. parse, layout and first paint of messages of 1, 8 and 64 KB.
// Prints Markdown tables of medians.
//
//   mirel_bench MirelDialog.dll PARAMETER-FILE [REPEATS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/bench/DialogTiming.h"
#include "tools/bench/HtmlTiming.h"
#include "tools/bench/Stopwatch.h"

namespace {
const int TEMPLATE_ID = 202;
const int WARM_UP_RUNS = 2;
const int MESSAGE_WIDTH = 420;

typedef int(WINAPI* RunMirelDialogFn)(const char*);

INT_PTR CALLBACK PlainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

double Ratio(double value, double base) { return base > 0 ? value / base : 0; }

struct Series {
    std::vector<double> initialised;
    std::vector<double> visible;
    std::vector<double> painted;
    int failures = 0;
};

void Record(Series& series, const DialogTimes& times, INT_PTR expected) {
    if (times.visibleMs < 0 || times.result != expected) {
        ++series.failures;
        return;
    }
    series.initialised.push_back(times.initialisedMs);
    series.visible.push_back(times.visibleMs);
    series.painted.push_back(times.paintedMs);
}

bool BenchDialogs(HMODULE library, const char* parameters, int repeats) {
    auto run = reinterpret_cast<RunMirelDialogFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "RunMirelDialog")));
    if (!run) return false;
    auto consent = [&] { return static_cast<INT_PTR>(run(parameters)); };
    auto bare = [&] {
        return DialogBoxParamA(library, MAKEINTRESOURCEA(TEMPLATE_ID), nullptr, PlainDialogProc, 0);
    };
    Series consentSeries, bareSeries;
    for (int i = 0; i < WARM_UP_RUNS + repeats; ++i) {
        DialogTimes consentTimes = TimeDialog(consent);
        DialogTimes bareTimes = TimeDialog(bare);
        if (i < WARM_UP_RUNS) continue;
        Record(consentSeries, consentTimes, 8);
        Record(bareSeries, bareTimes, IDCANCEL);
    }
    double consentInit = Median(consentSeries.initialised), bareInit = Median(bareSeries.initialised);
    double consentVisible = Median(consentSeries.visible), bareVisible = Median(bareSeries.visible);
    double consentPainted = Median(consentSeries.painted), barePainted = Median(bareSeries.painted);
    printf("| Dialog (median of %d) | initialised, ms | visible, ms | visible and painted, ms |\n",
           repeats);
    printf("|---|---:|---:|---:|\n");
    printf("| RunMirelDialog, examples/offer.txt | %.1f | %.1f | %.1f |\n", consentInit,
           consentVisible, consentPainted);
    printf("| bare dialog, template %d, plain procedure | %.1f | %.1f | %.1f |\n", TEMPLATE_ID,
           bareInit, bareVisible, barePainted);
    printf("| ratio | %.2f | %.2f | %.2f |\n\n", Ratio(consentInit, bareInit),
           Ratio(consentVisible, bareVisible), Ratio(consentPainted, barePainted));
    if (consentSeries.failures || bareSeries.failures)
        fprintf(stderr, "runs not counted: %d consent, %d bare\n", consentSeries.failures,
                bareSeries.failures);
    return !consentSeries.visible.empty() && !bareSeries.visible.empty();
}

struct HtmlRow {
    size_t bytes = 0;
    HtmlTimes median;
};

bool MeasureSize(size_t bytes, int repeats, HtmlRow& row) {
    std::string html = MakeMessage(bytes);
    std::vector<double> create, parse, layout, paint;
    HtmlTimes times;
    for (int i = 0; i < repeats; ++i) {
        if (!TimeHtml(html, MESSAGE_WIDTH, times)) return false;
        create.push_back(times.createMs);
        parse.push_back(times.parseMs);
        layout.push_back(times.layoutMs);
        paint.push_back(times.paintMs);
    }
    row.bytes = html.size();
    row.median = times;
    row.median.createMs = Median(create);
    row.median.parseMs = Median(parse);
    row.median.layoutMs = Median(layout);
    row.median.paintMs = Median(paint);
    return true;
}


bool BenchHtml(int repeats) {
    const size_t sizes[] = {1024, 8 * 1024, 64 * 1024};
    std::vector<HtmlRow> rows;
    for (size_t bytes : sizes) {
        HtmlRow row;
        if (!MeasureSize(bytes, repeats, row)) return false;
        rows.push_back(row);
    }
    printf("| Message (median of %d) | bytes | elements | height, px | control created, ms "
           "| parse, ms | layout, ms | first paint, ms | growth of the last three |\n",
           repeats);
    printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (size_t i = 0; i < rows.size(); ++i) {
        const HtmlTimes& t = rows[i].median;
        double total = t.parseMs + t.layoutMs + t.paintMs;
        std::string growth = "-";
        if (i > 0) {
            const HtmlTimes& p = rows[i - 1].median;
            char text[64];
            snprintf(text, sizeof text, "x%.1f for x%.1f bytes",
                     Ratio(total, p.parseMs + p.layoutMs + p.paintMs),
                     Ratio(static_cast<double>(rows[i].bytes), static_cast<double>(rows[i - 1].bytes)));
            growth = text;
        }
        printf("| %zu KB | %zu | %d | %d | %.2f | %.2f | %.2f | %.2f | %s |\n", sizes[i] / 1024,
               rows[i].bytes, t.elements, t.contentHeight, t.createMs, t.parseMs, t.layoutMs,
               t.paintMs, growth.c_str());
    }
    printf("\n");
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
    bool ok = BenchDialogs(library, argv[2], repeats) && BenchHtml(repeats);
    FreeLibrary(library);
    return ok ? 0 : 1;
}
