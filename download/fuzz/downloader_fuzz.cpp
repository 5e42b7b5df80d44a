// The downloader's state machine driven by generated notification sequences: reads started,
// refused or failing at once; progress, data and completions in any order and for any read;
// the stall clock moving; writes failing; and handlers that start another download or destroy
// the downloader from inside an event. Whatever happens: each download's events come in order
// (Started, Progress..., then Error only before Complete, Complete at most once), a download
// that succeeded left exactly the bytes received, one that failed left no file, and no part
// file outlives its download.

#include "common/fuzz/fuzz_input.h"
#include "common/testing/memory_file_system.h"
#include "download/downloader.h"
#include "download/testing/fake_download_service.h"

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace folivex;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

enum class Stage { Started, Progressing, Errored, Completed };

struct Harness;

class CheckingEvents : public DownloadEvents {
public:
    explicit CheckingEvents(Harness& harness) : harness_(harness) {}
    void DownloadStarted(std::wstring& SaveFile) override;
    void DownloadProgress(std::int32_t CurBytes, std::int32_t MaxBytes,
                          std::wstring SaveFile) override;
    void DownloadError(std::wstring SaveFile) override;
    void DownloadComplete(std::int32_t MaxBytes, std::wstring SaveFile) override;

private:
    void Act();
    Harness& harness_;
};

struct Harness {
    testing::MemoryFileSystem files;
    testing::FakeDownloadService service;
    testing::FakeDownloadClock clock;
    CheckingEvents events{*this};
    std::unique_ptr<Downloader> downloader =
        std::make_unique<Downloader>(service, files, clock, events);

    std::map<std::wstring, Stage> stages;       // by destination
    std::map<std::wstring, std::string> bodies; // bytes delivered to each live read
    std::map<std::wstring, bool> succeeded;     // completed downloads: with a size or not
    int next = 0;
    int depth = 0;
    // What the next handler does: 0 nothing, 1 starts a download, 2 destroys the downloader.
    int action = 0;

    std::wstring NewFile() { return L"C:\\TEMP\\d" + std::to_wstring(next++) + L".pdf"; }

    void Begin() {
        if (!downloader || depth > 3) {
            return;
        }
        std::wstring file = NewFile();
        const std::wstring url = L"http://127.0.0.1/" + file.substr(8);
        ++depth;
        downloader->BeginDownload(url, file);
        --depth;
    }
};

void CheckingEvents::DownloadStarted(std::wstring& SaveFile) {
    Check(!harness_.stages.count(SaveFile));
    harness_.stages[SaveFile] = Stage::Started;
    Act();
}

void CheckingEvents::DownloadProgress(std::int32_t CurBytes, std::int32_t MaxBytes,
                                      std::wstring SaveFile) {
    auto found = harness_.stages.find(SaveFile);
    Check(found != harness_.stages.end());
    Check(found->second == Stage::Started || found->second == Stage::Progressing);
    Check(CurBytes >= 0 && MaxBytes > 0);
    found->second = Stage::Progressing;
    Act();
}

void CheckingEvents::DownloadError(std::wstring SaveFile) {
    auto found = harness_.stages.find(SaveFile);
    Check(found != harness_.stages.end());
    Check(found->second == Stage::Started || found->second == Stage::Progressing);
    found->second = Stage::Errored;
    Check(!harness_.files.HasFile(SaveFile));
    Act();
}

void CheckingEvents::DownloadComplete(std::int32_t MaxBytes, std::wstring SaveFile) {
    auto found = harness_.stages.find(SaveFile);
    Check(found != harness_.stages.end());
    Check(found->second != Stage::Completed);
    const bool failed = found->second == Stage::Errored;
    found->second = Stage::Completed;
    Check(MaxBytes >= 0);
    if (failed) {
        Check(MaxBytes == 0);
        Check(!harness_.files.HasFile(SaveFile));
    } else {
        Check(MaxBytes > 0);
        Check(harness_.files.HasFile(SaveFile));
        Check(harness_.files.Content(SaveFile) == harness_.bodies[SaveFile]);
    }
    harness_.succeeded[SaveFile] = !failed;
    Act();
}

void CheckingEvents::Act() {
    const int action = harness_.action;
    harness_.action = 0;
    if (action == 1) {
        harness_.Begin();
    } else if (action == 2) {
        harness_.downloader.reset();
    }
}

bool IsPartFile(const std::wstring& name) {
    return name.size() > 5 && name.compare(name.size() - 5, 5, L".part") == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::FuzzInput input(data, size);
    Harness h;
    h.files.AddDirectory(L"C:\\TEMP");

    int steps = 0;
    while (!input.Empty() && ++steps < 2000) {
        const std::uint8_t op = input.Byte();
        auto& reads = h.service.reads;
        testing::FakeDownloadService::Read* read =
            reads.empty() ? nullptr : reads[input.Byte() % reads.size()].get();
        switch (op % 9) {
        case 0:
            h.service.refuse = (op & 0x10) != 0;
            h.service.failAtOnce = (op & 0x20) != 0;
            h.Begin();
            h.service.refuse = h.service.failAtOnce = false;
            break;
        case 1:
            if (read) {
                read->Progress(input.Dword() >> (input.Byte() % 32), input.Dword() % 5000);
            }
            break;
        case 2:
            if (read && read->Live()) {
                const std::string bytes(input.Byte() % 64, static_cast<char>(op));
                h.bodies[read->request.propertyName] += bytes;
                read->Data(bytes);
            }
            break;
        case 3:
            if (read) {
                const std::uint8_t how = input.Byte();
                read->Complete((how & 1) != 0, (how & 2) ? 200 : (how & 4) ? 404 : 0);
            }
            break;
        case 4:
            h.clock.Advance(input.Word() * 10);
            break;
        case 5:
            h.files.FailCreates((op & 0x10) != 0);
            break;
        case 6:
            h.files.FailWritesAfter((op & 0x10) ? std::optional<std::size_t>(input.Byte())
                                                : std::nullopt);
            break;
        case 7:
            h.action = 1 + (op & 0x10 ? 1 : 0);
            break;
        case 8:
            if (h.downloader && (op & 0x30) == 0x30) {
                h.downloader->SetStallMilliseconds(input.Word());
            }
            break;
        }
    }

    // Every finished download left its file or none; no part file outlives its download.
    h.downloader.reset();
    for (const auto& [file, stage] : h.stages) {
        if (stage == Stage::Completed) {
            Check(h.files.HasFile(file) == h.succeeded[file]);
        } else {
            Check(!h.files.HasFile(file));
        }
    }
    for (const std::wstring& name : h.files.FilesIn(L"C:\\TEMP")) {
        Check(!IsPartFile(name));
    }
    Check(!h.clock.Ticking());
    return 0;
}
