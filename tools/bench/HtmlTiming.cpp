#include "tools/bench/HtmlTiming.h"

#include "html/CHaleSimpleHtmlCtrl.h"
#include "tools/bench/BenchWindow.h"
#include "tools/bench/Stopwatch.h"
#include "util/ModuleInstance.h"
#include "window/DcScopes.h"

namespace {
const char HOST_CLASS[] = "MirelBenchHost";
const int PLACEHOLDER_ID = 215;
const int HOST_HEIGHT = 600;

// A visible top-level window; destroyed with the object.
class HostWindow {
public:
    explicit HostWindow(int width)
        : window(CreateBenchWindow(HOST_CLASS, "bench", width + 20, HOST_HEIGHT + 20)) {}
    ~HostWindow() {
        if (window) DestroyWindow(window);
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND window;
};

void DrainMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}
}  // namespace

bool TimeHtml(const std::string& html, const HtmlSetup& setup, HtmlTimes& times) {
    const int width = setup.width;
    // The control must outlive the host's window, which destroys its own.
    CHaleSimpleHtmlCtrl control(GetModuleInstance());
    HostWindow host(width);
    if (!host.window) return false;
    HWND placeholder = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 10, 10, width,
                                       HOST_HEIGHT, host.window,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(PLACEHOLDER_ID)),
                                       GetModuleHandleA(nullptr), nullptr);
    if (!placeholder) return false;
    double created = NowMs();
    if (!control.ReplaceDialogItem(placeholder)) return false;
    times.createMs = NowMs() - created;
    if (setup.dialogSettings) {
        control.SetMargins(0, 0, 0);
        control.SetScroll(FALSE);
    }
    DrainMessages();
    control.SetHtml(html.c_str());
    {
        ClientDcScope dc(&control);
        double start = NowMs();
        control.Parse();
        double parsed = NowMs();
        control.MeasureElements(dc);
        double measured = NowMs();
        control.LayoutLines(dc);
        control.needsParse = 0;
        double broken = NowMs();
        times.parseMs = parsed - start;
        times.measureMs = measured - parsed;
        times.breakMs = broken - measured;
    }
    double start = NowMs();
    RedrawWindow(control.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    GdiFlush();
    times.paintMs = NowMs() - start;
    times.elements = control.elements.count;
    times.contentHeight = 0;
    for (int i = 0; i < control.elements.count; ++i) {
        RECT box = control.ElementBox(control.GetElement(i), 0);
        if (box.bottom > times.contentHeight) times.contentHeight = box.bottom;
    }
    return true;
}
