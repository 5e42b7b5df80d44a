// The control's small properties on a hosted control: TempPath's rules, the existence test as
// the members that use it show it, Path, ReaderVersion, and the component's place on resize.

#include "tests/windows/core/core_helpers.h"
#include "tests/windows/support/viewer_host.h"

#include "com/bstr.h"

#include <gtest/gtest.h>

namespace folivex {
namespace {

using testing::ScratchDirectory;

class Properties : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(host_.CreationResult(), S_OK);
        viewer_ = host_.Viewer();
    }
    HRESULT PutTempPath(const std::wstring& value) {
        com::Bstr text(value);
        return viewer_->put_TempPath(text.Get());
    }
    bool SaveCopy(const std::wstring& target, const std::wstring& source) {
        // [in, out]: the control may hand back another string in place of ours.
        com::Bstr file(target);
        com::Bstr from(source);
        VARIANT_BOOL result = VARIANT_TRUE;
        EXPECT_EQ(viewer_->SaveCopy(file.InOut(), from.Get(), &result), S_OK);
        return result == VARIANT_TRUE;
    }

    testing::ComApartment apartment_;
    testing::ScopedJournal journal_;
    testing::ViewerHost host_;
    _Viewer* viewer_ = nullptr;
};

TEST_F(Properties, TempPathKeepsExistingDirectoriesWithOneTrailingBackslash) {
    ScratchDirectory scratch;
    const std::wstring bare = scratch.Path().substr(0, scratch.Path().size() - 1);
    EXPECT_EQ(PutTempPath(bare), S_OK);
    EXPECT_EQ(testing::TempPathOf(viewer_), bare + L"\\");
    EXPECT_EQ(PutTempPath(L"C:\\TEMP\\"), S_OK);
    EXPECT_EQ(PutTempPath(scratch.Path()), S_OK);
    EXPECT_EQ(testing::TempPathOf(viewer_), scratch.Path());

    // A new directory below an existing one is made and taken.
    const std::wstring fresh = scratch.File(L"downloads");
    EXPECT_EQ(PutTempPath(fresh), S_OK);
    EXPECT_EQ(testing::TempPathOf(viewer_), fresh + L"\\");
    const DWORD attributes = ::GetFileAttributesW(fresh.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(Properties, TempPathRefusesWhatCannotBeMadeAndSaysNothing) {
    ScratchDirectory scratch;
    ASSERT_EQ(PutTempPath(scratch.Path()), S_OK);
    // The parent is missing: one level only is made.
    const std::wstring deep = scratch.File(L"missing\\deeper");
    EXPECT_EQ(PutTempPath(deep), S_OK);
    EXPECT_EQ(testing::TempPathOf(viewer_), scratch.Path());
    EXPECT_FALSE(testing::PathExists(scratch.File(L"missing")));
    EXPECT_EQ(PutTempPath(L""), S_OK);
    EXPECT_EQ(testing::TempPathOf(viewer_), scratch.Path());
    EXPECT_EQ(PutTempPath(L"Q:\\no|such\"name"), S_OK);
    EXPECT_EQ(testing::TempPathOf(viewer_), scratch.Path());
}

TEST_F(Properties, TempPathNamingAFileIsTakenLikeAnExistingDirectory) {
    // Making a directory where a file stands fails with the same access error as an existing
    // directory, so the name is kept (a later download into it fails instead).
    ScratchDirectory scratch;
    const std::wstring file = scratch.File(L"taken.bin");
    testing::WriteWholeFile(file, "x");
    EXPECT_EQ(PutTempPath(file), S_OK);
    EXPECT_EQ(testing::TempPathOf(viewer_), file + L"\\");
    EXPECT_EQ(testing::ReadWholeFile(file), "x");
}

TEST_F(Properties, OpenPdfSeesPlainAndReadOnlyFilesButNotHiddenOrSystemOnes) {
    ScratchDirectory scratch;
    const std::wstring hidden =
        testing::CopyTestDocument(scratch, L"one_page.pdf", L"hidden.pdf", FILE_ATTRIBUTE_HIDDEN);
    const std::wstring system =
        testing::CopyTestDocument(scratch, L"one_page.pdf", L"system.pdf", FILE_ATTRIBUTE_SYSTEM);
    const std::wstring readOnly = testing::CopyTestDocument(
        scratch, L"three_pages.pdf", L"read_only.pdf", FILE_ATTRIBUTE_READONLY);
    const std::wstring archived = testing::CopyTestDocument(
        scratch, L"one_page.pdf", L"archived.pdf", FILE_ATTRIBUTE_ARCHIVE);

    EXPECT_FALSE(testing::OpenDocument(viewer_, hidden));
    EXPECT_FALSE(testing::OpenDocument(viewer_, system));
    EXPECT_FALSE(testing::OpenDocument(viewer_, scratch.File(L"absent.pdf")));
    EXPECT_FALSE(testing::OpenDocument(viewer_, scratch.File(L"bad|name.pdf")));
    EXPECT_FALSE(testing::OpenDocument(viewer_, L"Q:\\not\\a\\drive.pdf"));
    // A directory is there, but it is no document.
    EXPECT_FALSE(testing::OpenDocument(viewer_, scratch.Path()));
    // None of them reached the component.
    EXPECT_TRUE(journal_.CallsOf(2).empty());

    EXPECT_TRUE(testing::OpenDocument(viewer_, readOnly));
    EXPECT_TRUE(testing::OpenDocument(viewer_, archived));
    const auto loads = journal_.CallsOf(2);
    ASSERT_EQ(loads.size(), 2u);
    EXPECT_EQ(loads[0].arguments.at(0).value, readOnly);
    EXPECT_EQ(loads[1].arguments.at(0).value, archived);

    for (const std::wstring& file : {hidden, system, readOnly}) {
        ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(Properties, SaveCopySeesTheSameFilesAsOpenPdf) {
    ScratchDirectory scratch;
    const std::wstring hidden =
        testing::CopyTestDocument(scratch, L"one_page.pdf", L"hidden.pdf", FILE_ATTRIBUTE_HIDDEN);
    const std::wstring readOnly = testing::CopyTestDocument(
        scratch, L"three_pages.pdf", L"read_only.pdf", FILE_ATTRIBUTE_READONLY);

    EXPECT_FALSE(SaveCopy(scratch.File(L"from_hidden.pdf"), hidden));
    EXPECT_FALSE(testing::PathExists(scratch.File(L"from_hidden.pdf")));
    EXPECT_FALSE(SaveCopy(scratch.File(L"from_absent.pdf"), scratch.File(L"absent.pdf")));
    EXPECT_FALSE(testing::PathExists(scratch.File(L"from_absent.pdf")));

    EXPECT_TRUE(SaveCopy(scratch.File(L"from_read_only.pdf"), readOnly));
    EXPECT_EQ(testing::ReadWholeFile(scratch.File(L"from_read_only.pdf")),
              testing::ReadWholeFile(testing::TestDocument(L"three_pages.pdf")));

    ::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::SetFileAttributesW(scratch.File(L"from_read_only.pdf").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Properties, PathIsAPlainVariable) {
    const std::wstring document = testing::TestDocument(L"three_pages.pdf");
    com::Bstr in(document);
    ASSERT_EQ(viewer_->put_Path(in.Get()), S_OK);
    com::Bstr out;
    ASSERT_EQ(viewer_->get_Path(out.Out()), S_OK);
    EXPECT_EQ(out.ToString(), document);
    // Text after a NUL and surrounding blanks are the host's business: kept as they are.
    const std::wstring odd(L"  a\0b.pdf  ", 11);
    com::Bstr oddIn(odd);
    ASSERT_EQ(viewer_->put_Path(oddIn.Get()), S_OK);
    ASSERT_EQ(viewer_->get_Path(out.Out()), S_OK);
    EXPECT_EQ(out.ToString(), odd);
    // Nothing was opened, nothing shown.
    EXPECT_TRUE(journal_.Entries().empty());
    HWND site = testing::ComponentSiteWindow(host_.ControlWindow());
    ASSERT_TRUE(site);
    EXPECT_FALSE(::IsWindowVisible(site));
}

TEST_F(Properties, ReaderVersionStoresAnyValue) {
    for (short value : {short(8), short(0), short(-1), short(32767), short(-32768), short(7)}) {
        ASSERT_EQ(viewer_->put_ReaderVersion(value), S_OK);
        short read = 1;
        ASSERT_EQ(viewer_->get_ReaderVersion(&read), S_OK);
        EXPECT_EQ(read, value);
    }
}

TEST_F(Properties, ComponentSiteFillsTheClientAreaThroughEveryResize) {
    HWND control = host_.ControlWindow();
    ASSERT_TRUE(control);
    HWND site = testing::ComponentSiteWindow(control);
    ASSERT_TRUE(site);
    auto expectFilled = [&](const char* when) {
        RECT client = {};
        ::GetClientRect(control, &client);
        const RECT rect = testing::RectInParent(site);
        EXPECT_EQ(rect.left, 0) << when;
        EXPECT_EQ(rect.top, 0) << when;
        EXPECT_EQ(rect.right, client.right) << when;
        EXPECT_EQ(rect.bottom, client.bottom) << when;
        // The component's own window fills its site in turn.
        HWND component = ::GetWindow(site, GW_CHILD);
        if (component) {
            RECT inner = {};
            ::GetClientRect(site, &inner);
            const RECT own = testing::RectInParent(component);
            EXPECT_EQ(own.right - own.left, inner.right) << when;
            EXPECT_EQ(own.bottom - own.top, inner.bottom) << when;
        }
    };
    expectFilled("after creation");
    const struct {
        int width, height;
    } sizes[] = {{250, 180}, {641, 403}, {37, 23}, {1, 1}, {400, 300}};
    for (const auto& size : sizes) {
        host_.Control().Move(5, 7, size.width, size.height);
        testing::PumpMessages(0);
        RECT client = {};
        ::GetClientRect(control, &client);
        EXPECT_EQ(client.right, size.width);
        EXPECT_EQ(client.bottom, size.height);
        expectFilled("after a move");
    }
    // Hidden and shown again, and with a document shown.
    host_.Control().Show(false);
    host_.Control().Show(true);
    testing::PumpMessages(0);
    expectFilled("after show");
    ASSERT_TRUE(testing::OpenDocument(viewer_, testing::TestDocument(L"three_pages.pdf")));
    EXPECT_TRUE(::IsWindowVisible(site));
    host_.Control().Move(0, 0, 333, 222);
    testing::PumpMessages(0);
    expectFilled("with a document");
}

} // namespace
} // namespace folivex
