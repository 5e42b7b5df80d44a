// The members that reach the component directly: Source goes to its member 1, its failures
// reach late-bound and early-bound callers unchanged, and IsReaderInstalled asks COM for a new
// instance of it.

#include "tests/windows/core/core_helpers.h"
#include "tests/windows/support/viewer_host.h"

#include "com/bstr.h"
#include "com/excep_info.h"
#include "com/variant.h"

#include <gtest/gtest.h>

namespace folivex {
namespace {

using standin::JournalEntry;

constexpr HRESULT kStandInFailure = static_cast<HRESULT>(0x80040201);

class Component : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(host_.CreationResult(), S_OK);
        viewer_ = host_.Viewer();
    }
    std::wstring Path() {
        com::Bstr path;
        EXPECT_EQ(viewer_->get_Path(path.Out()), S_OK);
        return path.ToString();
    }
    bool ComponentVisible() {
        HWND site = testing::ComponentSiteWindow(host_.ControlWindow());
        return site && ::IsWindowVisible(site);
    }

    testing::ComApartment apartment_;
    testing::ScopedJournal journal_;
    testing::ViewerHost host_;
    _Viewer* viewer_ = nullptr;
};

TEST_F(Component, SourceGoesToMemberOneAsOneStringByReference) {
    com::Bstr in(L"C:\\docs\\a b.pdf");
    ASSERT_EQ(viewer_->put_Source(in.Get()), S_OK);
    com::Bstr out;
    ASSERT_EQ(viewer_->get_Source(out.Out()), S_OK);
    EXPECT_EQ(out.ToString(), L"C:\\docs\\a b.pdf");

    const std::vector<JournalEntry> calls = journal_.Entries();
    ASSERT_EQ(calls.size(), 2u);
    const JournalEntry& put = calls[0];
    EXPECT_EQ(put.kind, standin::JournalKind::Invoke);
    EXPECT_EQ(put.member, 1);
    EXPECT_EQ(put.flags, static_cast<std::uint32_t>(DISPATCH_PROPERTYPUT));
    EXPECT_EQ(put.argumentCount, 1u);
    EXPECT_EQ(put.namedCount, 1u);
    ASSERT_EQ(put.arguments.size(), 1u);
    EXPECT_EQ(put.arguments[0].type, VT_BSTR | VT_BYREF);
    EXPECT_EQ(put.arguments[0].value, L"C:\\docs\\a b.pdf");
    const JournalEntry& get = calls[1];
    EXPECT_EQ(get.member, 1);
    EXPECT_EQ(get.flags & DISPATCH_PROPERTYGET, static_cast<std::uint32_t>(DISPATCH_PROPERTYGET));
    EXPECT_EQ(get.argumentCount, 0u);

    // Neither touches Path or shows the component.
    EXPECT_EQ(Path(), L"");
    EXPECT_FALSE(ComponentVisible());
}

TEST_F(Component, SourceGetReturnsTheDocumentTheComponentLoaded) {
    const std::wstring document = testing::TestDocument(L"three_pages.pdf");
    ASSERT_TRUE(testing::OpenDocument(viewer_, document));
    com::Bstr out;
    ASSERT_EQ(viewer_->get_Source(out.Out()), S_OK);
    EXPECT_EQ(out.ToString(), document);
    // An empty string goes through as it is.
    com::Bstr empty(L"");
    ASSERT_EQ(viewer_->put_Source(empty.Get()), S_OK);
    ASSERT_EQ(viewer_->get_Source(out.Out()), S_OK);
    EXPECT_EQ(out.ToString(), L"");
    EXPECT_EQ(Path(), document);
}

TEST_F(Component, FailureReachesALateBoundCallerUnchanged) {
    testing::ScopedSetting fail(L"FOLIVEX_STANDIN_FAIL", L"1");
    com::ExcepInfo error;
    EXPECT_EQ(host_.Call(L"Source", {testing::StringArg(L"C:\\a.pdf")}, nullptr, error.Out(),
                         DISPATCH_PROPERTYPUT),
              DISP_E_EXCEPTION);
    EXPECT_EQ(error->scode, kStandInFailure);
    EXPECT_STREQ(error->bstrSource, L"StandIn");
    EXPECT_STREQ(error->bstrDescription, L"Stand-in failure of member 1");

    com::ExcepInfo getError;
    com::Variant result;
    EXPECT_EQ(host_.Call(L"Source", {}, result.Get(), getError.Out(), DISPATCH_PROPERTYGET),
              DISP_E_EXCEPTION);
    EXPECT_EQ(getError->scode, kStandInFailure);
    EXPECT_STREQ(getError->bstrSource, L"StandIn");
    EXPECT_STREQ(getError->bstrDescription, L"Stand-in failure of member 1");

    EXPECT_EQ(Path(), L"");
    EXPECT_FALSE(ComponentVisible());
}

TEST_F(Component, FailureReachesAnEarlyBoundCallerUnchanged) {
    testing::ScopedSetting fail(L"FOLIVEX_STANDIN_FAIL", L"1");
    com::Bstr in(L"C:\\a.pdf");
    EXPECT_EQ(viewer_->put_Source(in.Get()), kStandInFailure);
    testing::ErrorText text = testing::TakeErrorInfo();
    ASSERT_TRUE(text.present);
    EXPECT_EQ(text.source, L"StandIn");
    EXPECT_EQ(text.description, L"Stand-in failure of member 1");

    com::Bstr out(L"left by the caller");
    EXPECT_EQ(viewer_->get_Source(out.Out()), kStandInFailure);
    EXPECT_EQ(out.Get(), nullptr);
    text = testing::TakeErrorInfo();
    ASSERT_TRUE(text.present);
    EXPECT_EQ(text.source, L"StandIn");
    EXPECT_EQ(text.description, L"Stand-in failure of member 1");

    // Both calls reached the component; a later successful member leaves no stale error.
    EXPECT_EQ(journal_.CallsOf(1).size(), 2u);
    com::Bstr path(L"C:\\b.pdf");
    ::SetErrorInfo(0, nullptr);
    EXPECT_EQ(viewer_->put_Path(path.Get()), S_OK);
    EXPECT_FALSE(testing::TakeErrorInfo().present);
}

TEST_F(Component, OtherMembersFailingDoNotAffectSource) {
    testing::ScopedSetting fail(L"FOLIVEX_STANDIN_FAIL", L"6");
    com::Bstr in(L"C:\\c.pdf");
    EXPECT_EQ(viewer_->put_Source(in.Get()), S_OK);
    EXPECT_EQ(viewer_->GotoNextPage(), kStandInFailure);
    com::Bstr out;
    EXPECT_EQ(viewer_->get_Source(out.Out()), S_OK);
    EXPECT_EQ(out.ToString(), L"C:\\c.pdf");
}

TEST_F(Component, IsReaderInstalledWhateverReaderVersionHolds) {
    for (short version : {short(0), short(1), short(7), short(9), short(-1)}) {
        ASSERT_EQ(viewer_->put_ReaderVersion(version), S_OK);
        VARIANT_BOOL installed = VARIANT_FALSE;
        ASSERT_EQ(viewer_->IsReaderInstalled(&installed), S_OK);
        EXPECT_EQ(installed, VARIANT_TRUE) << version;
        short after = 0;
        ASSERT_EQ(viewer_->get_ReaderVersion(&after), S_OK);
        EXPECT_EQ(after, version);
    }
    // The test makes an instance of its own: the control's component is not called.
    EXPECT_TRUE(journal_.Entries().empty());
    EXPECT_FALSE(ComponentVisible());
}

} // namespace
} // namespace folivex
