// Opening against hosts and components that push at the edges: a component that holds the file
// it shows open, and hosts that start downloads of their own in the middle of an open.

#include "tests/windows/opening/opening_fixture.h"

#include <gtest/gtest.h>

namespace folivex::testing {
namespace {

bool ServersRunning() {
    return !HttpUrl(L"").empty();
}

// The names of the entries in a directory, "." and ".." left out.
std::vector<std::wstring> FilesIn(const std::wstring& directory) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found = {};
    HANDLE search = ::FindFirstFileW((directory + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(name);
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

// Viewers keep the document they show open, refusing deletion and writing.
TEST(HeldCopy, TheSameAddressAgainShowsAFreshCopyAndTerminationLeavesNothing) {
    if (!ServersRunning()) {
        GTEST_SKIP() << "needs the loopback servers";
    }
    ScopedSetting hold(L"FOLIVEX_STANDIN_HOLD_FILE", L"1");
    OpeningSession session;
    ASSERT_TRUE(session.Viewer());
    const std::wstring address = HttpUrl(L"three_pages.pdf");
    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE(round);
        EXPECT_TRUE(session.Open(address));
        EXPECT_TRUE(session.ComponentVisible());
        EXPECT_EQ(session.PageTotal(), 3);
        const std::vector<std::wstring> loads = session.LoadRequests();
        ASSERT_EQ(loads.size(), static_cast<size_t>(round));
        EXPECT_TRUE(PathExists(loads.back()));
        if (round > 1) {
            EXPECT_NE(loads.back(), loads[loads.size() - 2]) << "a fresh copy, not the held one";
            EXPECT_FALSE(PathExists(loads[loads.size() - 2])) << "the copy shown before goes";
        }
        EXPECT_EQ(FilesIn(session.Temp().Path()).size(), 1u);
    }
    session.Terminate();
    EXPECT_TRUE(FilesIn(session.Temp().Path()).empty()) << "the last copy was still held";
}

// A host that starts a download of its own while an open waits for its download or for the
// document view: the open follows its own download to its end.
class ReentrantHost : public ::testing::Test {
protected:
    void SetUp() override {
        if (!ServersRunning()) {
            GTEST_SKIP() << "needs the loopback servers";
        }
        ASSERT_TRUE(session_.Viewer());
    }

    // Starts the host's own download from inside a handler, once.
    void StartHostDownloadAt(ViewerEvent kind, const wchar_t* route) {
        hostFile_ = session_.Temp().File(L"host_copy.pdf");
        session_.Host().OnEvent([this, kind, route](const RecordedEvent& event, BSTR*) {
            if (event.id == kind && !started_) {
                started_ = true;
                std::wstring file = hostFile_;
                EXPECT_TRUE(session_.BeginDownload(HttpUrl(route), file));
            }
        });
    }

    // The DownloadComplete events in arrival order, by file.
    std::vector<std::wstring> Completed() const {
        std::vector<std::wstring> files;
        for (const RecordedEvent& event : session_.EventsOf(kDownloadComplete)) {
            files.push_back(event.saveFile);
        }
        return files;
    }

    OpeningSession session_;
    std::wstring hostFile_;
    bool started_ = false;
};

TEST_F(ReentrantHost, ADownloadStartedFromTheOpensProgressHandlerEndsFirstAndLeavesTheOpenAlone) {
    StartHostDownloadAt(kDownloadProgress, L"one_page.pdf");
    // slow.pdf takes about a second; the host's small document arrives well before it.
    EXPECT_TRUE(session_.Open(HttpUrl(L"slow.pdf")));
    EXPECT_TRUE(started_);
    EXPECT_EQ(session_.Path(), HttpUrl(L"slow.pdf"));
    EXPECT_TRUE(session_.ComponentVisible());
    EXPECT_EQ(session_.PageTotal(), 3) << "the open's own document is shown";
    const std::vector<std::wstring> completed = Completed();
    ASSERT_EQ(completed.size(), 2u);
    EXPECT_EQ(completed[0], hostFile_) << "the host's download ended first";
    EXPECT_EQ(completed[1], session_.Temp().File(L"slow.pdf"));
    EXPECT_TRUE(PathExists(hostFile_));
}

TEST_F(ReentrantHost, ADownloadStartedWhileTheOpenWaitsForTheDocumentView) {
    ScopedSetting late(L"FOLIVEX_STANDIN_DOCVIEW_DELAY", L"300");
    StartHostDownloadAt(kDownloadComplete, L"slow.pdf");
    EXPECT_TRUE(session_.Open(HttpUrl(L"one_page.pdf")));
    EXPECT_TRUE(started_);
    EXPECT_TRUE(session_.ComponentVisible());
    EXPECT_EQ(session_.PageTotal(), 1);
    // The host's download goes on after the open and ends in its own file.
    const ULONGLONG end = ::GetTickCount64() + 20000;
    while (Completed().size() < 2 && ::GetTickCount64() < end) {
        PumpMessages(10);
    }
    ASSERT_EQ(Completed().size(), 2u);
    EXPECT_EQ(Completed()[1], hostFile_);
    EXPECT_TRUE(PathExists(hostFile_));
    EXPECT_EQ(session_.LoadRequests().size(), 1u) << "the host's download is not opened";
}

} // namespace
} // namespace folivex::testing
