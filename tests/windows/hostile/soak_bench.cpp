// Soak: one control opens 1,000 documents in turn (local and downloaded, alternating, every
// fifth one failing) and prints what the process holds at the start and at the end: handles,
// GDI and USER objects (where the platform reports them), private bytes, and the files in the
// download folder. Prints only; the figures are to be read, not asserted.
//
//   folivex_soak_bench.exe [OPENS]        (default 1000; FOLIVEX_TEST_HTTP_URL must be set)

#include "tests/windows/opening/opening_fixture.h"
#include "tests/windows/support/viewer_calls.h"

#include "com/unique_handle.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace folivex::testing {
namespace {

struct Figures {
    DWORD handles = 0;
    DWORD gdi = 0;
    DWORD user = 0;
    SIZE_T privateBytes = 0;
    size_t files = 0;
};

size_t CountFiles(const std::wstring& folder) {
    size_t count = 0;
    WIN32_FIND_DATAW data;
    com::UniqueFind find(::FindFirstFileW((folder + L"*").c_str(), &data));
    if (!find) {
        return 0;
    }
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            ++count;
        }
    } while (::FindNextFileW(find.Get(), &data));
    return count;
}

Figures Measure(const std::wstring& folder) {
    Figures f;
    ::GetProcessHandleCount(::GetCurrentProcess(), &f.handles);
    f.gdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    f.user = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof(memory);
    ::K32GetProcessMemoryInfo(::GetCurrentProcess(),
                              reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
    // Wine leaves PrivateUsage at 0 and keeps the commit charge in PagefileUsage.
    f.privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    f.files = CountFiles(folder);
    return f;
}

// A count of 0 is a figure the platform does not report (Wine: handles, GDI and USER objects):
// shown as such rather than as a flat line.
std::string Count(DWORD value) {
    return value ? std::to_string(value) : std::string("n/a");
}

void Print(const char* when, const Figures& f) {
    std::printf("%-6s handles %5s  gdi %5s  user %5s  private %8.1f KiB  files %zu\n", when,
                Count(f.handles).c_str(), Count(f.gdi).c_str(), Count(f.user).c_str(),
                static_cast<double>(f.privateBytes) / 1024.0, f.files);
}

int Run(int opens) {
    if (HttpUrl(L"").empty()) {
        std::printf("needs the loopback servers (FOLIVEX_TEST_HTTP_URL)\n");
        return 1;
    }
    const std::wstring local[] = {TestDocument(L"three_pages.pdf"),
                                  TestDocument(L"five_pages_flate.pdf"),
                                  TestDocument(L"one_page.pdf")};
    const std::wstring remote[] = {HttpUrl(L"three_pages.pdf"), HttpUrl(L"one_page.pdf"),
                                   HttpUrl(L"five_pages_flate.pdf")};
    // Failing opens of each kind: a 404, a cut-off body, a missing local file, not a PDF.
    const std::wstring failing[] = {HttpUrl(L"missing.pdf"), HttpUrl(L"dropped.pdf"),
                                    TestDocument(L"no_such_file.pdf"),
                                    TestDocument(L"not_a_pdf.txt")};
    int succeeded = 0;
    int failed = 0;
    int unexpected = 0;
    {
        OpeningSession session;
        if (!session.Viewer()) {
            std::printf("the control could not be created\n");
            return 1;
        }
        const std::wstring folder = session.Temp().Path();
        // Settle first-use allocations before the first figures.
        session.Open(local[0]);
        session.Open(remote[0]);
        session.Host().ClearEvents();
        const Figures start = Measure(folder);
        Print("start", start);
        for (int i = 0; i < opens; ++i) {
            const bool failing_ = i % 5 == 4;
            const std::wstring& path =
                failing_ ? failing[(i / 5) % 4] : (i % 2 ? remote[i % 3] : local[i % 3]);
            const bool opened = session.Open(path);
            (opened ? succeeded : failed)++;
            if (opened == failing_) {
                ++unexpected;
            }
            // The events of each open are not kept: the recording would grow by itself.
            session.Host().ClearEvents();
            if (i % 100 == 99) {
                char when[16];
                std::snprintf(when, sizeof when, "@%d", i + 1);
                Print(when, Measure(folder));
            }
        }
        // The same kind of document as at the start, so the download folder compares.
        session.Open(remote[0]);
        const Figures end = Measure(folder);
        Print("end", end);
        std::printf(
            "growth: handles %+ld, gdi %+ld, user %+ld, private %+.1f KiB, files %+ld\n",
            static_cast<long>(end.handles) - static_cast<long>(start.handles),
            static_cast<long>(end.gdi) - static_cast<long>(start.gdi),
            static_cast<long>(end.user) - static_cast<long>(start.user),
            (static_cast<double>(end.privateBytes) - static_cast<double>(start.privateBytes)) /
                1024.0,
            static_cast<long>(end.files) - static_cast<long>(start.files));
    }
    std::printf("%d opens: %d shown, %d failed, %d not as expected\n", opens, succeeded, failed,
                unexpected);
    std::printf("library can unload after the control: %s\n",
                WaitUntilLibraryCanUnload() == S_OK ? "yes" : "NO");
    return 0;
}

} // namespace
} // namespace folivex::testing

int main(int argc, char** argv) {
    return folivex::testing::Run(argc > 1 ? std::atoi(argv[1]) : 1000);
}
