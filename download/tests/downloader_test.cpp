#include "download/downloader.h"

#include "common/testing/memory_file_system.h"
#include "download/testing/fake_download_service.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace folivex {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Records every event as text, with DownloadDone as the handler sees it, and lets a test act
// from inside a handler.
class RecordingEvents : public DownloadEvents {
public:
    void DownloadStarted(std::wstring& SaveFile) override {
        log.push_back(L"Started " + SaveFile);
        if (onStarted) {
            onStarted(SaveFile);
        }
    }
    void DownloadProgress(std::int32_t CurBytes, std::int32_t MaxBytes,
                          std::wstring SaveFile) override {
        log.push_back(L"Progress " + std::to_wstring(CurBytes) + L"/" + std::to_wstring(MaxBytes) +
                      L" " + SaveFile);
        if (onProgress) {
            onProgress();
        }
    }
    void DownloadError(std::wstring SaveFile) override {
        log.push_back(L"Error " + SaveFile);
        if (onError) {
            onError();
        }
    }
    void DownloadComplete(std::int32_t MaxBytes, std::wstring SaveFile) override {
        log.push_back(L"Complete " + std::to_wstring(MaxBytes) + L" " + SaveFile +
                      (done && FromAutoBool(done()) ? L" done" : L" not-done"));
        if (onComplete) {
            onComplete();
        }
    }

    std::vector<std::wstring> log;
    std::function<AutoBool()> done;
    std::function<void(std::wstring&)> onStarted;
    std::function<void()> onProgress, onError, onComplete;
};

class DownloaderTest : public ::testing::Test {
protected:
    DownloaderTest() {
        files.AddDirectory(L"C:\\TEMP");
        events.done = [this] { return downloader->DownloadDone(); };
    }

    // Starts a download to `file` and forgets the Started entry.
    DownloadId Begin(std::wstring file = L"C:\\TEMP\\doc.pdf",
                     std::wstring url = L"http://host/doc.pdf") {
        DownloadId id = 0;
        EXPECT_TRUE(downloader->BeginDownload(url, file, &id));
        events.log.clear();
        return id;
    }

    testing::MemoryFileSystem files;
    testing::FakeDownloadService service;
    testing::FakeDownloadClock clock;
    RecordingEvents events;
    std::unique_ptr<Downloader> downloader =
        std::make_unique<Downloader>(service, files, clock, events);
};

TEST_F(DownloaderTest, SuccessfulDownloadRaisesEventsInOrderAndSavesTheBody) {
    std::wstring url = L"http://host/doc.pdf";
    std::wstring file = L"C:\\TEMP\\doc.pdf";
    DownloadId id = 0;
    ASSERT_TRUE(downloader->BeginDownload(url, file, &id));
    EXPECT_EQ(downloader->DownloadDone(), kAutoFalse);
    EXPECT_EQ(downloader->Outcome(id), DownloadOutcome::Pending);
    ASSERT_EQ(service.reads.size(), 1u);
    EXPECT_EQ(service.Last().request.url, url);
    EXPECT_EQ(service.Last().request.propertyName, file);
    EXPECT_TRUE(service.Last().request.newestVersion);

    service.Last().Deliver("%PDF-1.4 body", 8);

    EXPECT_THAT(events.log,
                ElementsAre(L"Started C:\\TEMP\\doc.pdf", L"Progress 8/13 C:\\TEMP\\doc.pdf",
                            L"Progress 13/13 C:\\TEMP\\doc.pdf",
                            L"Complete 13 C:\\TEMP\\doc.pdf done"));
    EXPECT_EQ(files.Content(L"C:\\TEMP\\doc.pdf"), "%PDF-1.4 body");
    EXPECT_THAT(files.FilesIn(L"C:\\TEMP"), ElementsAre(L"doc.pdf")); // no part file left
    EXPECT_EQ(downloader->Outcome(id), DownloadOutcome::Succeeded);
    EXPECT_EQ(url, L"http://host/doc.pdf");
    EXPECT_FALSE(clock.Ticking());
}

TEST_F(DownloaderTest, StartedHandlerRedirectsTheDownloadAndTheCallersFile) {
    events.onStarted = [](std::wstring& saveFile) { saveFile = L"C:\\TEMP\\other.pdf"; };
    std::wstring url = L"http://host/doc.pdf";
    std::wstring file = L"C:\\TEMP\\doc.pdf";
    ASSERT_TRUE(downloader->BeginDownload(url, file));
    EXPECT_EQ(file, L"C:\\TEMP\\other.pdf");
    EXPECT_EQ(service.Last().request.propertyName, L"C:\\TEMP\\other.pdf");

    service.Last().Deliver("%PDF", 4);
    EXPECT_THAT(events.log,
                ElementsAre(L"Started C:\\TEMP\\doc.pdf", L"Progress 4/4 C:\\TEMP\\other.pdf",
                            L"Complete 4 C:\\TEMP\\other.pdf done"));
    EXPECT_EQ(files.Content(L"C:\\TEMP\\other.pdf"), "%PDF");
    EXPECT_FALSE(files.HasFile(L"C:\\TEMP\\doc.pdf"));
}

TEST_F(DownloaderTest, ProgressOfUnknownSizeRaisesNoEventButTheBodyIsSaved) {
    const DownloadId id = Begin();
    auto& read = service.Last();
    read.Progress(0, 0);
    read.Data("%PDF-");
    read.Progress(5, 0);
    read.Data("1.7");
    read.Complete();
    EXPECT_THAT(events.log, ElementsAre(L"Complete 8 C:\\TEMP\\doc.pdf done"));
    EXPECT_EQ(files.Content(L"C:\\TEMP\\doc.pdf"), "%PDF-1.7");
    EXPECT_EQ(downloader->Outcome(id), DownloadOutcome::Succeeded);
}

TEST_F(DownloaderTest, EmptyBodyIsAnErrorAndWritesNoFile) {
    const DownloadId id = Begin();
    service.Last().Complete(true, 200);
    EXPECT_THAT(events.log,
                ElementsAre(L"Error C:\\TEMP\\doc.pdf", L"Complete 0 C:\\TEMP\\doc.pdf done"));
    EXPECT_THAT(files.FilesIn(L"C:\\TEMP"), IsEmpty());
    EXPECT_EQ(downloader->DownloadDone(), kAutoTrue);
    EXPECT_EQ(downloader->Outcome(id), DownloadOutcome::Failed);
}

// Each way a read can fail: an error status with an error page, a transport failure after part
// of the body. The existing destination must come through untouched.
struct FailureCase {
    const char* name;
    std::function<void(testing::FakeDownloadService::Read&)> drive;
};

void PrintTo(const FailureCase& failure, std::ostream* out) {
    *out << failure.name;
}

class DownloadFailureTest : public DownloaderTest,
                            public ::testing::WithParamInterface<FailureCase> {};

TEST_P(DownloadFailureTest, FailsWithErrorThenCompleteAndKeepsTheExistingFile) {
    files.AddFile(L"C:\\TEMP\\doc.pdf", "%PDF-old");
    const DownloadId id = Begin();
    GetParam().drive(service.Last());
    EXPECT_THAT(events.log, ::testing::IsSupersetOf({L"Error C:\\TEMP\\doc.pdf"}));
    ASSERT_GE(events.log.size(), 2u);
    EXPECT_EQ(events.log[events.log.size() - 2], L"Error C:\\TEMP\\doc.pdf");
    EXPECT_EQ(events.log.back(), L"Complete 0 C:\\TEMP\\doc.pdf done");
    EXPECT_EQ(files.Content(L"C:\\TEMP\\doc.pdf"), "%PDF-old");
    EXPECT_THAT(files.FilesIn(L"C:\\TEMP"), ElementsAre(L"doc.pdf"));
    EXPECT_EQ(downloader->Outcome(id), DownloadOutcome::Failed);
    EXPECT_FALSE(service.Last().Live());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, DownloadFailureTest,
    ::testing::Values(
        FailureCase{"NotFound",
                    [](auto& read) { read.Deliver("<html>Not Found</html>", 64, 404); }},
        FailureCase{"ServerError", [](auto& read) { read.Deliver("<html>oops</html>", 64, 500); }},
        FailureCase{"TransportErrorAfterPartOfTheBody",
                    [](auto& read) {
                        read.Data("%PDF-1.4 par");
                        read.Progress(12, 1000);
                        read.Complete(false, 0);
                    }},
        FailureCase{"BodyShortOfItsAnnouncedLength",
                    [](auto& read) {
                        read.Data("%PDF-1.4 par");
                        read.Progress(12, 1000);
                        read.Complete(true, 200);
                    }},
        FailureCase{"TransportErrorWithNothing", [](auto& read) { read.Complete(false, 0); }},
        FailureCase{"EmptyBody", [](auto& read) { read.Complete(true, 200); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DownloaderTest, UnwritableDestinationIsReportedAsAFailedDownload) {
    // A directory that does not exist: the read is stopped at the first data.
    const DownloadId missingDir = Begin(L"C:\\Nowhere\\doc.pdf");
    service.Last().Data("%PDF");
    EXPECT_TRUE(service.Last().aborted);
    EXPECT_THAT(events.log, ElementsAre(L"Error C:\\Nowhere\\doc.pdf",
                                        L"Complete 0 C:\\Nowhere\\doc.pdf done"));
    EXPECT_EQ(downloader->Outcome(missingDir), DownloadOutcome::Failed);

    // The disk fills up in the middle: the old file stays, the part file goes.
    files.AddFile(L"C:\\TEMP\\full.pdf", "%PDF-old");
    files.FailWritesAfter(6);
    Begin(L"C:\\TEMP\\full.pdf");
    service.Last().Data("%PDF-1");
    service.Last().Data(".4");
    EXPECT_TRUE(service.Last().aborted);
    EXPECT_EQ(events.log.back(), L"Complete 0 C:\\TEMP\\full.pdf done");
    EXPECT_EQ(files.Content(L"C:\\TEMP\\full.pdf"), "%PDF-old");
    EXPECT_THAT(files.FilesIn(L"C:\\TEMP"), ElementsAre(L"full.pdf"));
    files.FailWritesAfter(std::nullopt);

    // A read-only destination cannot be replaced at the end.
    files.AddFile(L"C:\\TEMP\\ro.pdf", "%PDF-old", testing::MemoryFileSystem::File::ReadOnly());
    const DownloadId readOnly = Begin(L"C:\\TEMP\\ro.pdf");
    service.Last().Deliver("%PDF-new", 64);
    EXPECT_EQ(events.log.back(), L"Complete 0 C:\\TEMP\\ro.pdf done");
    EXPECT_EQ(files.Content(L"C:\\TEMP\\ro.pdf"), "%PDF-old");
    EXPECT_EQ(downloader->Outcome(readOnly), DownloadOutcome::Failed);
    EXPECT_THAT(files.FilesIn(L"C:\\TEMP"),
                ::testing::UnorderedElementsAre(L"full.pdf", L"ro.pdf"));

    // No name at all.
    Begin(L"");
    service.Last().Data("%PDF");
    EXPECT_EQ(events.log.back(), L"Complete 0  done");
}

TEST_F(DownloaderTest, StalledReadIsAbortedButASlowSteadyOneIsNot) {
    downloader->SetStallMilliseconds(1000);
    const DownloadId steady = Begin(L"C:\\TEMP\\steady.pdf");
    auto& steadyRead = service.Last();
    const DownloadId stalled = Begin(L"C:\\TEMP\\stalled.pdf");
    auto& stalledRead = service.Last();
    stalledRead.Data("%PDF-1.4 ");
    EXPECT_TRUE(clock.Ticking());

    // The steady read gets a byte every 0.9 s for 20 s; the other one nothing after its first.
    for (int i = 0; i < 22; ++i) {
        clock.Advance(900);
        steadyRead.Data("x");
        steadyRead.Progress(static_cast<std::uint64_t>(i) + 1, 0);
    }
    EXPECT_TRUE(stalledRead.aborted);
    EXPECT_EQ(downloader->Outcome(stalled), DownloadOutcome::Failed);
    EXPECT_THAT(files.FilesIn(L"C:\\TEMP"),
                ::testing::Not(::testing::Contains(::testing::HasSubstr(L"stalled"))));
    EXPECT_EQ(downloader->Outcome(steady), DownloadOutcome::Pending);
    EXPECT_TRUE(steadyRead.Live());

    steadyRead.Complete();
    EXPECT_EQ(downloader->Outcome(steady), DownloadOutcome::Succeeded);
    EXPECT_EQ(files.Content(L"C:\\TEMP\\steady.pdf"), std::string(22, 'x'));
    EXPECT_THAT(events.log, ElementsAre(L"Error C:\\TEMP\\stalled.pdf",
                                        L"Complete 0 C:\\TEMP\\stalled.pdf done",
                                        L"Complete 22 C:\\TEMP\\steady.pdf done"));
    EXPECT_FALSE(clock.Ticking());
}

TEST_F(DownloaderTest, ReadThatNeverAnswersIsAbortedAfterTheDefaultMinute) {
    const DownloadId id = Begin(L"C:\\TEMP\\ftp.pdf", L"ftp://host/missing.pdf");
    clock.Advance(59'000);
    EXPECT_EQ(downloader->Outcome(id), DownloadOutcome::Pending);
    clock.Advance(2'000);
    EXPECT_EQ(downloader->Outcome(id), DownloadOutcome::Failed);
    EXPECT_TRUE(service.Last().aborted);
    EXPECT_EQ(downloader->DownloadDone(), kAutoTrue);
}

TEST_F(DownloaderTest, TwoDownloadsShareOneDoneFlagButKeepTheirOwnOutcome) {
    const DownloadId first = Begin(L"C:\\TEMP\\a.pdf");
    auto& firstRead = service.Last();
    const DownloadId second = Begin(L"C:\\TEMP\\b.pdf");
    auto& secondRead = service.Last();

    firstRead.Deliver("%PDF-a", 64);
    EXPECT_EQ(downloader->DownloadDone(), kAutoTrue);
    EXPECT_EQ(downloader->Outcome(first), DownloadOutcome::Succeeded);
    EXPECT_EQ(downloader->Outcome(second), DownloadOutcome::Pending);

    secondRead.Deliver("%PDF-b", 64);
    EXPECT_EQ(files.Content(L"C:\\TEMP\\a.pdf"), "%PDF-a");
    EXPECT_EQ(files.Content(L"C:\\TEMP\\b.pdf"), "%PDF-b");
    EXPECT_EQ(downloader->Outcome(second), DownloadOutcome::Succeeded);
    EXPECT_EQ(downloader->Outcome(999), DownloadOutcome::Unknown);
}

TEST_F(DownloaderTest, ARefusedReadReturnsFalseWithNoEventInsideTheCall) {
    service.refuse = true;
    std::wstring url = L"http://host/doc.pdf";
    std::wstring file = L"C:\\TEMP\\doc.pdf";
    EXPECT_FALSE(downloader->BeginDownload(url, file));
    EXPECT_EQ(downloader->DownloadDone(), kAutoFalse);
    EXPECT_THAT(events.log, ElementsAre(L"Started C:\\TEMP\\doc.pdf"));
    EXPECT_FALSE(clock.Ticking());

    service.refuse = false;
    // Refused through the notifications before StartRead returned: the same as no read at all.
    service.failAtOnce = true;
    events.log.clear();
    DownloadId id = 0;
    EXPECT_FALSE(downloader->BeginDownload(url, file, &id));
    EXPECT_THAT(events.log, ElementsAre(L"Started C:\\TEMP\\doc.pdf"));
    EXPECT_EQ(downloader->DownloadDone(), kAutoFalse);
    EXPECT_EQ(id, 0u);
    EXPECT_FALSE(clock.Ticking());
    EXPECT_THAT(files.FilesIn(L"C:\\TEMP"), IsEmpty());
}

TEST_F(DownloaderTest, HandlersMayReleaseTheControlAtAnyEvent) {
    // Released while the download is announced: no read is started.
    events.onStarted = [this](std::wstring&) { downloader.reset(); };
    std::wstring url = L"http://host/doc.pdf";
    std::wstring file = L"C:\\TEMP\\doc.pdf";
    // Call through a copy of the pointer: the object goes away inside the call.
    Downloader* raw = downloader.get();
    EXPECT_FALSE(raw->BeginDownload(url, file));
    EXPECT_TRUE(service.reads.empty());
    events.onStarted = nullptr;

    // Released during progress: the read is aborted and the part file removed.
    downloader = std::make_unique<Downloader>(service, files, clock, events);
    Begin();
    events.onProgress = [this] { downloader.reset(); };
    service.Last().Data("%PDF");
    service.Last().Progress(4, 100);
    EXPECT_TRUE(service.Last().aborted);
    EXPECT_THAT(files.FilesIn(L"C:\\TEMP"), IsEmpty());
    EXPECT_FALSE(clock.Ticking());
    events.onProgress = nullptr;

    // Released at the error: DownloadComplete is not raised on a control that is gone.
    events.done = nullptr;
    downloader = std::make_unique<Downloader>(service, files, clock, events);
    Begin();
    events.onError = [this] { downloader.reset(); };
    service.Last().Complete(false, 0);
    EXPECT_THAT(events.log, ElementsAre(L"Error C:\\TEMP\\doc.pdf"));
    events.onError = nullptr;

    // Released with a read outstanding, outside any event.
    downloader = std::make_unique<Downloader>(service, files, clock, events);
    Begin();
    service.Last().Data("%PDF");
    downloader.reset();
    EXPECT_TRUE(service.Last().aborted);
    EXPECT_THAT(files.FilesIn(L"C:\\TEMP"), IsEmpty());
    EXPECT_FALSE(clock.Ticking());
}

TEST_F(DownloaderTest, HandlersMayStartAnotherDownloadFromAnyEvent) {
    // A complete handler that starts the next download leaves DownloadDone False for it.
    Begin(L"C:\\TEMP\\a.pdf");
    bool started = false;
    events.onComplete = [&] {
        if (!started) {
            started = true;
            std::wstring url = L"http://host/b.pdf";
            std::wstring file = L"C:\\TEMP\\b.pdf";
            EXPECT_TRUE(downloader->BeginDownload(url, file));
        }
    };
    service.Last().Deliver("%PDF-a", 64);
    EXPECT_EQ(downloader->DownloadDone(), kAutoFalse);
    ASSERT_EQ(service.reads.size(), 2u);
    events.onComplete = nullptr;

    // A progress handler that starts one more in the middle of the second read.
    bool again = false;
    events.onProgress = [&] {
        if (!again) {
            again = true;
            std::wstring url = L"http://host/c.pdf";
            std::wstring file = L"C:\\TEMP\\c.pdf";
            EXPECT_TRUE(downloader->BeginDownload(url, file));
        }
    };
    service.reads[1]->Deliver("%PDF-b", 2);
    service.reads[2]->Deliver("%PDF-c", 64);
    EXPECT_EQ(files.Content(L"C:\\TEMP\\b.pdf"), "%PDF-b");
    EXPECT_EQ(files.Content(L"C:\\TEMP\\c.pdf"), "%PDF-c");
    EXPECT_EQ(downloader->DownloadDone(), kAutoTrue);
}

TEST_F(DownloaderTest, ThrowingHandlerDoesNotStopTheDownload) {
    events.onStarted = [](std::wstring&) { throw std::runtime_error("handler"); };
    events.onProgress = [] { throw std::runtime_error("handler"); };
    std::wstring url = L"http://host/doc.pdf";
    std::wstring file = L"C:\\TEMP\\doc.pdf";
    ASSERT_TRUE(downloader->BeginDownload(url, file));
    service.Last().Deliver("%PDF-1.4", 4);
    EXPECT_EQ(files.Content(L"C:\\TEMP\\doc.pdf"), "%PDF-1.4");
    EXPECT_EQ(events.log.back(), L"Complete 8 C:\\TEMP\\doc.pdf done");
}

// A handler that keeps the host busy (a message box in DownloadProgress) lets the transport's
// notifications in; none of them becomes an event inside the handler, and the handler's time
// does not count as a stall.
TEST_F(DownloaderTest, NoEventOfADownloadIsRaisedInsideOneOfItsHandlers) {
    downloader->SetStallMilliseconds(1000);
    const DownloadId id = Begin();
    auto& read = service.Last();
    int depth = 0;
    int deepest = 0;
    bool first = true;
    events.onProgress = [&] {
        ++depth;
        deepest = std::max(deepest, depth);
        if (first) {
            first = false;
            // Inside the handler: more progress, the rest of the body, the end, and much time.
            read.Data("-1.4 more");
            read.Progress(8, 13);
            read.Progress(13, 13);
            read.Complete();
            clock.Advance(5000);
            EXPECT_EQ(events.log.size(), 1u) << "nothing raised inside the handler";
            EXPECT_EQ(downloader->Outcome(id), DownloadOutcome::Pending);
        }
        --depth;
    };
    events.onComplete = [&] { ++depth, deepest = std::max(deepest, depth), --depth; };
    read.Data("%PDF");
    read.Progress(4, 13);
    EXPECT_EQ(deepest, 1);
    // Only the latest step that came meanwhile follows, then the end.
    EXPECT_THAT(events.log,
                ElementsAre(L"Progress 4/13 C:\\TEMP\\doc.pdf", L"Progress 13/13 C:\\TEMP\\doc.pdf",
                            L"Complete 13 C:\\TEMP\\doc.pdf done"));
    EXPECT_EQ(downloader->Outcome(id), DownloadOutcome::Succeeded);
    EXPECT_EQ(files.Content(L"C:\\TEMP\\doc.pdf"), "%PDF-1.4 more");
}

TEST_F(DownloaderTest, TheStallClockRestartsWhenTheHandlerReturns) {
    downloader->SetStallMilliseconds(1000);
    const DownloadId id = Begin();
    auto& read = service.Last();
    events.onProgress = [&] { clock.Advance(3000); };
    read.Data("%PDF");
    read.Progress(4, 100);
    EXPECT_EQ(downloader->Outcome(id), DownloadOutcome::Pending)
        << "the handler's time is not a stall";
    events.onProgress = nullptr;
    clock.Advance(500);
    EXPECT_EQ(downloader->Outcome(id), DownloadOutcome::Pending);
    // Silence after the handler still counts.
    clock.Advance(1500);
    EXPECT_EQ(downloader->Outcome(id), DownloadOutcome::Failed);
    EXPECT_TRUE(read.aborted);
}

TEST_F(DownloaderTest, AFailureInsideAHandlerIsRaisedAfterIt) {
    const DownloadId id = Begin();
    auto& read = service.Last();
    events.onProgress = [&] {
        files.FailWritesAfter(0);
        read.Data("more");
        EXPECT_EQ(events.log.size(), 1u);
    };
    read.Data("%PDF");
    read.Progress(4, 100);
    EXPECT_THAT(events.log,
                ElementsAre(L"Progress 4/100 C:\\TEMP\\doc.pdf", L"Error C:\\TEMP\\doc.pdf",
                            L"Complete 0 C:\\TEMP\\doc.pdf done"));
    EXPECT_EQ(downloader->Outcome(id), DownloadOutcome::Failed);
    EXPECT_TRUE(read.aborted);
    EXPECT_THAT(files.FilesIn(L"C:\\TEMP"), IsEmpty());
}

} // namespace
} // namespace folivex
