// A control on a machine where no class answers to the component's ProgID: it is created,
// shown and usable; the members that need the component say so with an automation error, the
// resume-next ones do nothing. The suite takes the registration away for its run and puts it
// back afterwards.

#include "tests/windows/core/core_helpers.h"
#include "tests/windows/support/viewer_host.h"

#include "com/bstr.h"
#include "com/excep_info.h"
#include "com/variant.h"

#include <gtest/gtest.h>

namespace folivex {
namespace {

constexpr const wchar_t* kProgIds[] = {L"AcroPDF.PDF", L"AcroPDF.PDF.1"};
constexpr const wchar_t* kSavedPrefix = L"FolivexCoreTests.Saved.";
constexpr const wchar_t* kNotInstalled =
    L"The PDF viewer component (AcroPDF.PDF) is not installed or could not be created.";

void MoveClassesKey(const std::wstring& from, const std::wstring& to) {
    HKEY source = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, from.c_str(), 0, KEY_READ, &source) != ERROR_SUCCESS) {
        return;
    }
    HKEY target = nullptr;
    if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, to.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          &target, nullptr) == ERROR_SUCCESS) {
        ::RegCopyTreeW(source, nullptr, target);
        ::RegCloseKey(target);
    }
    ::RegCloseKey(source);
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, from.c_str());
}

class NoComponent : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const wchar_t* progId : kProgIds) {
            MoveClassesKey(progId, std::wstring(kSavedPrefix) + progId);
        }
    }
    static void TearDownTestSuite() {
        for (const wchar_t* progId : kProgIds) {
            MoveClassesKey(std::wstring(kSavedPrefix) + progId, progId);
        }
    }
    void SetUp() override {
        CLSID clsid = {};
        ASSERT_TRUE(FAILED(::CLSIDFromProgID(L"AcroPDF.PDF", &clsid)))
            << "the component is still registered";
        host_ = std::make_unique<testing::ViewerHost>();
        ASSERT_EQ(host_->CreationResult(), S_OK);
        viewer_ = host_->Viewer();
        ASSERT_TRUE(viewer_);
    }
    void TearDown() override { host_.reset(); }

    // A member that needs the component fails with the control's own explanation.
    void ExpectNotInstalled(HRESULT hr, const char* member) {
        EXPECT_TRUE(FAILED(hr)) << member;
        const testing::ErrorText text = testing::TakeErrorInfo();
        EXPECT_TRUE(text.present) << member;
        EXPECT_EQ(text.description, kNotInstalled) << member;
        EXPECT_EQ(text.source, L"Folivex.Viewer") << member;
    }

    testing::ComApartment apartment_;
    std::unique_ptr<testing::ViewerHost> host_;
    _Viewer* viewer_ = nullptr;
};

TEST_F(NoComponent, IsReaderInstalledIsFalseWhateverReaderVersionHolds) {
    for (short version : {short(0), short(7), short(9)}) {
        ASSERT_EQ(viewer_->put_ReaderVersion(version), S_OK);
        VARIANT_BOOL installed = VARIANT_TRUE;
        ASSERT_EQ(viewer_->IsReaderInstalled(&installed), S_OK);
        EXPECT_EQ(installed, VARIANT_FALSE) << version;
    }
}

TEST_F(NoComponent, ControlIsCreatedShownAndResized) {
    HWND control = host_->ControlWindow();
    ASSERT_TRUE(::IsWindow(control));
    EXPECT_TRUE(::IsWindowVisible(control));
    host_->Control().Move(0, 0, 321, 123);
    testing::PumpMessages(0);
    RECT client = {};
    ::GetClientRect(control, &client);
    EXPECT_EQ(client.right, 321);
    EXPECT_EQ(client.bottom, 123);
    EXPECT_EQ(testing::TempPathOf(viewer_), L"C:\\TEMP\\");
    com::Bstr path(L"C:\\x.pdf");
    EXPECT_EQ(viewer_->put_Path(path.Get()), S_OK);
    com::Bstr out;
    EXPECT_EQ(viewer_->get_Path(out.Out()), S_OK);
    EXPECT_EQ(out.ToString(), L"C:\\x.pdf");
}

TEST_F(NoComponent, PassThroughMembersRaiseAClearAutomationError) {
    ExpectNotInstalled(viewer_->GotoNextPage(), "GotoNextPage");
    ExpectNotInstalled(viewer_->GotoFirstPage(), "GotoFirstPage");
    ExpectNotInstalled(viewer_->SetCurrentPage(2), "SetCurrentPage");
    ExpectNotInstalled(viewer_->PrintAll(), "PrintAll");
    ExpectNotInstalled(viewer_->PrintWithDialog(), "PrintWithDialog");
    com::Bstr source(L"C:\\x.pdf");
    ExpectNotInstalled(viewer_->put_Source(source.Get()), "Source put");
    com::Bstr out(L"left by the caller");
    ExpectNotInstalled(viewer_->get_Source(out.Out()), "Source get");
    EXPECT_EQ(out.Get(), nullptr);

    // Late-bound, as a script sees it.
    com::ExcepInfo error;
    EXPECT_EQ(host_->Call(L"GotoNextPage", {}, nullptr, error.Out()), DISP_E_EXCEPTION);
    EXPECT_TRUE(FAILED(error->scode));
    EXPECT_STREQ(error->bstrDescription, kNotInstalled);
}

TEST_F(NoComponent, ResumeNextMembersDoNothing) {
    EXPECT_EQ(viewer_->SetZoom(150.0f), S_OK);
    EXPECT_EQ(viewer_->SetZoomScroll(150.0f, 1.0f, 1.0f), S_OK);
    EXPECT_EQ(viewer_->Refresh(), S_OK);
    EXPECT_EQ(viewer_->SelectText(), S_OK);
    EXPECT_EQ(viewer_->DeselectText(), S_OK);
    com::Bstr copied(L"left by the caller");
    EXPECT_EQ(viewer_->CopyToString(copied.Out()), S_OK);
    EXPECT_EQ(copied.ToString(), L"");
    com::Bstr document(testing::TestDocument(L"three_pages.pdf"));
    VARIANT_BOOL opened = VARIANT_TRUE;
    EXPECT_EQ(viewer_->OpenPDF(document.Get(), &opened), S_OK);
    EXPECT_EQ(opened, VARIANT_FALSE);
    LONG page = -1;
    EXPECT_EQ(viewer_->get_Page(&page), S_OK);
    EXPECT_EQ(page, 0);
    short zoom = -1;
    EXPECT_EQ(viewer_->get_ZoomPct(&zoom), S_OK);
    EXPECT_EQ(zoom, 0);
    // Still alive and answering.
    EXPECT_TRUE(::IsWindow(host_->ControlWindow()));
    LONG hwnd = 0;
    EXPECT_EQ(viewer_->get_hwnd(&hwnd), S_OK);
    EXPECT_NE(hwnd, 0);
}

// Every other member either does nothing or fails with an explanation; none brings the
// control down.
TEST_F(NoComponent, EveryOtherMemberAnswersOrExplains) {
    struct Member {
        const wchar_t* name;
        std::vector<VARIANT> args;
        WORD flags = DISPATCH_METHOD;
    };
    std::vector<Member> members;
    for (const wchar_t* name :
         {L"GotoLastPage", L"GotoPreviousPage", L"GotoNextView", L"GotoPreviousView", L"PrintPDF",
          L"Refresh", L"SelectText", L"DeselectText", L"CopyToClipboard", L"EnableToolbar",
          L"DisableToolbar", L"EnableNavigationBar", L"DisableNavigationBar", L"ShowToolbar",
          L"ShowScrollBars", L"Search", L"EnablePrintDialog", L"EnableSaveDialog"}) {
        members.push_back({name, {}});
    }
    members.push_back({L"SetPageMode", {testing::LongArg(2)}});
    members.push_back({L"SetLayoutMode", {testing::LongArg(1)}});
    members.push_back({L"SetView", {testing::LongArg(1)}});
    members.push_back({L"SetNamedDest", {testing::StringArg(L"chapter")}});
    members.push_back({L"PrintPages", {testing::LongArg(1), testing::LongArg(2)}});
    members.push_back({L"PrintAllFit", {testing::BoolArg(true)}});
    members.push_back({L"Search", {testing::StringArg(L"word")}});
    members.push_back({L"Page", {}, DISPATCH_PROPERTYGET});
    members.push_back({L"ZoomPct", {}, DISPATCH_PROPERTYGET});
    members.push_back({L"PageTotal", {}, DISPATCH_PROPERTYGET});
    for (Member& member : members) {
        com::ExcepInfo error;
        com::Variant result;
        const HRESULT hr = host_->Call(member.name, std::move(member.args), result.Get(),
                                       error.Out(), member.flags);
        if (FAILED(hr)) {
            EXPECT_EQ(hr, DISP_E_EXCEPTION) << ::testing::PrintToString(std::wstring(member.name));
            EXPECT_TRUE(error->bstrDescription && *error->bstrDescription)
                << ::testing::PrintToString(std::wstring(member.name));
        }
        ASSERT_TRUE(::IsWindow(host_->ControlWindow()));
    }
    com::Bstr again(testing::TestDocument(L"one_page.pdf"));
    VARIANT_BOOL opened = VARIANT_TRUE;
    EXPECT_EQ(viewer_->OpenPDF(again.Get(), &opened), S_OK);
    EXPECT_EQ(opened, VARIANT_FALSE);
}

TEST_F(NoComponent, UnsitedControlIsCreatedAndReleasedToo) {
    com::ComPtr<_Viewer> unsited;
    ASSERT_EQ(
        ::CoCreateInstance(CLSID_Viewer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&unsited)),
        S_OK);
    com::Bstr document(testing::TestDocument(L"one_page.pdf"));
    VARIANT_BOOL opened = VARIANT_TRUE;
    EXPECT_EQ(unsited->OpenPDF(document.Get(), &opened), S_OK);
    EXPECT_EQ(opened, VARIANT_FALSE);
    EXPECT_TRUE(FAILED(unsited->PrintAll()));
    unsited.Reset();
}

} // namespace
} // namespace folivex
