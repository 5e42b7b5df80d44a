#include "control/open_pdf.h"

#include "common/testing/memory_file_system.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace folivex {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using testing::MemoryFileSystem;

constexpr char kPdf[] = "%PDF-1.4\r\n%binary";

// A control around the open, as a script: what each download does, when the document view
// appears, and host code run while messages are processed. Every call lands in a journal.
class FakeEnvironment : public OpenEnvironment {
public:
    struct Download {
        bool starts = true;
        int passes = 2; // message passes until it finishes
        bool succeeds = true;
        std::string content = kPdf;
        std::optional<std::wstring> hostTarget; // what a DownloadStarted handler sets
        std::function<void()> onStart;          // host code inside BeginDownload

        Download& Passes(int n) {
            passes = n;
            return *this;
        }
        Download& NotStarting() {
            starts = false;
            return *this;
        }
        Download& Failing() {
            succeeds = false;
            return *this;
        }
        Download& Content(std::string c) {
            content = std::move(c);
            return *this;
        }
        Download& HostTarget(std::wstring t) {
            hostTarget = std::move(t);
            return *this;
        }
        Download& OnStart(std::function<void()> f) {
            onStart = std::move(f);
            return *this;
        }
    };
    using D = Download;

    FakeEnvironment(ViewerState& state, MemoryFileSystem& fs) : state_(state), fs_(fs) {
        fs_.AddDirectory(L"C:\\TEMP");
    }

    std::deque<Download> downloads;
    int walksUntilView = 2; // walks after a load that find nothing; -1: never
    HResult loadResult = kOk;
    std::function<void()> onPass; // host code run while messages are processed
    bool closed = false;
    bool throwOnLoad = false;

    std::vector<std::string> journal;
    std::vector<std::wstring> loaded;
    std::vector<std::chrono::milliseconds> waits;
    std::optional<bool> visible; // last ShowComponent
    bool coverHidden = false;
    int passes = 0;
    int walks = 0;

    std::wstring TempPath() override { return state_.TempPath; }

    bool BeginDownload(std::wstring& strURL, std::wstring& strFile) override {
        journal.push_back("begin");
        begun.push_back({strURL, strFile});
        state_.DownloadDone = kAutoFalse;
        Download script = downloads.empty() ? Download{} : downloads.front();
        if (!downloads.empty()) {
            downloads.pop_front();
        }
        if (script.onStart) {
            script.onStart();
        }
        if (!script.starts) {
            return false;
        }
        if (script.hostTarget) {
            strFile = *script.hostTarget;
        }
        active_ = Active{script, strFile};
        return true;
    }
    // This open's own download, whatever the control's shared flag says.
    bool DownloadDone() override { return !active_; }
    bool LastDownloadSucceeded() override { return lastSucceeded_; }

    HResult LoadFile(std::wstring& path) override {
        journal.push_back("load");
        if (throwOnLoad) {
            throw std::bad_alloc();
        }
        loaded.push_back(path);
        walksSinceLoad_ = 0;
        path = L"C:\\somewhere\\else.pdf"; // a component that writes back
        return loadResult;
    }

    void ProcessPendingMessages() override {
        journal.push_back("process");
        ++passes;
        if (active_ && --active_->left <= 0) {
            const Active finished = *active_;
            active_.reset();
            if (finished.script.succeeds) {
                fs_.AddFile(finished.target, finished.script.content);
            }
            lastSucceeded_ = finished.script.succeeds;
            state_.DownloadDone = kAutoTrue;
        }
        if (onPass) {
            auto hook = onPass; // the hook may replace itself
            hook();
        }
    }
    void WaitForMessage(std::chrono::milliseconds limit) override {
        journal.push_back("wait");
        waits.push_back(limit);
        now_ += limit;
    }
    std::chrono::steady_clock::time_point Now() override { return now_; }

    std::wstring CollectViewerWindows() override {
        journal.push_back("walk");
        ++walks;
        state_.Captured.Append(0x100 + walks, L"AVL_AVView", L"AVToolBarView");
        if (walksUntilView < 0 || walksSinceLoad_++ < walksUntilView) {
            return L"";
        }
        return L"AVPageView";
    }

    void ShowComponent(bool show) override {
        journal.push_back(show ? "show" : "hide");
        visible = show;
    }
    void HideCoverPanel() override {
        journal.push_back("cover");
        coverHidden = true;
    }
    bool Closed() override { return closed; }

    struct Begun {
        std::wstring url;
        std::wstring file;
    };
    std::vector<Begun> begun;

private:
    struct Active {
        Active(Download s, std::wstring t) : script(std::move(s)), target(std::move(t)) {
            left = script.passes;
        }
        Download script;
        std::wstring target;
        int left = 0;
    };

    ViewerState& state_;
    MemoryFileSystem& fs_;
    std::optional<Active> active_;
    bool lastSucceeded_ = false;
    int walksSinceLoad_ = 0;
    std::chrono::steady_clock::time_point now_{};
};

class OpenPDFTest : public ::testing::Test {
protected:
    OpenPDFTest() : env(state, fs) {
        fs.AddFile(L"C:\\docs\\a.pdf", kPdf);
        fs.AddFile(L"C:\\docs\\b.pdf", kPdf);
    }

    bool Open(const std::wstring& path = L"") {
        const AutoBool result = opener.OpenPDF(state, env, fs, path);
        EXPECT_TRUE(result == kAutoTrue || result == kAutoFalse);
        return FromAutoBool(result);
    }

    // A document already shown, so that the tests can see whether a failure hides it.
    void ShowLocal(const std::wstring& path = L"C:\\docs\\a.pdf") {
        ASSERT_TRUE(Open(path));
        ASSERT_EQ(env.visible, true);
        env.journal.clear();
        env.passes = 0;
    }

    bool Contains(const std::string& entry) const {
        for (const auto& e : env.journal) {
            if (e == entry) {
                return true;
            }
        }
        return false;
    }

    ViewerState state;
    MemoryFileSystem fs;
    FakeEnvironment env;
    DocumentOpener opener{OpenWaitSettings{}};
};

// --- Choosing the source ---------------------------------------------------------------------

TEST_F(OpenPDFTest, NoSourceChangesNothing) {
    EXPECT_FALSE(Open());
    EXPECT_FALSE(Open(L"   "));
    state.Path = L"  ";
    EXPECT_FALSE(Open(L""));
    EXPECT_TRUE(env.journal.empty());
    EXPECT_EQ(state.Path, L"  ");
}

TEST_F(OpenPDFTest, BlankArgumentFallsBackToPath) {
    state.Path = L"C:\\docs\\a.pdf";
    EXPECT_TRUE(Open(L"  "));
    ASSERT_EQ(env.loaded.size(), 1u);
    EXPECT_EQ(env.loaded[0], L"C:\\docs\\a.pdf");

    EXPECT_TRUE(Open(L"C:\\docs\\b.pdf")) << "a non-blank argument wins over Path";
    EXPECT_EQ(state.Path, L"C:\\docs\\b.pdf");
}

TEST_F(OpenPDFTest, SourceIsTrimmedAndCutAtNul) {
    EXPECT_TRUE(Open(L"  C:\\docs\\a.pdf  "));
    EXPECT_EQ(state.Path, L"C:\\docs\\a.pdf");
    EXPECT_TRUE(Open(L"C:\\docs\\b.pdf\0C:\\docs\\junk"s));
    EXPECT_EQ(state.Path, L"C:\\docs\\b.pdf");
    EXPECT_EQ(env.loaded.back(), L"C:\\docs\\b.pdf");
}

// --- Local documents -------------------------------------------------------------------------

TEST_F(OpenPDFTest, ShownLocalDocument) {
    state.ToolbarClosed = kAutoTrue;
    state.Captured.Append(1, L"old", L"old");
    state.Captured.Append(2, L"old", L"old");
    state.Captured.Append(3, L"old", L"old");

    EXPECT_TRUE(Open(L"C:\\docs\\a.pdf"));
    EXPECT_EQ(env.visible, true);
    EXPECT_TRUE(env.coverHidden);
    EXPECT_EQ(state.ToolbarClosed, kAutoFalse);
    EXPECT_EQ(state.Path, L"C:\\docs\\a.pdf");
    EXPECT_EQ(state.CurrentTempFile, L"");
    // The list was emptied before the wait and kept what every pass of the walk captured.
    EXPECT_EQ(state.Captured.WindowCount, env.walks);
    EXPECT_EQ(state.Captured.WindowHandles.front(), 0x101u);
    EXPECT_TRUE(fs.HasFile(L"C:\\docs\\a.pdf"));

    const std::vector<std::string> expected = {"process", "load",    "process", "walk",
                                               "wait",    "process", "walk",    "wait",
                                               "process", "walk",    "cover",   "show"};
    EXPECT_EQ(env.journal, expected);
}

TEST_F(OpenPDFTest, LocalFailuresLeaveTheShownDocumentAlone) {
    ShowLocal();
    fs.AddFile(L"C:\\docs\\notes.txt", "hello");
    fs.AddFile(L"C:\\docs\\hidden.pdf", kPdf, MemoryFileSystem::File::Hidden());
    for (const wchar_t* path :
         {L"C:\\docs\\missing.pdf", L"C:\\docs\\missing.txt", L"C:\\docs\\notes.txt",
          L"C:\\docs\\hidden.pdf", L"ftps://host/a.pdf", L"C:\\do<cs\\a.pdf"}) {
        EXPECT_FALSE(Open(path)) << path;
        EXPECT_EQ(env.visible, true) << path;
        EXPECT_EQ(state.Path, L"C:\\docs\\a.pdf") << path;
    }
    EXPECT_TRUE(env.journal.empty());
}

TEST_F(OpenPDFTest, KnownExtensionSkipsTheHeaderOthersNeedIt) {
    fs.AddFile(L"C:\\docs\\UPPER.PDF", "<html>not really</html>");
    fs.AddFile(L"C:\\docs\\form.xfdf", "<?xml?>");
    fs.AddFile(L"C:\\docs\\real.txt", "%PDF-1.7\nrest");
    fs.AddFile(L"C:\\docs\\fake.txt", "% PDF-1.7");
    EXPECT_TRUE(Open(L"C:\\docs\\UPPER.PDF"));
    EXPECT_TRUE(Open(L"C:\\docs\\form.xfdf"));
    EXPECT_TRUE(Open(L"C:\\docs\\real.txt"));
    EXPECT_FALSE(Open(L"C:\\docs\\fake.txt"));
    EXPECT_EQ(env.loaded.size(), 3u);
}

TEST_F(OpenPDFTest, LoadRequestFailedHidesAndKeepsTheNewPath) {
    ShowLocal();
    state.CurrentTempFile = L"C:\\TEMP\\prev.pdf";
    fs.AddFile(L"C:\\TEMP\\prev.pdf", kPdf);
    env.loadResult = static_cast<HResult>(0x80004005u);

    EXPECT_FALSE(Open(L"C:\\docs\\b.pdf"));
    EXPECT_EQ(env.visible, false);
    EXPECT_EQ(state.Path, L"C:\\docs\\b.pdf");
    EXPECT_EQ(state.CurrentTempFile, L"C:\\TEMP\\prev.pdf");
    EXPECT_TRUE(fs.HasFile(L"C:\\TEMP\\prev.pdf"));
    EXPECT_FALSE(Contains("walk")) << "no document view comes for a refused load";
}

TEST_F(OpenPDFTest, AFileTakenAwayWhileMessagesAreProcessedIsNotLoaded) {
    ShowLocal();
    const size_t loadsBefore = env.loaded.size();
    fs.AddFile(L"C:\\docs\\vanishing.pdf", kPdf);
    // The host's code, run by the processing before the load request, deletes the file.
    env.onPass = [this] {
        fs.DeleteFile(L"C:\\docs\\vanishing.pdf");
        env.onPass = nullptr;
    };

    EXPECT_FALSE(Open(L"C:\\docs\\vanishing.pdf"));
    EXPECT_EQ(env.loaded.size(), loadsBefore);
    EXPECT_EQ(env.visible, false);
    EXPECT_FALSE(Contains("walk")) << "no wait for a document view that cannot come";
}

TEST_F(OpenPDFTest, AComponentWritingThePathBackDoesNotRedirectTheBookkeeping) {
    fs.AddFile(L"C:\\somewhere\\else.pdf", kPdf);
    EXPECT_TRUE(Open(L"http://host/doc.pdf"));
    EXPECT_EQ(state.CurrentTempFile, L"C:\\TEMP\\doc.pdf");
    EXPECT_TRUE(Open(L"C:\\docs\\a.pdf"));
    EXPECT_TRUE(fs.HasFile(L"C:\\somewhere\\else.pdf"));
    EXPECT_FALSE(fs.HasFile(L"C:\\TEMP\\doc.pdf"));
}

// --- Remote documents ------------------------------------------------------------------------

TEST_F(OpenPDFTest, ShownRemoteDocumentThenALocalOneDeletesTheCopy) {
    EXPECT_TRUE(Open(L"http://host/docs/manual.pdf"));
    ASSERT_EQ(env.begun.size(), 1u);
    EXPECT_EQ(env.begun[0].url, L"http://host/docs/manual.pdf");
    EXPECT_EQ(env.begun[0].file, L"C:\\TEMP\\manual.pdf");
    EXPECT_EQ(env.loaded.back(), L"C:\\TEMP\\manual.pdf");
    EXPECT_EQ(state.Path, L"http://host/docs/manual.pdf");
    EXPECT_EQ(state.CurrentTempFile, L"C:\\TEMP\\manual.pdf");
    EXPECT_EQ(env.visible, true);

    EXPECT_TRUE(Open(L"C:\\docs\\a.pdf"));
    EXPECT_FALSE(fs.HasFile(L"C:\\TEMP\\manual.pdf"));
    EXPECT_EQ(state.CurrentTempFile, L"");
    EXPECT_EQ(state.Path, L"C:\\docs\\a.pdf");
}

TEST_F(OpenPDFTest, RemoteSchemesInAnyCase) {
    for (const wchar_t* address :
         {L"HTTP://HOST/A.PDF", L"https://host/b.pdf", L"ftp://host/c.pdf", L"FTP:/d.pdf"}) {
        EXPECT_TRUE(Open(address)) << address;
        EXPECT_EQ(state.Path, address);
    }
    EXPECT_EQ(env.begun.size(), 4u);
}

TEST_F(OpenPDFTest, DownloadWaitProcessesMessagesAndBlocksBetweenPasses) {
    env.downloads.push_back(FakeEnvironment::D().Passes(4));
    EXPECT_TRUE(Open(L"http://host/doc.pdf"));
    // Up to the load: begin, then process/wait pairs until the flag is set.
    const std::vector<std::string> head(env.journal.begin(), env.journal.begin() + 8);
    const std::vector<std::string> expected = {"begin", "process", "wait", "process",
                                               "wait",  "process", "wait", "process"};
    EXPECT_EQ(head, expected);
    // The platform's wait wakes on the download's messages: the bound between passes is the
    // slow fallback, not a polling interval.
    for (auto limit : env.waits) {
        EXPECT_EQ(limit, 100ms);
    }
}

TEST_F(OpenPDFTest, DownloadNotStartedHides) {
    ShowLocal();
    env.downloads.push_back(FakeEnvironment::D().NotStarting());
    EXPECT_FALSE(Open(L"http://host/doc.pdf"));
    EXPECT_EQ(env.visible, false);
    EXPECT_EQ(state.Path, L"C:\\docs\\a.pdf");
    EXPECT_FALSE(Contains("process"));
}

TEST_F(OpenPDFTest, DownloadedFileNotAPdfHidesAndLeavesTheFile) {
    ShowLocal();
    env.downloads.push_back(FakeEnvironment::D().Content("<html>404</html>"));
    EXPECT_FALSE(Open(L"http://host/getdoc?id=7"));
    EXPECT_EQ(env.begun[0].file, L"C:\\TEMP\\getdoc?id=7");
    EXPECT_EQ(env.visible, false);
    EXPECT_EQ(state.Path, L"C:\\docs\\a.pdf");
    EXPECT_EQ(state.CurrentTempFile, L"");
    EXPECT_EQ(fs.Content(L"C:\\TEMP\\getdoc?id=7"), "<html>404</html>");
}

TEST_F(OpenPDFTest, ExtensionlessDownloadPassesByItsHeader) {
    EXPECT_TRUE(Open(L"http://host/getdoc"));
    EXPECT_EQ(state.CurrentTempFile, L"C:\\TEMP\\getdoc");
}

TEST_F(OpenPDFTest, DownloadedHtmlUnderAPdfNameIsHandedToTheComponent) {
    env.downloads.push_back(FakeEnvironment::D().Content("<html>error</html>"));
    EXPECT_TRUE(Open(L"http://host/doc.pdf"));
    EXPECT_EQ(env.loaded.back(), L"C:\\TEMP\\doc.pdf");
}

TEST_F(OpenPDFTest, DownloadedFileMissingAtLoad) {
    ShowLocal();
    env.onPass = [&] {
        if (FromAutoBool(state.DownloadDone)) {
            fs.DeleteFile(L"C:\\TEMP\\doc.pdf"); // a host's DownloadComplete handler
        }
    };
    EXPECT_FALSE(Open(L"http://host/doc.pdf"));
    EXPECT_EQ(env.visible, false);
    EXPECT_EQ(state.Path, L"http://host/doc.pdf");
    EXPECT_EQ(state.CurrentTempFile, L"");
    EXPECT_FALSE(Contains("load"));
}

TEST_F(OpenPDFTest, TheHostMayRedirectTheDownload) {
    fs.AddDirectory(L"D:\\mine");
    env.downloads.push_back(FakeEnvironment::D().HostTarget(L"D:\\mine\\kept.pdf"));
    EXPECT_TRUE(Open(L"http://host/doc.pdf"));
    EXPECT_EQ(env.loaded.back(), L"D:\\mine\\kept.pdf");
    EXPECT_EQ(state.CurrentTempFile, L"D:\\mine\\kept.pdf");
}

TEST_F(OpenPDFTest, AddressEndingInSlashFails) {
    ShowLocal();
    env.downloads.push_back(FakeEnvironment::D().Failing());
    EXPECT_FALSE(Open(L"http://host/docs/"));
    ASSERT_EQ(env.begun.size(), 1u);
    EXPECT_EQ(env.begun[0].file, L"C:\\TEMP\\");
    EXPECT_EQ(env.visible, false);
    EXPECT_EQ(state.Path, L"C:\\docs\\a.pdf");
}

// --- Mended behaviour ------------------------------------------------------------------------

TEST_F(OpenPDFTest, AFailedDownloadNeverOpensAnOlderFileOfThatName) {
    fs.AddFile(L"C:\\TEMP\\doc.pdf", kPdf); // left by an earlier download
    env.downloads.push_back(FakeEnvironment::D().Failing());
    EXPECT_FALSE(Open(L"http://host/doc.pdf"));
    EXPECT_TRUE(env.loaded.empty());
    EXPECT_EQ(env.visible, false);
    EXPECT_EQ(state.Path, L"");
    EXPECT_EQ(state.CurrentTempFile, L"");
}

TEST_F(OpenPDFTest, DownloadNamesMustStayInTheDownloadDirectory) {
    ShowLocal();
    for (const wchar_t* address :
         {L"http://host/..\\..\\Windows\\evil.pdf", L"http://host/sub\\a.pdf", L"http://host/..",
          L"http://host/.", L"http://host/C:evil.pdf", L"http:evil.pdf",
          L"http://host/a.pdf:stream"}) {
        env.visible = true;
        EXPECT_FALSE(Open(address)) << address;
        EXPECT_EQ(env.visible, false) << address;
    }
    EXPECT_TRUE(env.begun.empty());
    EXPECT_EQ(state.Path, L"C:\\docs\\a.pdf");
}

TEST_F(OpenPDFTest, DocumentViewThatNeverComesEndsTheWait) {
    OpenWaitSettings settings;
    settings.documentViewTimeout = 200ms;
    DocumentOpener quick(settings);
    env.walksUntilView = -1;
    state.CurrentTempFile = L"C:\\TEMP\\prev.pdf";
    fs.AddFile(L"C:\\TEMP\\prev.pdf", kPdf);

    EXPECT_EQ(quick.OpenPDF(state, env, fs, L"C:\\docs\\a.pdf"), kAutoFalse);
    EXPECT_EQ(env.visible, false);
    EXPECT_EQ(state.Path, L"C:\\docs\\a.pdf");
    EXPECT_EQ(state.CurrentTempFile, L"C:\\TEMP\\prev.pdf");
    EXPECT_TRUE(fs.HasFile(L"C:\\TEMP\\prev.pdf"));
    EXPECT_FALSE(env.coverHidden);
    // Every pass processed messages and walked; in between the wait slept up to the fallback
    // tick (the platform wakes it early), the last time only for what was left of the bound.
    EXPECT_EQ(env.walks, env.passes - 1);
    EXPECT_EQ(env.waits, (std::vector<std::chrono::milliseconds>{100ms, 100ms}));
}

TEST_F(OpenPDFTest, TheDefaultBoundIsThirtySeconds) {
    env.walksUntilView = -1;
    EXPECT_FALSE(Open(L"C:\\docs\\a.pdf"));
    std::chrono::milliseconds waited{0};
    for (auto limit : env.waits) {
        waited += limit;
    }
    EXPECT_EQ(waited, 30000ms);
}

TEST_F(OpenPDFTest, TheFallbackBoundsBothWaitsAndNeverTheDeadline) {
    OpenWaitSettings settings;
    settings.pollInterval = 7000ms;
    settings.documentViewTimeout = 20000ms;
    DocumentOpener slow(settings);
    env.downloads.push_back(FakeEnvironment::D().Passes(3));
    env.walksUntilView = -1;
    EXPECT_EQ(slow.OpenPDF(state, env, fs, L"http://host/doc.pdf"), kAutoFalse);
    // Two waits for the download, then the document view's: 7 s, 7 s and what is left of 20 s.
    const std::vector<std::chrono::milliseconds> expected = {7000ms, 7000ms, 7000ms, 7000ms,
                                                             6000ms};
    EXPECT_EQ(env.waits, expected);

    settings.pollInterval = 0ms; // never a busy loop
    DocumentOpener eager(settings);
    env.waits.clear();
    env.walksUntilView = 2;
    EXPECT_EQ(eager.OpenPDF(state, env, fs, L"C:\\docs\\a.pdf"), kAutoTrue);
    EXPECT_EQ(env.waits, (std::vector<std::chrono::milliseconds>{1ms, 1ms}));
}

TEST_F(OpenPDFTest, TheSameAddressAgainDownloadsBesideTheShownCopy) {
    EXPECT_TRUE(Open(L"http://host/doc.pdf"));
    // The component holds the copy it shows: the fresh one cannot go over it.
    fs.FileAt(L"C:\\TEMP\\doc.pdf").locked = true;
    EXPECT_TRUE(Open(L"http://host/doc.pdf"));
    EXPECT_EQ(env.begun.back().file, L"C:\\TEMP\\doc (2).pdf");
    EXPECT_EQ(env.loaded.back(), L"C:\\TEMP\\doc (2).pdf");
    EXPECT_EQ(state.CurrentTempFile, L"C:\\TEMP\\doc (2).pdf");
    // Let go once the component shows the other copy.
    fs.FileAt(L"C:\\TEMP\\doc.pdf").locked = false;

    // And back, under another spelling of the directory: the shown copy is deleted.
    state.TempPath = L"c:\\temp\\";
    EXPECT_TRUE(Open(L"http://host/DOC (2).PDF"));
    EXPECT_EQ(env.begun.back().file, L"c:\\temp\\DOC (2) (2).PDF");
    EXPECT_TRUE(Open(L"http://host/doc.pdf"));
    EXPECT_EQ(env.begun.back().file, L"c:\\temp\\doc.pdf");
    EXPECT_EQ(fs.FilesIn(L"C:\\TEMP"), (std::vector<std::wstring>{L"doc.pdf"}));
}

TEST_F(OpenPDFTest, OpeningTheDownloadedCopyAsALocalFileKeepsIt) {
    EXPECT_TRUE(Open(L"http://host/doc.pdf"));
    EXPECT_TRUE(Open(L"C:\\TEMP\\doc.pdf"));
    EXPECT_TRUE(fs.HasFile(L"C:\\TEMP\\doc.pdf"));
    EXPECT_EQ(state.CurrentTempFile, L"");
}

TEST_F(OpenPDFTest, APreviousCopyInUseStaysSilently) {
    EXPECT_TRUE(Open(L"http://host/one.pdf"));
    fs.FileAt(L"C:\\TEMP\\one.pdf").locked = true;
    EXPECT_TRUE(Open(L"http://host/two.pdf"));
    EXPECT_TRUE(fs.HasFile(L"C:\\TEMP\\one.pdf"));
    EXPECT_EQ(state.CurrentTempFile, L"C:\\TEMP\\two.pdf");
}

// --- Re-entrancy -----------------------------------------------------------------------------

TEST_F(OpenPDFTest, ClosedDuringTheDownloadWaitEndsTheOpen) {
    ShowLocal();
    env.downloads.push_back(FakeEnvironment::D().Passes(1000));
    env.onPass = [&] {
        if (env.passes == 3) {
            env.closed = true;
        }
    };
    EXPECT_FALSE(Open(L"http://host/doc.pdf"));
    EXPECT_EQ(env.passes, 3);
    const std::vector<std::string> tail(env.journal.end() - 1, env.journal.end());
    EXPECT_EQ(tail, std::vector<std::string>{"process"}) << "nothing touched after the close";
    EXPECT_EQ(state.Path, L"C:\\docs\\a.pdf");
}

TEST_F(OpenPDFTest, ClosedDuringTheDocumentViewWaitEndsTheOpen) {
    env.walksUntilView = -1;
    env.onPass = [&] {
        if (env.walks == 5) {
            env.closed = true;
        }
    };
    EXPECT_FALSE(Open(L"C:\\docs\\a.pdf"));
    EXPECT_EQ(env.walks, 5);
    EXPECT_FALSE(env.visible.has_value());
    EXPECT_EQ(state.CurrentTempFile, L"");
}

TEST_F(OpenPDFTest, AnOpenStartedDuringTheDownloadWaitTakesOver) {
    ShowLocal();
    fs.AddFile(L"C:\\TEMP\\older.pdf", kPdf);
    state.CurrentTempFile = L"C:\\TEMP\\older.pdf";
    env.downloads.push_back(FakeEnvironment::D().Passes(5));
    bool nestedResult = false;
    env.onPass = [&] {
        if (env.passes == 2) {
            env.onPass = nullptr;
            nestedResult = Open(L"C:\\docs\\b.pdf");
        }
    };
    EXPECT_FALSE(Open(L"http://host/doc.pdf"));
    EXPECT_TRUE(nestedResult);
    EXPECT_EQ(state.Path, L"C:\\docs\\b.pdf");
    EXPECT_EQ(state.CurrentTempFile, L"");
    EXPECT_EQ(env.visible, true);
    EXPECT_EQ(env.loaded.back(), L"C:\\docs\\b.pdf");
    EXPECT_FALSE(fs.HasFile(L"C:\\TEMP\\older.pdf"));
}

TEST_F(OpenPDFTest, ARemoteOpenStartedDuringTheDownloadWaitTakesOver) {
    env.downloads.push_back(FakeEnvironment::D().Passes(50));
    env.downloads.push_back(FakeEnvironment::D().Passes(2));
    bool nestedResult = false;
    env.onPass = [&] {
        env.onPass = nullptr;
        nestedResult = Open(L"http://host/second.pdf");
    };
    EXPECT_FALSE(Open(L"http://host/first.pdf"));
    EXPECT_TRUE(nestedResult);
    EXPECT_EQ(env.loaded, std::vector<std::wstring>{L"C:\\TEMP\\second.pdf"})
        << "the outer open must not take the other download's completion for its own";
    EXPECT_EQ(state.Path, L"http://host/second.pdf");
    EXPECT_EQ(state.CurrentTempFile, L"C:\\TEMP\\second.pdf");
}

TEST_F(OpenPDFTest, AnOpenStartedFromTheDownloadStartedHandlerTakesOver) {
    env.downloads.push_back(
        FakeEnvironment::D().OnStart([&] { EXPECT_TRUE(Open(L"C:\\docs\\b.pdf")); }));
    EXPECT_FALSE(Open(L"http://host/doc.pdf"));
    EXPECT_EQ(state.Path, L"C:\\docs\\b.pdf");
    EXPECT_EQ(env.visible, true);
}

TEST_F(OpenPDFTest, AnOpenStartedDuringTheDocumentViewWaitTakesOver) {
    EXPECT_TRUE(Open(L"http://host/first.pdf"));
    env.journal.clear();
    env.walksUntilView = 3;
    bool nestedResult = false;
    env.onPass = [&] {
        if (env.walks > 0 && env.journal.back() == "process" && env.loaded.size() == 2) {
            env.onPass = nullptr;
            nestedResult = Open(L"http://host/second.pdf");
        }
    };
    EXPECT_FALSE(Open(L"C:\\docs\\a.pdf"));
    EXPECT_TRUE(nestedResult);
    EXPECT_EQ(state.Path, L"http://host/second.pdf");
    EXPECT_EQ(state.CurrentTempFile, L"C:\\TEMP\\second.pdf");
    EXPECT_TRUE(fs.HasFile(L"C:\\TEMP\\second.pdf")) << "the copy on screen is kept";
    EXPECT_FALSE(fs.HasFile(L"C:\\TEMP\\first.pdf"));
    EXPECT_EQ(env.visible, true);
}

TEST_F(OpenPDFTest, AHostDownloadNeitherEndsNorBreaksTheOpensWait) {
    env.downloads.push_back(FakeEnvironment::D().Passes(10));
    env.onPass = [&] {
        // The host's own download, started from a handler, ends first and sets the flag.
        if (env.passes == 2) {
            state.DownloadDone = kAutoTrue;
        }
    };
    EXPECT_TRUE(Open(L"http://host/doc.pdf"));
    EXPECT_GE(env.passes, 10) << "the open waited for its own download";
    EXPECT_EQ(env.loaded, (std::vector<std::wstring>{L"C:\\TEMP\\doc.pdf"}));
}

TEST_F(OpenPDFTest, TheHostMayChangeMembersDuringTheWait) {
    env.onPass = [&] {
        state.Path = L"changed";
        state.TempPath = L"D:\\";
        state.Captured.Clear();
    };
    EXPECT_TRUE(Open(L"http://host/doc.pdf"));
    EXPECT_EQ(state.CurrentTempFile, L"C:\\TEMP\\doc.pdf");
}

TEST_F(OpenPDFTest, AFailureInsideTheEnvironmentIsAFalseResult) {
    env.throwOnLoad = true;
    EXPECT_FALSE(Open(L"C:\\docs\\a.pdf"));
}

TEST(LoadFileRequest, CallsMemberTwoWithThePathByReference) {
    class Component : public ViewerComponent {
    public:
        HResult Invoke(int dispid, std::span<const ComponentArg> args) override {
            this->dispid = dispid;
            EXPECT_EQ(args.size(), 1u);
            EXPECT_EQ(args[0].kind, ComponentArg::Kind::StringRef);
            seen = *static_cast<std::wstring*>(args[0].target);
            return kFail;
        }
        HResult PutSource(const std::wstring&) override { return kOk; }
        HResult GetSource(std::wstring&) override { return kOk; }
        HResult Print() override { return kOk; }
        int dispid = 0;
        std::wstring seen;
    } component;
    std::wstring path = L"C:\\docs\\a.pdf";
    EXPECT_EQ(LoadFileRequest(component, path), kFail);
    EXPECT_EQ(component.dispid, 2);
    EXPECT_EQ(component.seen, L"C:\\docs\\a.pdf");
}

} // namespace
} // namespace folivex
