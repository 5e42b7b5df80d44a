// Termination deletes no local document, and a control made without any container (the way a
// script host's CreateObject makes one) opens, counts and prints a document and leaves nothing
// behind when it is released.

#include "tests/windows/core/core_helpers.h"
#include "tests/windows/support/viewer_calls.h"
#include "tests/windows/support/viewer_host.h"

#include "com/bstr.h"
#include "com/variant.h"

#include <gtest/gtest.h>

namespace folivex {
namespace {

using testing::CallByName;
using testing::ScratchDirectory;

TEST(Termination, AfterLocalDocumentsNothingIsDeleted) {
    testing::ComApartment apartment;
    ScratchDirectory temp;
    ScratchDirectory elsewhere;
    // One document in the download directory itself, one outside it.
    const std::wstring inTemp = testing::CopyTestDocument(temp, L"three_pages.pdf", L"doc.pdf");
    const std::wstring outside =
        testing::CopyTestDocument(elsewhere, L"one_page.pdf", L"other.pdf");
    const std::wstring bystander = temp.File(L"bystander.pdf");
    testing::WriteWholeFile(bystander, "%PDF-1.4\n");
    {
        testing::ViewerHost host;
        ASSERT_EQ(host.CreationResult(), S_OK);
        com::Bstr tempPath(temp.Path());
        ASSERT_EQ(host.Viewer()->put_TempPath(tempPath.Get()), S_OK);
        ASSERT_TRUE(testing::OpenDocument(host.Viewer(), inTemp));
        ASSERT_TRUE(testing::OpenDocument(host.Viewer(), outside));
        EXPECT_TRUE(testing::PathExists(inTemp)) << "the next open deleted a local document";
        ASSERT_TRUE(testing::OpenDocument(host.Viewer(), inTemp));
        host.Release();
    }
    EXPECT_TRUE(testing::PathExists(inTemp));
    EXPECT_TRUE(testing::PathExists(outside));
    EXPECT_TRUE(testing::PathExists(bystander));
}

TEST(Termination, WithoutAnyDocumentNothingIsDeleted) {
    testing::ComApartment apartment;
    ScratchDirectory temp;
    const std::wstring file = testing::CopyTestDocument(temp, L"one_page.pdf", L"kept.pdf");
    {
        testing::ViewerHost host;
        ASSERT_EQ(host.CreationResult(), S_OK);
        com::Bstr tempPath(temp.Path());
        ASSERT_EQ(host.Viewer()->put_TempPath(tempPath.Get()), S_OK);
        com::Bstr path(file);
        ASSERT_EQ(host.Viewer()->put_Path(path.Get()), S_OK);
        // A failed open of the same name does not make it the control's copy.
        EXPECT_FALSE(testing::OpenDocument(host.Viewer(), temp.File(L"missing.pdf")));
    }
    EXPECT_TRUE(testing::PathExists(file));
}

TEST(Unsited, OpensCountsPrintsAndLeavesNoWindowBehind) {
    testing::ComApartment apartment;
    testing::ScopedJournal journal;
    testing::ScopedSetting layout(L"FOLIVEX_STANDIN_LAYOUT", L"old");
    const int windowsBefore = testing::CountProcessTopLevelWindows();
    HWND control = nullptr;
    {
        CLSID clsid = {};
        ASSERT_EQ(::CLSIDFromProgID(L"Folivex.Viewer", &clsid), S_OK);
        com::ComPtr<IDispatch> viewer;
        ASSERT_EQ(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&viewer)),
                  S_OK);

        // The page count is read off the old layout's "P of N" box.
        // Late-bound, by name, as a script host calls.
        ASSERT_EQ(
            CallByName(viewer.Get(), L"ReaderVersion", DISPATCH_PROPERTYPUT, {testing::LongArg(7)}),
            S_OK);

        com::Variant opened;
        ASSERT_EQ(CallByName(viewer.Get(), L"OpenPDF", DISPATCH_METHOD,
                             {testing::StringArg(testing::TestDocument(L"three_pages.pdf"))},
                             opened.Get()),
                  S_OK);
        ASSERT_EQ(opened->vt, VT_BOOL);
        EXPECT_EQ(opened->boolVal, VARIANT_TRUE);

        com::Variant total;
        ASSERT_EQ(CallByName(viewer.Get(), L"PageTotal", DISPATCH_PROPERTYGET | DISPATCH_METHOD, {},
                             total.Get()),
                  S_OK);
        ASSERT_EQ(::VariantChangeType(total.Get(), total.Get(), 0, VT_I4), S_OK);
        EXPECT_EQ(total->lVal, 3);

        EXPECT_EQ(CallByName(viewer.Get(), L"PrintAll", DISPATCH_METHOD), S_OK);
        EXPECT_EQ(journal.CallsOf(23).size(), 1u);

        com::Variant hwnd;
        ASSERT_EQ(CallByName(viewer.Get(), L"hwnd", DISPATCH_PROPERTYGET, {}, hwnd.Get()), S_OK);
        ASSERT_EQ(::VariantChangeType(hwnd.Get(), hwnd.Get(), 0, VT_I4), S_OK);
        control = reinterpret_cast<HWND>(static_cast<LONG_PTR>(hwnd->lVal));
        EXPECT_TRUE(::IsWindow(control));
    }
    testing::PumpMessages(0);
    EXPECT_FALSE(::IsWindow(control));
    EXPECT_EQ(testing::CountProcessTopLevelWindows(), windowsBefore);
    // The document is a local one: still there.
    EXPECT_TRUE(testing::PathExists(testing::TestDocument(L"three_pages.pdf")));
}

} // namespace
} // namespace folivex
