#include "tools/bench/HtmlTiming.h"

#include "html/CHaleSimpleHtmlCtrl.h"
#include "tools/bench/Stopwatch.h"
#include "util/ModuleInstance.h"
#include "window/DcScopes.h"

namespace {
const char PARAGRAPH[] =
    "<p>Would you like to install <b>Extra Tool</b> as well? It is <i>free</i> and you can "
    "remove it at any time.<br><font color=\"#336699\">Extra Tool adds a search box</font> "
    "and reads the <a href=\"https://example.com/eula\">licence</a> first.</p>\n";
const char HOST_CLASS[] = "MirelBenchHost";
const int PLACEHOLDER_ID = 215;
const int HOST_HEIGHT = 600;

// A visible top-level window; destroyed with the object.
class HostWindow {
public:
    explicit HostWindow(int width) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = HOST_CLASS;
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, HOST_CLASS, "bench", WS_POPUP | WS_VISIBLE, 0, 0, width + 20,
                                 HOST_HEIGHT + 20, nullptr, nullptr, GetModuleHandleA(nullptr),
                                 nullptr);
    }
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

std::string MakeMessage(size_t bytes) {
    std::string html;
    while (html.size() + sizeof PARAGRAPH - 1 <= bytes) html += PARAGRAPH;
    return html;
}

bool TimeHtml(const std::string& html, int width, HtmlTimes& times) {
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
    DrainMessages();
    control.SetHtml(html.c_str());
    {
        ClientDcScope dc(&control);
        double start = NowMs();
        control.Parse();
        double parsed = NowMs();
        control.MeasureElements(dc);
        control.LayoutLines(dc);
        control.needsParse = 0;
        double laidOut = NowMs();
        times.parseMs = parsed - start;
        times.layoutMs = laidOut - parsed;
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
