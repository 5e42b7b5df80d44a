// OpenPDF on local documents and SaveCopy, in a container of our own under Wine.

#include "tests/windows/opening/opening_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace folivex::testing {
namespace {

std::wstring DataDirectory() {
    std::wstring path = TestDocument(L"three_pages.pdf");
    return path.substr(0, path.find_last_of(L'\\'));
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

class LocalOpening : public ::testing::Test {
protected:
    OpeningSession session_;
    const std::wstring three_ = TestDocument(L"three_pages.pdf");
    const std::wstring five_ = TestDocument(L"five_pages_flate.pdf");
};

TEST_F(LocalOpening, ShowsTheDocumentAndRecordsItsPath) {
    ASSERT_TRUE(session_.Viewer());
    EXPECT_FALSE(session_.ComponentVisible()) << "hidden until a document is shown";

    EXPECT_TRUE(session_.Open(three_));
    EXPECT_TRUE(session_.ComponentVisible());
    EXPECT_EQ(session_.Path(), three_);
    EXPECT_EQ(session_.PageTotal(), 3);
    ASSERT_EQ(session_.LoadRequests().size(), 1u);
    EXPECT_EQ(session_.LoadRequests()[0], three_);

    EXPECT_TRUE(session_.Open(five_));
    EXPECT_EQ(session_.PageTotal(), 5);
    EXPECT_EQ(session_.Path(), five_);
    // No downloads, no download events.
    EXPECT_TRUE(session_.Host().Events().empty());
}

TEST(LocalOpeningNewLayout, WaitsForTheNewDocumentViewAndCountsNoPages) {
    OpeningSession session(OpeningSession::Layout::New);
    ScopedSetting late(L"FOLIVEX_STANDIN_DOCVIEW_DELAY", L"200");
    EXPECT_TRUE(session.Open(TestDocument(L"three_pages.pdf")));
    EXPECT_TRUE(session.ComponentVisible());
    // Its page box reads "1": no total to read in this layout.
    EXPECT_EQ(session.PageTotal(), 0);
}

TEST_F(LocalOpening, ChoosesTheSourceAndCleansIt) {
    // Both blank: nothing happens.
    EXPECT_FALSE(session_.Open(L""));
    EXPECT_FALSE(session_.Open(L"    "));
    EXPECT_EQ(session_.Path(), L"");
    EXPECT_FALSE(session_.ComponentVisible());
    EXPECT_TRUE(session_.LoadRequests().empty());

    // Path is the fallback.
    session_.SetPath(three_);
    EXPECT_TRUE(session_.Open(L"  "));
    EXPECT_EQ(session_.Path(), three_);

    // Blanks around the argument go, and it wins over Path.
    EXPECT_TRUE(session_.Open(L"   " + five_ + L"  "));
    EXPECT_EQ(session_.Path(), five_);

    // Cut at the first NUL before anything else.
    std::wstring withNul = three_;
    withNul += L'\0';
    withNul += L"rubbish";
    EXPECT_TRUE(session_.Open(withNul));
    EXPECT_EQ(session_.Path(), three_);
}

TEST_F(LocalOpening, LocalFailuresLeaveTheShownDocumentAlone) {
    ASSERT_TRUE(session_.Open(three_));
    const size_t loads = session_.LoadRequests().size();

    const std::wstring failing[] = {
        session_.Temp().File(L"missing.pdf"), // known extension, absent
        session_.Temp().File(L"missing.txt"), // unknown extension, absent
        TestDocument(L"not_a_pdf.txt"),       // no %PDF- first line
        L"ftps://127.0.0.1/three_pages.pdf",  // not remote: a missing local file
    };
    for (const std::wstring& path : failing) {
        EXPECT_FALSE(session_.Open(path)) << Narrow(path);
        EXPECT_TRUE(session_.ComponentVisible()) << Narrow(path);
        EXPECT_EQ(session_.Path(), three_) << Narrow(path);
    }
    EXPECT_EQ(session_.LoadRequests().size(), loads) << "the component saw none of them";
    EXPECT_EQ(session_.PageTotal(), 3);
}

TEST_F(LocalOpening, HeaderTestIgnoresCaseAndExtension) {
    const std::string pdf = ReadWholeFile(three_);
    ASSERT_EQ(pdf.substr(0, 5), "%PDF-");
    const std::wstring asText = session_.Temp().File(L"document.txt");
    WriteWholeFile(asText, pdf);
    EXPECT_TRUE(session_.Open(asText));
    EXPECT_EQ(session_.PageTotal(), 3);

    const std::wstring shortLine = session_.Temp().File(L"short.dat");
    WriteWholeFile(shortLine, "%PDF\n" + pdf);
    EXPECT_FALSE(session_.Open(shortLine));
    const std::wstring empty = session_.Temp().File(L"empty.dat");
    WriteWholeFile(empty, "");
    EXPECT_FALSE(session_.Open(empty));
    EXPECT_EQ(session_.Path(), asText);

    // Upper-case extension, no header read (the content is a PDF anyway).
    const std::wstring upper = session_.Temp().File(L"UPPER.PDF");
    WriteWholeFile(upper, pdf);
    EXPECT_TRUE(session_.Open(upper));
}

TEST_F(LocalOpening, PathFormsUnderWine) {
    const std::wstring data = DataDirectory();
    ASSERT_EQ(data.substr(0, 3), L"Z:\\") << "winebench runs from the Unix root drive";

    // Relative to the current directory, plain and with "..".
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(::SetCurrentDirectoryW(data.c_str()));
    EXPECT_TRUE(session_.Open(L"one_page.pdf"));
    EXPECT_EQ(session_.Path(), L"one_page.pdf") << "Path keeps the name as given";
    EXPECT_EQ(session_.PageTotal(), 1);
    EXPECT_TRUE(session_.Open(L"..\\data\\three_pages.pdf"));
    EXPECT_EQ(session_.PageTotal(), 3);
    EXPECT_TRUE(session_.Open(L".\\five_pages_flate.pdf"));
    EXPECT_EQ(session_.PageTotal(), 5);
    ::SetCurrentDirectoryW(previous);

    // Forward slashes are separators to the file system as well.
    std::wstring slashes = data + L"\\one_page.pdf";
    for (wchar_t& c : slashes) {
        c = c == L'\\' ? L'/' : c;
    }
    EXPECT_TRUE(session_.Open(slashes));

    // The network and device forms: which of them Wine serves is reported, not required.
    const std::wstring tail = data.substr(2) + L"\\three_pages.pdf"; // "\...\three_pages.pdf"
    struct Form {
        const char* name;
        std::wstring path;
    };
    std::vector<Form> forms = {
        {"\\\\?\\Z:\\", L"\\\\?\\Z:" + tail},
        {"\\\\.\\Z:\\", L"\\\\.\\Z:" + tail},
        {"\\\\localhost\\Z$\\", L"\\\\localhost\\Z$" + tail},
        {"\\\\127.0.0.1\\Z$\\", L"\\\\127.0.0.1\\Z$" + tail},
    };
    // A drive letter mapped onto the data folder, as a mapped network drive is.
    const wchar_t* mapped = L"Q:";
    const bool defined = ::DefineDosDeviceW(0, mapped, data.c_str()) != 0;
    if (defined) {
        forms.push_back({"mapped Q:\\", L"Q:\\three_pages.pdf"});
    }
    for (const Form& form : forms) {
        const bool opened = session_.Open(form.path);
        std::printf("path form %-22s %s\n", form.name, opened ? "opens" : "does not open");
        ::testing::Test::RecordProperty(form.name, opened ? "opens" : "fails");
        if (opened) {
            EXPECT_EQ(session_.PageTotal(), 3) << form.name;
        }
    }
    if (defined) {
        ::DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, mapped, data.c_str());
    }
    // Whatever the forms did, a plain path still opens.
    EXPECT_TRUE(session_.Open(three_));
}

TEST_F(LocalOpening, LoadRequestFailureHidesTheComponent) {
    ASSERT_TRUE(session_.Open(three_));
    {
        ScopedSetting fail(L"FOLIVEX_STANDIN_FAIL", L"2");
        EXPECT_FALSE(session_.Open(five_));
    }
    EXPECT_FALSE(session_.ComponentVisible());
    EXPECT_EQ(session_.Path(), five_) << "Path changes before the load request";
    // The next open shows again.
    EXPECT_TRUE(session_.Open(three_));
    EXPECT_TRUE(session_.ComponentVisible());
}

TEST_F(LocalOpening, LocalDocumentsAreNeverDeleted) {
    const std::wstring first = session_.Temp().File(L"first.pdf");
    const std::wstring second = session_.Temp().File(L"second.pdf");
    WriteWholeFile(first, ReadWholeFile(three_));
    WriteWholeFile(second, ReadWholeFile(five_));
    ASSERT_TRUE(session_.Open(first));
    ASSERT_TRUE(session_.Open(second));
    EXPECT_TRUE(PathExists(first));
    session_.Terminate();
    EXPECT_TRUE(PathExists(first));
    EXPECT_TRUE(PathExists(second));
}

// The document view wait, bounded for the tests.
class DocumentViewWait : public ::testing::Test {
protected:
    ScopedSetting timeout_{L"FOLIVEX_DOCUMENT_VIEW_TIMEOUT_MS", L"700"};
    OpeningSession session_;
};

TEST_F(DocumentViewWait, GivesUpWithFalseAndHidesTheComponent) {
    ASSERT_TRUE(session_.Open(TestDocument(L"three_pages.pdf")));
    {
        ScopedSetting never(L"FOLIVEX_STANDIN_DOCVIEW_DELAY", L"never");
        EXPECT_FALSE(session_.Open(TestDocument(L"one_page.pdf")));
    }
    EXPECT_FALSE(session_.ComponentVisible());

    // A known extension goes to the component unread; a non-PDF never shows a view.
    EXPECT_FALSE(session_.Open(TestDocument(L"not_a_pdf.pdf")));
    EXPECT_FALSE(session_.ComponentVisible());

    // The header test ignores case; the stand-in itself does not, and shows no view for it.
    const std::string pdf = ReadWholeFile(TestDocument(L"three_pages.pdf"));
    ScratchDirectory scratch;
    const std::wstring lower = scratch.File(L"lower.dat");
    WriteWholeFile(lower, "%pdf-" + pdf.substr(5));
    EXPECT_FALSE(session_.Open(lower));
    ASSERT_FALSE(session_.LoadRequests().empty());
    EXPECT_EQ(session_.LoadRequests().back(), lower) << "passed the header test";
    EXPECT_EQ(session_.Path(), lower);

    // A view that comes late, but within the bound, is waited for.
    {
        ScopedSetting late(L"FOLIVEX_STANDIN_DOCVIEW_DELAY", L"300");
        EXPECT_TRUE(session_.Open(TestDocument(L"one_page.pdf")));
    }
    EXPECT_TRUE(session_.ComponentVisible());
    EXPECT_EQ(session_.PageTotal(), 1);
}

class SaveCopyLocal : public ::testing::Test {
protected:
    OpeningSession session_;
    const std::wstring three_ = TestDocument(L"three_pages.pdf");
};

TEST_F(SaveCopyLocal, CopiesTheOpenDocumentOrTheNamedOne) {
    const std::wstring copy = session_.Temp().File(L"copy.pdf");
    EXPECT_FALSE(session_.SaveCopy(copy)) << "nothing open";
    EXPECT_FALSE(PathExists(copy));

    ASSERT_TRUE(session_.Open(three_));
    EXPECT_TRUE(session_.SaveCopy(copy));
    EXPECT_EQ(ReadWholeFile(copy), ReadWholeFile(three_));

    // A source of spaces counts as none; an existing destination is replaced.
    WriteWholeFile(copy, "older and longer content than nothing at all");
    EXPECT_TRUE(session_.SaveCopy(copy, L"   "));
    EXPECT_EQ(ReadWholeFile(copy), ReadWholeFile(three_));

    // A named source, given in mixed case and with blanks around it.
    const std::wstring other = TestDocument(L"one_page.pdf");
    std::wstring mixed = other;
    for (size_t i = 0; i < mixed.size(); i += 2) {
        mixed[i] = static_cast<wchar_t>(::towupper(mixed[i]));
    }
    const std::wstring second = session_.Temp().File(L"second.pdf");
    EXPECT_TRUE(session_.SaveCopy(second, L"  " + mixed + L" "));
    EXPECT_EQ(ReadWholeFile(second), ReadWholeFile(other));
}

TEST_F(SaveCopyLocal, FailuresGiveFalse) {
    ASSERT_TRUE(session_.Open(three_));
    EXPECT_FALSE(session_.SaveCopy(session_.Temp().File(L"x.pdf"),
                                   session_.Temp().File(L"nothing_here.pdf")));
    EXPECT_FALSE(PathExists(session_.Temp().File(L"x.pdf")));
    EXPECT_FALSE(session_.SaveCopy(session_.Temp().File(L"no_such_dir\\x.pdf")));
    EXPECT_FALSE(session_.SaveCopy(L""));
    EXPECT_FALSE(session_.SaveCopy(session_.Temp().Path())) << "a directory as destination";
    // The document stays untouched by all of it.
    EXPECT_TRUE(PathExists(three_));
}

} // namespace
} // namespace folivex::testing
