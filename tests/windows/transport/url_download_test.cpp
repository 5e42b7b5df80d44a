// Windows-side check of the urlmon transport with the download logic on top, against the shared
// loopback HTTP server (its address in FOLIVEX_TEST_HTTP_URL). Prints one line per check and
// exits with the number of failed checks; the last line is "url_download_test: passed" only when
// none failed.

#include "common/testing/memory_file_system.h"
#include "download/downloader.h"
#include "download/win32_url_download.h"

#include "com/apartment.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>

namespace {

using folivex::DownloadId;
using folivex::DownloadOutcome;

int g_failures = 0;

void Check(bool ok, const char* what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
    if (!ok) {
        ++g_failures;
    }
}

struct Events : folivex::DownloadEvents {
    void DownloadStarted(std::wstring&) override { ++started; }
    void DownloadProgress(std::int32_t cur, std::int32_t max, std::wstring) override {
        ++progress;
        lastCur = cur;
        lastMax = max;
    }
    void DownloadError(std::wstring) override { ++errors; }
    void DownloadComplete(std::int32_t max, std::wstring) override {
        ++completes;
        completeBytes = max;
    }
    void Reset() { *this = Events(); }
    int started = 0, progress = 0, errors = 0, completes = 0;
    std::int32_t lastCur = 0, lastMax = 0, completeBytes = -1;
};

// Pumps messages until the download has finished; a safety limit keeps a broken run finite.
DownloadOutcome Wait(folivex::Downloader& downloader, DownloadId id) {
    const ULONGLONG giveUp = ::GetTickCount64() + 120000;
    while (downloader.Outcome(id) == DownloadOutcome::Pending && ::GetTickCount64() < giveUp) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    return downloader.Outcome(id);
}

} // namespace

int wmain() {
    wchar_t address[512] = {};
    if (!::GetEnvironmentVariableW(L"FOLIVEX_TEST_HTTP_URL", address, 512) || !address[0]) {
        std::printf("FOLIVEX_TEST_HTTP_URL is not set: run under the loopback servers\n");
        return 100;
    }
    const std::wstring base = address;
    folivex::com::Apartment apartment;
    {
        folivex::testing::MemoryFileSystem files;
        files.AddDirectory(L"C:\\TEMP");
        folivex::Win32UrlDownloadService service;
        Events events;
        folivex::Downloader downloader(service, files, service, events);
        // Above the slow route's pauses (150 ms), below its whole time (about 1 s).
        downloader.SetStallMilliseconds(600);

        auto run = [&](const std::wstring& path, const std::wstring& file) {
            events.Reset();
            std::wstring url = base + path;
            std::wstring saveFile = file;
            DownloadId id = 0;
            if (!downloader.BeginDownload(url, saveFile, &id)) {
                return DownloadOutcome::Unknown;
            }
            return Wait(downloader, id);
        };

        Check(run(L"one_page.pdf", L"C:\\TEMP\\small.pdf") == DownloadOutcome::Succeeded,
              "small document succeeds");
        Check(files.Content(L"C:\\TEMP\\small.pdf").rfind("%PDF-", 0) == 0, "small document saved");
        Check(events.started == 1 && events.completes == 1 && events.errors == 0,
              "small document events");

        Check(run(L"large.pdf?mb=8", L"C:\\TEMP\\big.bin") == DownloadOutcome::Succeeded,
              "8 MiB body succeeds");
        Check(files.Content(L"C:\\TEMP\\big.bin").size() == 8u * 1024 * 1024, "8 MiB body saved");
        Check(events.progress >= 8, "8 MiB body brings progress while it arrives");
        Check(events.lastMax == 8 * 1024 * 1024 && events.completeBytes == 8 * 1024 * 1024,
              "8 MiB body reports its size");
        std::printf("     (%d progress events)\n", events.progress);

        files.AddFile(L"C:\\TEMP\\kept.pdf", "%PDF-old");
        Check(run(L"missing.pdf", L"C:\\TEMP\\kept.pdf") == DownloadOutcome::Failed, "404 fails");
        Check(events.errors == 1 && events.completes == 1 && events.completeBytes == 0,
              "404 raises DownloadError and DownloadComplete 0");
        Check(files.Content(L"C:\\TEMP\\kept.pdf") == "%PDF-old", "404 keeps the existing file");

        Check(run(L"empty.pdf", L"C:\\TEMP\\empty.pdf") == DownloadOutcome::Failed,
              "empty body fails");
        Check(!files.HasFile(L"C:\\TEMP\\empty.pdf"), "empty body writes no file");

        Check(run(L"slow.pdf", L"C:\\TEMP\\slow.pdf") == DownloadOutcome::Succeeded,
              "slow but steady body (1 s, stall bound 0.6 s) succeeds");
        Check(files.Content(L"C:\\TEMP\\slow.pdf").rfind("%PDF-", 0) == 0, "slow body saved");

        Check(run(L"stalled.pdf?s=20", L"C:\\TEMP\\stall.pdf") == DownloadOutcome::Failed,
              "stalled body is aborted");
        Check(events.errors == 1 && events.completeBytes == 0, "stall reported as an error");
        Check(files.FilesIn(L"C:\\TEMP").size() == 4u, "no part files left behind");

        Check(run(L"one_page.pdf", L"C:\\TEMP\\again.pdf") == DownloadOutcome::Succeeded &&
                  run(L"headers.txt", L"C:\\TEMP\\headers.txt") == DownloadOutcome::Succeeded,
              "headers readable");
        Check(files.Content(L"C:\\TEMP\\headers.txt") == "Cache-Control=no-cache;Pragma=no-cache",
              "no-cache request headers sent");
        std::printf("     (%s)\n", files.Content(L"C:\\TEMP\\headers.txt").c_str());

        events.Reset();
        std::wstring refused = L"http://127.0.0.1:1/none.pdf";
        std::wstring file = L"C:\\TEMP\\refused.pdf";
        DownloadId id = 0;
        const bool begun = downloader.BeginDownload(refused, file, &id);
        Check(!begun || Wait(downloader, id) == DownloadOutcome::Failed,
              "connection refused fails");

        // A read still running when the control goes away is aborted quietly.
        std::wstring bigUrl = base + L"large.pdf?mb=64";
        std::wstring bigFile = L"C:\\TEMP\\abandoned.bin";
        Check(downloader.BeginDownload(bigUrl, bigFile, &id), "abandoned read starts");
    }
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::DispatchMessageW(&message);
    }
    std::printf("%d failed\n", g_failures);
    if (g_failures == 0) {
        std::printf("url_download_test: passed\n");
    }
    return g_failures;
}
