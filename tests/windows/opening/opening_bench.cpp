// Figures for opening documents: what the control's waits cost, how soon an open returns once
// the document is shown, and how downloads compare with a bare urlmon download. Prints only;
// nothing here passes or fails.
//
//   folivex_opening_bench.exe [MiB]     (MiB of the large download, default 200)
//
// Run with the loopback servers up (FOLIVEX_TEST_HTTP_URL) for the download figures.

#include "tests/windows/opening/opening_fixture.h"

#include <psapi.h>
#include <urlmon.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

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

double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto value = [](const FILETIME& t) {
        return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7;
    };
    return value(kernel) + value(user);
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

BOOL CALLBACK FindDocumentView(HWND window, LPARAM found) {
    wchar_t name[64] = {};
    wchar_t text[64] = {};
    ::GetClassNameW(window, name, 64);
    if (std::wstring(name) != L"AVL_AVView") {
        return TRUE;
    }
    ::InternalGetWindowText(window, text, 64);
    const std::wstring view = text;
    if (view == L"AVNullDocView" || view == L"AVPageView") {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

// Whether the component's document view window is anywhere below `root`. Reads only what the
// window manager holds (no messages), so another thread can ask while the owner is busy.
bool HasDocumentView(HWND root) {
    bool found = false;
    ::EnumChildWindows(root, FindDocumentView, reinterpret_cast<LPARAM>(&found));
    return found;
}

void CpuDuringTheDocumentViewWait() {
    ScopedSetting delay(L"FOLIVEX_STANDIN_DOCVIEW_DELAY", L"2000");
    OpeningSession session;
    const double cpuBefore = ProcessCpuSeconds();
    const double start = Seconds();
    const bool opened = session.Open(TestDocument(L"three_pages.pdf"));
    const double wall = Seconds() - start;
    const double cpu = ProcessCpuSeconds() - cpuBefore;
    std::printf("document-view wait (view after 2000 ms): %s, wall %.0f ms, CPU %.0f ms "
                "(%.1f%% of one core)\n",
                opened ? "opened" : "NOT OPENED", wall * 1000, cpu * 1000, 100 * cpu / wall);
}

void DelayFromDocumentViewToReturn() {
    ScopedSetting delay(L"FOLIVEX_STANDIN_DOCVIEW_DELAY", L"300");
    OpeningSession session;
    const HWND root = session.Host().ControlWindow();
    std::vector<double> delays;
    for (int round = 0; round < 8; ++round) {
        std::atomic<bool> stop{false};
        std::atomic<double> appeared{0};
        std::thread watcher([&] {
            // The load request removes the view of the document before; wait for the new one.
            bool gone = !HasDocumentView(root);
            while (!stop) {
                const bool present = HasDocumentView(root);
                if (!present) {
                    gone = true;
                } else if (gone) {
                    appeared = Seconds();
                    return;
                }
            }
        });
        const bool opened =
            session.Open(TestDocument(round % 2 ? L"one_page.pdf" : L"three_pages.pdf"));
        const double returned = Seconds();
        stop = true;
        watcher.join();
        if (opened && appeared > 0) {
            delays.push_back((returned - appeared) * 1000);
        }
    }
    if (delays.empty()) {
        std::printf("document view to OpenPDF return: no measurement\n");
        return;
    }
    std::sort(delays.begin(), delays.end());
    std::printf("document view to OpenPDF return: median %.2f ms, max %.2f ms (%zu opens)\n",
                delays[delays.size() / 2], delays.back(), delays.size());
}

void Downloads(int megabytes) {
    const std::wstring url = HttpUrl((L"large.pdf?mb=" + std::to_wstring(megabytes)).c_str());
    if (url.empty()) {
        std::printf("downloads: FOLIVEX_TEST_HTTP_URL not set, skipped\n");
        return;
    }
    const double bytes = megabytes * 1024.0 * 1024.0;
    {
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
                    "%.1f MiB, PrivateUsage %.1f MiB\n",
                    MiB(before.PeakPagefileUsage), MiB(after.PeakPagefileUsage),
                    MiB(after.PeakPagefileUsage - before.PeakPagefileUsage),
                    MiB(before.PeakWorkingSetSize), MiB(after.PeakWorkingSetSize),
                    MiB(after.PagefileUsage));
        ::DeleteFileW(file.c_str());
    }
    {
        ScratchDirectory scratch;
        const std::wstring file = scratch.File(L"bare.pdf");
        const double start = Seconds();
        const HRESULT hr = ::URLDownloadToFileW(nullptr, url.c_str(), file.c_str(), 0, nullptr);
        const double seconds = Seconds() - start;
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        ::GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data);
        const double got =
            static_cast<double>(data.nFileSizeHigh) * 4294967296.0 + data.nFileSizeLow;
        std::printf("bare URLDownloadToFile of %d MiB: hr 0x%08lX, %.2f s, %.1f MiB/s%s\n",
                    megabytes, static_cast<unsigned long>(hr), seconds, megabytes / seconds,
                    got == bytes ? "" : " (size differs)");
        ::DeleteFileW(file.c_str());
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
