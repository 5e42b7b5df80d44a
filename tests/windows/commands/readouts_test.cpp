// Page and ZoomPct read the live page and zoom boxes, whoever moved them (the host through the
// component, or the user in the component's own toolbar); PageTotal reads the page box text
// captured at the opening, and its failed conversion reaches the host as a type mismatch.

#include "tests/windows/commands/commands_fixture.h"

#include "com/bstr.h"
#include "com/excep_info.h"

namespace folivex::testing {
namespace {

constexpr HRESULT kTypeMismatch = static_cast<HRESULT>(0x800A000D);

class Readouts : public LayoutFixture {
protected:
    LONG Page() {
        LONG page = -99;
        EXPECT_EQ(viewer_->get_Page(&page), S_OK);
        return page;
    }
    short Zoom() {
        short zoom = -99;
        EXPECT_EQ(viewer_->get_ZoomPct(&zoom), S_OK);
        return zoom;
    }
    LONG Total() {
        LONG total = -99;
        EXPECT_EQ(viewer_->get_PageTotal(&total), S_OK);
        return total;
    }
    // The live page box and zoom box of the component's toolbar.
    HWND PageBox() {
        HWND toolbar = FindViewerWindow(Control(), "AVL_AVView", "AVToolBarView", 1);
        return toolbar ? ::GetWindow(toolbar, GW_CHILD) : nullptr;
    }
    HWND ZoomBox() {
        HWND page = PageBox();
        return page ? ::GetWindow(page, GW_HWNDNEXT) : nullptr;
    }
    // As a user typing into the component's own box.
    void Type(HWND box, const wchar_t* text) {
        ASSERT_NE(box, nullptr);
        ::SetWindowTextW(box, text);
    }
};

TEST_P(Readouts, BeforeAnyDocumentTheTotalIsZero) {
    EXPECT_EQ(Total(), 0);
    // The boxes exist already (page 1, 100%).
    EXPECT_EQ(Page(), 1);
    EXPECT_EQ(Zoom(), 100);
}

TEST_P(Readouts, PageAndZoomFollowTheHostAndTheUser) {
    ASSERT_TRUE(OpenDocument(viewer_, TestDocument(L"five_pages_flate.pdf")));
    EXPECT_EQ(Page(), 1);
    EXPECT_EQ(Zoom(), 100);
    ASSERT_EQ(viewer_->SetCurrentPage(3), S_OK);
    EXPECT_EQ(Page(), 3);
    ASSERT_EQ(viewer_->GotoPreviousPage(), S_OK);
    EXPECT_EQ(Page(), 2);
    ASSERT_EQ(viewer_->GotoLastPage(), S_OK);
    EXPECT_EQ(Page(), 5);
    ASSERT_EQ(viewer_->SetZoom(150.0f), S_OK);
    EXPECT_EQ(Zoom(), 150);
    ASSERT_EQ(viewer_->SetZoomScroll(75.0f, 0.0f, 0.0f), S_OK);
    EXPECT_EQ(Zoom(), 75);

    // The user's own typing in the boxes.
    Type(PageBox(), GetParam().Old() ? L"4 of 5" : L"4");
    EXPECT_EQ(Page(), 4);
    Type(ZoomBox(), L"6400%");
    EXPECT_EQ(Zoom(), 6400);
    Type(ZoomBox(), L"33.3%");
    EXPECT_EQ(Zoom(), 33);
    // A box that does not convert keeps the last values.
    Type(ZoomBox(), L"abc%");
    EXPECT_EQ(Zoom(), 33);
    Type(PageBox(), GetParam().Old() ? L"x of 5" : L"x");
    EXPECT_EQ(Page(), 4);
    // The total is what the opening saw: five in the old layout, nothing in the new one.
    EXPECT_EQ(Total(), GetParam().Old() ? 5 : 0);
}

TEST_P(Readouts, TheTotalIsTheCapturedTextAfterItsLastSpace) {
    {
        ScopedSetting format(L"FOLIVEX_STANDIN_PAGEBOX_FORMAT", L"%P of 120");
        ASSERT_TRUE(OpenDocument(viewer_, TestDocument(L"three_pages.pdf")));
    }
    if (!GetParam().Old()) {
        // A page box 60 wide is no page box to the new layout, and its boxes were captured only
        // when numeric or ending in "%": no captured text holds a space.
        EXPECT_EQ(Total(), 0);
        return;
    }
    EXPECT_EQ(Total(), 120);
    // The user moves on; the total stays what was captured, the page follows.
    Type(PageBox(), L"6 of 120");
    EXPECT_EQ(Page(), 6);
    EXPECT_EQ(Total(), 120);
    ASSERT_EQ(viewer_->GotoNextPage(), S_OK);
    EXPECT_EQ(Total(), 120);

    {
        ScopedSetting format(L"FOLIVEX_STANDIN_PAGEBOX_FORMAT", L"Page %P of %N");
        ASSERT_TRUE(OpenDocument(viewer_, TestDocument(L"five_pages_flate.pdf")));
    }
    EXPECT_EQ(Total(), 5);
    // "Page" before the first space does not convert: the walk ends at the box, the last value
    // stays.
    EXPECT_EQ(Page(), 6);
}

TEST_P(Readouts, ARichEditPageBoxIsNoSourceOfTheTotal) {
    ASSERT_TRUE(OpenDocument(viewer_, TestDocument(L"three_pages.pdf")));
    const LONG before = Total();
    EXPECT_EQ(before, GetParam().Old() ? 3 : 0);
    ScopedSetting richEdit(L"FOLIVEX_STANDIN_PAGEBOX_CLASS", L"RichEdit20A");
    ASSERT_TRUE(OpenDocument(viewer_, TestDocument(L"five_pages_flate.pdf")));
    // Captured (old layout: it holds a space), but only "Edit" entries count: the last value.
    EXPECT_EQ(Total(), before);
    // Page still reads it.
    ASSERT_EQ(viewer_->SetCurrentPage(4), S_OK);
    EXPECT_EQ(Page(), 4);
}

TEST_P(Readouts, AnEmptyCountIsATypeMismatchForEarlyAndLateBoundHosts) {
    if (!GetParam().Old()) {
        GTEST_SKIP() << "the new layout captures no page box text with a space";
    }
    ASSERT_TRUE(OpenDocument(viewer_, TestDocument(L"three_pages.pdf")));
    ASSERT_EQ(Total(), 3);
    {
        ScopedSetting format(L"FOLIVEX_STANDIN_PAGEBOX_FORMAT", L"%P of%_");
        ASSERT_TRUE(OpenDocument(viewer_, TestDocument(L"one_page.pdf")));
    }
    ASSERT_NE(FindViewerWindow(Control(), "Edit", "1 of "), nullptr);

    ::SetErrorInfo(0, nullptr);
    LONG total = -5;
    EXPECT_EQ(viewer_->get_PageTotal(&total), kTypeMismatch);
    const ErrorText error = TakeErrorInfo();
    EXPECT_TRUE(error.present);
    EXPECT_EQ(error.description, L"Type mismatch");

    VARIANT result;
    ::VariantInit(&result);
    com::ExcepInfo exception;
    EXPECT_EQ(host_->Call(L"PageTotal", {}, &result, exception.Out(), DISPATCH_PROPERTYGET),
              DISP_E_EXCEPTION);
    EXPECT_EQ(exception->scode, kTypeMismatch);
    EXPECT_EQ(com::Bstr::ToString(exception->bstrDescription), L"Type mismatch");
    ::VariantClear(&result);

    // The failed read did not overwrite the last good total.
    ScopedSetting richEdit(L"FOLIVEX_STANDIN_PAGEBOX_CLASS", L"RichEdit20A");
    ASSERT_TRUE(OpenDocument(viewer_, TestDocument(L"three_pages.pdf")));
    EXPECT_EQ(Total(), 3);
}

INSTANTIATE_TEST_SUITE_P(Layouts, Readouts, ::testing::Values(kOldLayout, kNewLayout), LayoutName);

} // namespace
} // namespace folivex::testing
