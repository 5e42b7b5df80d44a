// OpenPDF and BeginDownload against the loopback HTTP and FTP servers, with a C++ event sink.

#include "tests/windows/opening/failed_download_expectations.h"
#include "tests/windows/opening/opening_fixture.h"
#include "tests/windows/support/viewer_calls.h"

#include "com/bstr.h"

#include <gtest/gtest.h>

namespace folivex::testing {
namespace {

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

class Download : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_SERVERS();
        ASSERT_TRUE(session_.Viewer());
    }

    OpeningSession session_;
    const std::wstring three_ = TestDocument(L"three_pages.pdf");
};

TEST_F(Download, HttpDocumentIsDownloadedShownAndRecorded) {
    const std::wstring url = HttpUrl(L"three_pages.pdf");
    const std::wstring copy = session_.Temp().File(L"three_pages.pdf");
    ASSERT_TRUE(session_.Open(url));
    EXPECT_TRUE(session_.ComponentVisible());
    EXPECT_EQ(session_.Path(), url);
    EXPECT_EQ(session_.PageTotal(), 3);
    EXPECT_EQ(ReadWholeFile(copy), ReadWholeFile(three_));
    ASSERT_EQ(session_.LoadRequests().size(), 1u);
    EXPECT_EQ(session_.LoadRequests()[0], copy) << "the component loads the local copy";

    const std::vector<DISPID> order = session_.EventOrder();
    ASSERT_GE(order.size(), 2u);
    EXPECT_EQ(order.front(), kDownloadStarted);
    EXPECT_EQ(order.back(), kDownloadComplete);
    EXPECT_TRUE(session_.EventsOf(kDownloadError).empty());
    const auto complete = session_.EventsOf(kDownloadComplete);
    ASSERT_EQ(complete.size(), 1u);
    ASSERT_EQ(complete[0].numbers.size(), 1u);
    EXPECT_EQ(complete[0].numbers[0], static_cast<LONG>(ReadWholeFile(three_).size()));
    for (const RecordedEvent& event : session_.Host().Events()) {
        EXPECT_EQ(event.saveFile, copy);
        for (VARTYPE type : event.types) {
            EXPECT_TRUE(type & VT_BYREF) << "event " << event.id;
        }
    }

    // An upper-case scheme is remote too; the same address again lands on the shown copy,
    // which must survive its own replacement.
    session_.Host().ClearEvents();
    std::wstring upper = url;
    upper.replace(0, 4, L"HTTP");
    ASSERT_TRUE(session_.Open(upper));
    ASSERT_TRUE(session_.Open(url));
    EXPECT_TRUE(PathExists(copy));
    EXPECT_EQ(session_.EventsOf(kDownloadStarted).size(), 2u);
    const std::wstring saved = session_.Temp().File(L"saved.pdf");
    EXPECT_TRUE(session_.SaveCopy(saved)) << "the current copy is still recorded";
    EXPECT_EQ(ReadWholeFile(saved), ReadWholeFile(three_));
}

TEST_F(Download, RedirectAndSlowBodyWithProgressInOrder) {
    ASSERT_TRUE(session_.Open(HttpUrl(L"redirect.pdf")));
    EXPECT_EQ(ReadWholeFile(session_.Temp().File(L"redirect.pdf")), ReadWholeFile(three_));
    EXPECT_EQ(session_.PageTotal(), 3);

    session_.Host().ClearEvents();
    ASSERT_TRUE(session_.Open(HttpUrl(L"slow.pdf")));
    const LONG size = static_cast<LONG>(ReadWholeFile(three_).size());
    const auto progress = session_.EventsOf(kDownloadProgress);
    ASSERT_GE(progress.size(), 2u) << "a body in eight pieces reports progress along the way";
    LONG last = 0;
    for (const RecordedEvent& event : progress) {
        ASSERT_EQ(event.numbers.size(), 2u);
        EXPECT_GE(event.numbers[0], last) << "CurBytes never falls";
        EXPECT_EQ(event.numbers[1], size) << "MaxBytes is the whole size";
        last = event.numbers[0];
    }
    EXPECT_EQ(last, size) << "the last progress reaches MaxBytes";
    EXPECT_EQ(session_.EventOrder(),
              (std::vector<DISPID>{kDownloadStarted, kDownloadProgress, kDownloadComplete}));
}

TEST_F(Download, FailedDownloadsWriteNothingAndReturnFalse) {
    // An unrelated file of the same name must survive the failed download untouched.
    const std::wstring standing = session_.Temp().File(L"missing.pdf");
    WriteWholeFile(standing, ReadWholeFile(three_));

    for (const wchar_t* route : {L"missing.pdf", L"error.pdf", L"empty.pdf", L"dropped.pdf"}) {
        SCOPED_TRACE(Narrow(route));
        ASSERT_TRUE(session_.Open(three_));
        ASSERT_TRUE(session_.ComponentVisible());
        session_.Host().ClearEvents();

        EXPECT_FALSE(session_.Open(HttpUrl(route)));
        EXPECT_FALSE(session_.ComponentVisible()) << "a failed remote open hides the component";
        EXPECT_EQ(session_.Path(), three_);
        const std::wstring target = session_.Temp().File(route);
        ASSERT_NO_FATAL_FAILURE(ExpectFailedDownload(session_, target));
        EXPECT_EQ(session_.EventsOf(kDownloadError)[0].saveFile, target);
        if (target != standing) {
            EXPECT_FALSE(PathExists(target)) << "no file is written";
        }
    }
    EXPECT_EQ(ReadWholeFile(standing), ReadWholeFile(three_));
    // The component never saw any of the failed documents.
    for (const std::wstring& load : session_.LoadRequests()) {
        EXPECT_EQ(load, three_);
    }
}

TEST_F(Download, OutcomeRowsOfRemoteOpens) {
    // Downloaded, but not a PDF: hidden, Path unchanged, the copy stays unrecorded.
    ASSERT_TRUE(session_.Open(three_));
    EXPECT_FALSE(session_.Open(HttpUrl(L"not_a_pdf.txt")));
    EXPECT_FALSE(session_.ComponentVisible());
    EXPECT_EQ(session_.Path(), three_);
    EXPECT_TRUE(PathExists(session_.Temp().File(L"not_a_pdf.txt")));

    // Downloaded, gone before the load: Path already holds the address.
    ASSERT_TRUE(session_.Open(three_));
    const std::wstring url = HttpUrl(L"one_page.pdf");
    session_.Host().OnEvent([](const RecordedEvent& event, BSTR*) {
        if (event.id == kDownloadComplete) {
            ::DeleteFileW(event.saveFile.c_str());
        }
    });
    EXPECT_FALSE(session_.Open(url));
    session_.Host().OnEvent(nullptr);
    EXPECT_FALSE(session_.ComponentVisible());
    EXPECT_EQ(session_.Path(), url);

    // Not started: a "remote" name that is no address the transport takes.
    ASSERT_TRUE(session_.Open(three_));
    session_.Host().ClearEvents();
    EXPECT_FALSE(session_.Open(L"httpfoo.pdf"));
    EXPECT_FALSE(session_.ComponentVisible());
    EXPECT_EQ(session_.Path(), three_);

    // Load request failed after a good download.
    {
        ScopedSetting fail(L"FOLIVEX_STANDIN_FAIL", L"2");
        EXPECT_FALSE(session_.Open(HttpUrl(L"five_pages_flate.pdf")));
    }
    EXPECT_FALSE(session_.ComponentVisible());
    EXPECT_EQ(session_.Path(), HttpUrl(L"five_pages_flate.pdf"));
    // Neither failure recorded its copy: SaveCopy falls back to Path, an address.
    EXPECT_FALSE(session_.SaveCopy(session_.Temp().File(L"saved.pdf")));
}

TEST_F(Download, NamesThatLeaveTheDownloadDirectoryAreRefusedUpFront) {
    const std::wstring base = HttpUrl(L"");
    for (const std::wstring& url : {base + L"sub\\three_pages.pdf", base + L"C:three_pages.pdf",
                                    base + L".", base + L"..", base + L"..\\..\\three_pages.pdf"}) {
        SCOPED_TRACE(Narrow(url));
        session_.Host().ClearEvents();
        EXPECT_FALSE(session_.Open(url));
        EXPECT_TRUE(session_.Host().Events().empty()) << "nothing was downloaded";
    }
    EXPECT_FALSE(PathExists(L"C:three_pages.pdf"));

    // An address ending in "/" names no file: its target is the download directory itself, which
    // a download cannot replace, so the open fails after a failed download.
    session_.Host().ClearEvents();
    EXPECT_FALSE(session_.Open(base));
    EXPECT_EQ(session_.EventsOf(kDownloadError).size(), 1u);
    EXPECT_TRUE(PathExists(session_.Temp().Path()));
}

TEST_F(Download, DownloadStartedHandlerRedirectsTheSaveFile) {
    const std::wstring elsewhere = session_.Temp().File(L"elsewhere.pdf");
    session_.Host().OnEvent([&](const RecordedEvent& event, BSTR* saveFile) {
        if (event.id == kDownloadStarted && saveFile) {
            com::AssignBstr(saveFile, elsewhere);
        }
    });

    // BeginDownload called by the host: its strFile follows the handler.
    std::wstring file = session_.Temp().File(L"asked.pdf");
    ASSERT_TRUE(session_.BeginDownload(HttpUrl(L"one_page.pdf"), file));
    EXPECT_EQ(file, elsewhere);
    ASSERT_TRUE(session_.WaitForDownloadComplete());
    EXPECT_EQ(ReadWholeFile(elsewhere), ReadWholeFile(TestDocument(L"one_page.pdf")));
    EXPECT_FALSE(PathExists(session_.Temp().File(L"asked.pdf")));
    for (const RecordedEvent& event : session_.Host().Events()) {
        if (event.id != kDownloadStarted) {
            EXPECT_EQ(event.saveFile, elsewhere) << "event " << event.id;
        }
    }

    // OpenPDF loads what the handler chose, and later deletes that copy.
    session_.Host().ClearEvents();
    ASSERT_TRUE(session_.Open(HttpUrl(L"three_pages.pdf")));
    EXPECT_EQ(session_.LoadRequests().back(), elsewhere);
    EXPECT_EQ(session_.PageTotal(), 3);
    EXPECT_FALSE(PathExists(session_.Temp().File(L"three_pages.pdf")));
    session_.Host().OnEvent(nullptr);
    ASSERT_TRUE(session_.Open(three_));
    EXPECT_FALSE(PathExists(elsewhere));
}

TEST_F(Download, PreviousCopyDeletedAfterTheNextOpenAndAtTermination) {
    const std::wstring first = session_.Temp().File(L"three_pages.pdf");
    const std::wstring second = session_.Temp().File(L"one_page.pdf");
    ASSERT_TRUE(session_.Open(HttpUrl(L"three_pages.pdf")));
    ASSERT_TRUE(PathExists(first));
    ASSERT_TRUE(session_.Open(HttpUrl(L"one_page.pdf")));
    EXPECT_FALSE(PathExists(first));
    EXPECT_TRUE(PathExists(second));

    // A failed open keeps the copy shown before.
    EXPECT_FALSE(session_.Open(HttpUrl(L"missing.pdf")));
    EXPECT_TRUE(PathExists(second));

    // A local document replaces it: the copy goes, the local file stays.
    ASSERT_TRUE(session_.Open(three_));
    EXPECT_FALSE(PathExists(second));
    EXPECT_TRUE(PathExists(three_));

    const std::wstring last = session_.Temp().File(L"five_pages_flate.pdf");
    ASSERT_TRUE(session_.Open(HttpUrl(L"five_pages_flate.pdf")));
    ASSERT_TRUE(PathExists(last));
    session_.Terminate();
    EXPECT_FALSE(PathExists(last)) << "termination deletes the last downloaded copy";
    EXPECT_TRUE(PathExists(three_));
}

TEST_F(Download, SaveCopyOfARemoteDocumentCopiesTheDownload) {
    ASSERT_TRUE(session_.Open(HttpUrl(L"five_pages_flate.pdf")));
    const std::wstring copy = session_.Temp().File(L"copy.pdf");
    EXPECT_TRUE(session_.SaveCopy(copy));
    EXPECT_EQ(ReadWholeFile(copy), ReadWholeFile(TestDocument(L"five_pages_flate.pdf")));
}

TEST_F(Download, LargeBodyArrivesWhole) {
    std::wstring file = session_.Temp().File(L"large.pdf");
    ASSERT_TRUE(session_.BeginDownload(HttpUrl(L"large.pdf?mb=24"), file));
    ASSERT_TRUE(session_.WaitForDownloadComplete());
    const LONG size = 24 * 1024 * 1024;
    const auto complete = session_.EventsOf(kDownloadComplete);
    ASSERT_EQ(complete.size(), 1u);
    EXPECT_EQ(complete[0].numbers, std::vector<LONG>{size});
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(::GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, static_cast<DWORD>(size));
    const auto progress = session_.EventsOf(kDownloadProgress);
    EXPECT_GE(progress.size(), 3u) << "a large body is reported in many steps";
}

class FtpDownload : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_SERVERS();
        ASSERT_TRUE(session_.Viewer());
    }
    ScopedSetting stall_{L"FOLIVEX_DOWNLOAD_STALL_MS", L"1500"};
    OpeningSession session_;
};

TEST_F(FtpDownload, FileAndMissingFile) {
    ASSERT_TRUE(session_.Open(FtpUrl(L"three_pages.pdf")));
    EXPECT_EQ(ReadWholeFile(session_.Temp().File(L"three_pages.pdf")),
              ReadWholeFile(TestDocument(L"three_pages.pdf")));
    EXPECT_EQ(session_.PageTotal(), 3);
    EXPECT_EQ(session_.Path(), FtpUrl(L"three_pages.pdf"));

    // Wine's urlmon never ends this read; the stall bound does.
    session_.Host().ClearEvents();
    EXPECT_FALSE(session_.Open(FtpUrl(L"nothing_here.pdf")));
    EXPECT_EQ(session_.EventOrder(),
              (std::vector<DISPID>{kDownloadStarted, kDownloadError, kDownloadComplete}));
    EXPECT_FALSE(PathExists(session_.Temp().File(L"nothing_here.pdf")));

    // A stalled HTTP body ends the same way.
    session_.Host().ClearEvents();
    EXPECT_FALSE(session_.Open(HttpUrl(L"stalled.pdf?s=20")));
    EXPECT_EQ(session_.EventsOf(kDownloadError).size(), 1u);
}

// Hosts whose handlers tear things down in the middle of an open.
class Reentrancy : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_SERVERS(); }
};

// Opens the slowly served document and releases the control from its first progress event.
void OpenReleasingAtFirstProgress(OpeningSession& session) {
    ASSERT_TRUE(session.Viewer());
    ViewerHost& host = session.Host();
    bool released = false;
    host.OnEvent([&](const RecordedEvent& event, BSTR*) {
        if (event.id == kDownloadProgress && !released) {
            released = true;
            host.Release();
        }
    });
    EXPECT_FALSE(session.Open(HttpUrl(L"slow.pdf")));
    EXPECT_TRUE(released);
}

TEST_F(Reentrancy, ReleasingTheControlFromAProgressHandler) {
    OpeningSession session;
    OpenReleasingAtFirstProgress(session);
    // Gone, with its download: no object of the library is left.
    EXPECT_EQ(WaitUntilLibraryCanUnload(), S_OK);
}

TEST_F(Reentrancy, ReleasingTheControlWhileItWaitsForTheDocumentView) {
    OpeningSession session;
    ASSERT_TRUE(session.Viewer());
    ViewerHost& host = session.Host();
    host.OnEvent([&](const RecordedEvent& event, BSTR*) {
        if (event.id == kDownloadComplete) {
            host.Release();
        }
    });
    ScopedSetting late(L"FOLIVEX_STANDIN_DOCVIEW_DELAY", L"200");
    EXPECT_FALSE(session.Open(HttpUrl(L"one_page.pdf")));
    EXPECT_EQ(WaitUntilLibraryCanUnload(), S_OK);
}

// Each session ends its apartment, which unloads Folivex.dll; the download machinery it used
// must still work when the library is loaded again, even after a download was cut off.
TEST_F(Reentrancy, DownloadsWorkAgainAfterTheLibraryWasUnloaded) {
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        OpeningSession session;
        OpenReleasingAtFirstProgress(session);
        EXPECT_EQ(WaitUntilLibraryCanUnload(), S_OK);
    }
    OpeningSession session;
    EXPECT_TRUE(session.Open(HttpUrl(L"one_page.pdf")));
}

TEST_F(Reentrancy, OpeningAnotherDocumentFromAnEventHandler) {
    OpeningSession session;
    ASSERT_TRUE(session.Viewer());
    const std::wstring local = TestDocument(L"five_pages_flate.pdf");
    bool inner = false;
    session.Host().OnEvent([&](const RecordedEvent& event, BSTR*) {
        if (event.id == kDownloadProgress && !inner) {
            inner = true;
            EXPECT_TRUE(session.Open(local));
        }
    });
    // The inner open took over; the outer one gives way without undoing it.
    EXPECT_FALSE(session.Open(HttpUrl(L"slow.pdf")));
    EXPECT_TRUE(inner);
    session.Host().OnEvent(nullptr);
    EXPECT_EQ(session.Path(), local);
    EXPECT_TRUE(session.ComponentVisible());
    EXPECT_EQ(session.PageTotal(), 5);

    // And from DownloadStarted, before the outer download is even requested.
    bool started = false;
    session.Host().OnEvent([&](const RecordedEvent& event, BSTR*) {
        if (event.id == kDownloadStarted && !started) {
            started = true;
            session.Open(HttpUrl(L"one_page.pdf"));
        }
    });
    session.Open(HttpUrl(L"three_pages.pdf"));
    session.Host().OnEvent(nullptr);
    PumpPostedMessages();
    EXPECT_TRUE(session.Open(HttpUrl(L"three_pages.pdf"))) << "the control still works";
    session.Host().Release();
    EXPECT_EQ(WaitUntilLibraryCanUnload(), S_OK);
}

} // namespace
} // namespace folivex::testing
