// Figures for opening documents: what the control's waits cost, how soon an open returns once
// the document is shown, and how downloads compare with a bare urlmon download. Prints only;
// nothing here passes or fails.
//
//   folivex_opening_bench.exe [MiB]     (MiB of the large download, default 200)
//
// Run with the loopback servers up (FOLIVEX_TEST_HTTP_URL) for the download figures.

#include "tests/windows/opening/win32_linux_cpu.h"
#include "tests/windows/opening/opening_fixture.h"
#include "tests/windows/standin/standin_signals.h"

#include "com/unique_handle.h"

#include <psapi.h>
#include <urlmon.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace folivex::testing {
namespace {

double Seconds() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

PROCESS_MEMORY_COUNTERS Memory() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

double MiB(SIZE_T bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// Seconds on the performance counter when the component last began to create its document
// view on this thread, seen by a hook of the benchmark's own (no polling thread to compete for
// the two cores with the wait being measured).
std::atomic<double> g_viewCreated{0};

LRESULT CALLBACK NoteDocumentView(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        const bool named = create->lpszName && !IS_INTRESOURCE(create->lpszName);
        const bool classNamed = create->lpszClass && !IS_INTRESOURCE(create->lpszClass);
        if (named && classNamed && std::wstring(create->lpszClass) == L"AVL_AVView") {
            const std::wstring view = create->lpszName;
            if (view == L"AVNullDocView" || view == L"AVPageView") {
                g_viewCreated = Seconds();
            }
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// When the component last had its document view complete (made, filled, sized), from the
// stand-in's stamp: from then on the control alone decides how soon OpenPDF returns, since until
// then the component's own code runs on the control's thread. 0 when there is no stamp.
double ViewReadyStamp() {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(standin::DocumentViewReadyStamp()) /
           static_cast<double>(frequency.QuadPart);
}

struct CpuFigures {
    double wall = 0;
    double process = 0;
    double wineserver = 0;
    bool measured = false;
};

// CPU of the process and of its wineserver while `work` runs, from the Linux side.
template <typename Work>
CpuFigures MeasureCpu(Work&& work) {
    CpuFigures figures;
    const auto before = ReadLinuxCpu();
    const double start = Seconds();
    work();
    figures.wall = Seconds() - start;
    const auto after = ReadLinuxCpu();
    if (before && after) {
        figures.measured = true;
        figures.process = after->process - before->process;
        figures.wineserver = after->wineserver - before->wineserver;
    }
    return figures;
}

void PrintCpu(const char* what, const CpuFigures& cpu) {
    if (!cpu.measured) {
        std::printf("%s: wall %.0f ms, CPU not readable from /proc\n", what, cpu.wall * 1000);
        return;
    }
    std::printf("%s: wall %.0f ms, process CPU %.1f ms (%.2f%% of a core), wineserver CPU %.1f ms "
                "(%.2f%%)\n",
                what, cpu.wall * 1000, cpu.process * 1000, 100 * cpu.process / cpu.wall,
                cpu.wineserver * 1000, 100 * cpu.wineserver / cpu.wall);
}

void CpuDuringTheDocumentViewWait() {
    OpeningSession session;
    // The open's own work (load, tree, show) without a wait, to tell it from the wait's cost;
    // after a first open, whose one-time costs would count too.
    session.Open(TestDocument(L"three_pages.pdf"));
    bool openedAtOnce = false;
    const CpuFigures atOnce =
        MeasureCpu([&] { openedAtOnce = session.Open(TestDocument(L"one_page.pdf")); });
    ScopedSetting delay(L"FOLIVEX_STANDIN_DOCVIEW_DELAY", L"2000");
    // The floor: the same process doing nothing for as long, its thread asleep in a message wait.
    const CpuFigures idle = MeasureCpu([] {
        const double until = Seconds() + 2.0;
        for (double now = Seconds(); now < until; now = Seconds()) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE,
                                        static_cast<DWORD>((until - now) * 1000) + 1, 0);
        }
    });
    bool opened = false;
    const CpuFigures wait =
        MeasureCpu([&] { opened = session.Open(TestDocument(L"three_pages.pdf")); });
    PrintCpu("idle 2 s sleep (floor)", idle);
    PrintCpu(opened ? "document-view wait (view after 2000 ms)"
                    : "document-view wait (view after 2000 ms, NOT OPENED)",
             wait);
    PrintCpu(openedAtOnce ? "open with the view at once (no wait)"
                          : "open with the view at once (NOT OPENED)",
             atOnce);
    if (idle.measured && wait.measured && atOnce.measured) {
        // The wait's own cost: the 2 s open less the same open without a wait, over the wait.
        const double waitWall = wait.wall - atOnce.wall;
        std::printf("  the wait alone: process %.2f%%, wineserver %.2f%% of a core (floor %.2f%%, "
                    "%.2f%%)\n",
                    100 * (wait.process - atOnce.process) / waitWall,
                    100 * (wait.wineserver - atOnce.wineserver) / waitWall,
                    100 * idle.process / idle.wall, 100 * idle.wineserver / idle.wall);
    }
}

void PrintDelays(const char* from, std::vector<double> delays) {
    if (delays.empty()) {
        std::printf("%s to OpenPDF return: no measurement\n", from);
        return;
    }
    std::sort(delays.begin(), delays.end());
    std::printf("%s to OpenPDF return: median %.2f ms, max %.2f ms (%zu opens)\n", from,
                delays[delays.size() / 2], delays.back(), delays.size());
}

void DelayFromDocumentViewToReturn() {
    ScopedSetting delay(L"FOLIVEX_STANDIN_DOCVIEW_DELAY", L"300");
    OpeningSession session;
    com::UniqueHook created(
        ::SetWindowsHookExW(WH_CBT, NoteDocumentView, nullptr, ::GetCurrentThreadId()));
    std::vector<double> fromCreation;
    std::vector<double> fromReady;
    for (int round = 0; round < 24; ++round) {
        g_viewCreated = 0;
        ::SetEnvironmentVariableW(standin::kDocumentViewReadyVariable, nullptr);
        const bool opened =
            session.Open(TestDocument(round % 2 ? L"one_page.pdf" : L"three_pages.pdf"));
        const double returned = Seconds();
        if (opened && g_viewCreated > 0) {
            fromCreation.push_back((returned - g_viewCreated) * 1000);
        }
        const double ready = ViewReadyStamp();
        if (opened && ready > 0) {
            fromReady.push_back((returned - ready) * 1000);
        }
    }
    PrintDelays("document view made (component still building it)", fromCreation);
    PrintDelays("document view complete (component's code done)", fromReady);
}

// Seconds for the control to download `url` (0 when it failed), with its memory figures.
double ControlDownload(const std::wstring& url, int megabytes) {
    OpeningSession session;
    const PROCESS_MEMORY_COUNTERS before = Memory();
    std::wstring file = session.Temp().File(L"large.pdf");
    const double start = Seconds();
    const bool started = session.BeginDownload(url, file);
    bool done = false;
    while (started && !done) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        done = !session.EventsOf(kDownloadComplete).empty();
    }
    const double seconds = Seconds() - start;
    const PROCESS_MEMORY_COUNTERS after = Memory();
    const auto complete = session.EventsOf(kDownloadComplete);
    const long reported = complete.empty() || complete[0].numbers.empty()
                              ? -1
                              : static_cast<long>(complete[0].numbers[0]);
    std::printf("control download of %d MiB: %.2f s, %.1f MiB/s (MaxBytes %ld, %zu progress "
                "events)\n",
                megabytes, seconds, megabytes / seconds, reported,
                session.EventsOf(kDownloadProgress).size());
    std::printf("  PeakPagefileUsage %.1f -> %.1f MiB (+%.1f), PeakWorkingSetSize %.1f -> "
                "%.1f MiB (+%.1f)\n",
                MiB(before.PeakPagefileUsage), MiB(after.PeakPagefileUsage),
                MiB(after.PeakPagefileUsage) - MiB(before.PeakPagefileUsage),
                MiB(before.PeakWorkingSetSize), MiB(after.PeakWorkingSetSize),
                MiB(after.PeakWorkingSetSize) - MiB(before.PeakWorkingSetSize));
    ::DeleteFileW(file.c_str());
    return reported == static_cast<long>(megabytes * 1024L * 1024L) ? seconds : 0.0;
}

double BareDownload(const std::wstring& url, int megabytes) {
    ScratchDirectory scratch;
    const std::wstring file = scratch.File(L"bare.pdf");
    const double start = Seconds();
    const HRESULT hr = ::URLDownloadToFileW(nullptr, url.c_str(), file.c_str(), 0, nullptr);
    const double seconds = Seconds() - start;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ::GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data);
    const double got = static_cast<double>(data.nFileSizeHigh) * 4294967296.0 + data.nFileSizeLow;
    const bool whole = SUCCEEDED(hr) && got == megabytes * 1024.0 * 1024.0;
    std::printf("bare URLDownloadToFile of %d MiB: hr 0x%08lX, %.2f s, %.1f MiB/s%s\n", megabytes,
                static_cast<unsigned long>(hr), seconds, megabytes / seconds,
                whole ? "" : " (size differs)");
    ::DeleteFileW(file.c_str());
    return whole ? seconds : 0.0;
}

// Alternating rounds, so that both see the same load of the shared machine; the best of each.
void Downloads(int megabytes) {
    const std::wstring url = HttpUrl((L"large.pdf?mb=" + std::to_wstring(megabytes)).c_str());
    if (url.empty()) {
        std::printf("downloads: FOLIVEX_TEST_HTTP_URL not set, skipped\n");
        return;
    }
    double control = 0;
    double bare = 0;
    for (int round = 0; round < 3; ++round) {
        const double c = ControlDownload(url, megabytes);
        const double b = BareDownload(url, megabytes);
        control = c > 0 && (control == 0 || c < control) ? c : control;
        bare = b > 0 && (bare == 0 || b < bare) ? b : bare;
    }
    if (control > 0 && bare > 0) {
        std::printf("download throughput, control / bare (best of 3 each): %.3f\n", bare / control);
    } else {
        std::printf("download throughput ratio: no measurement\n");
    }
}

} // namespace
} // namespace folivex::testing

int main(int argc, char** argv) {
    using namespace folivex::testing;
    const int megabytes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    ComApartment apartment;
    CpuDuringTheDocumentViewWait();
    DelayFromDocumentViewToReturn();
    Downloads(megabytes);
    std::fflush(stdout);
    return 0;
}
