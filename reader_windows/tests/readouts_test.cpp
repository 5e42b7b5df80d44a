#include "reader_windows/readouts.h"

#include "reader_windows/testing/memory_window_tree.h"
#include "reader_windows/testing/viewer_tree_builder.h"
#include "reader_windows/window_walks.h"

#include <gtest/gtest.h>

namespace folivex {
namespace {

using testing::MemoryWindowTree;
using testing::ViewerLayout;
using testing::ViewerWindows;

HResult Total(const CapturedWindows& captured, std::int32_t& last, std::int32_t& total) {
    return PageTotal(captured, last, total);
}

TEST(PageTotal, OldLayoutCountStaysAsCapturedWhilePageFollowsTheTree) {
    MemoryWindowTree tree;
    const ViewerWindows w = testing::BuildViewerTree(
        tree, {.layout = ViewerLayout::Old, .page = "5", .pageTotal = "120", .zoom = "80%"});
    CapturedWindows captured;
    CollectViewerWindows(tree, w.control, 7, captured);

    std::int32_t lastPageTotal = 0;
    std::int32_t total = -1;
    EXPECT_EQ(Total(captured, lastPageTotal, total), kOk);
    EXPECT_EQ(total, 120);
    EXPECT_EQ(lastPageTotal, 120);

    // The user moves on and the document grows; only the live readouts follow.
    tree.SetText(w.pageBox, "6 of 121");
    std::int32_t lastPage = 0;
    std::int16_t lastZoom = 0;
    EXPECT_EQ(Page(tree, w.control, 7, lastPage), 6);
    EXPECT_EQ(ZoomPct(tree, w.control, 7, lastZoom), 80);
    EXPECT_EQ(Total(captured, lastPageTotal, total), kOk);
    EXPECT_EQ(total, 120);
}

TEST(PageTotal, TakesTheTextAfterTheLastSpaceOfTheFirstQualifyingEditEntry) {
    CapturedWindows captured;
    captured.Append(1, L"RichEdit20A", L"3 of 10");
    captured.Append(2, L"Edit", L"100%");
    captured.Append(3, L"edit", L"1 of 2");
    captured.Append(4, L"Edit", L"Page 3 of 10");
    captured.Append(5, L"Edit", L"4 of 20");
    std::int32_t last = 0;
    std::int32_t total = 0;
    EXPECT_EQ(Total(captured, last, total), kOk);
    EXPECT_EQ(total, 10);
}

TEST(PageTotal, NoQualifyingEntryReturnsThePreviousValue) {
    CapturedWindows captured;
    std::int32_t last = 0;
    std::int32_t total = -1;
    EXPECT_EQ(Total(captured, last, total), kOk);
    EXPECT_EQ(total, 0);

    // New layout: the captured boxes hold no space.
    MemoryWindowTree tree;
    const ViewerWindows w = testing::BuildViewerTree(tree, {.layout = ViewerLayout::New});
    CollectViewerWindows(tree, w.control, 9, captured);
    last = 42;
    EXPECT_EQ(Total(captured, last, total), kOk);
    EXPECT_EQ(total, 42);
}

TEST(PageTotal, UnconvertibleCountIsATypeMismatchAndChangesNothing) {
    for (const wchar_t* text : {L"3 of ", L"3 of x", L"1 of 99999999999"}) {
        CapturedWindows captured;
        captured.Append(1, L"Edit", text);
        captured.Append(2, L"Edit", L"1 of 5"); // never reached: the first entry decides
        std::int32_t last = 7;
        std::int32_t total = -1;
        EXPECT_EQ(Total(captured, last, total), kTypeMismatch) << text;
        EXPECT_EQ(last, 7);
        EXPECT_EQ(total, -1);
    }
    EXPECT_EQ(kTypeMismatch, static_cast<HResult>(0x800A000Du));
    EXPECT_EQ(kTypeMismatchDescription, L"Type mismatch");
}

TEST(Readouts, BeforeAnyDocumentPageAndZoomKeepTheirValues) {
    MemoryWindowTree tree;
    const WindowHandle control = tree.Add(0, "FolivexViewer");
    std::int32_t lastPage = 0;
    std::int16_t lastZoom = 0;
    EXPECT_EQ(Page(tree, control, 9, lastPage), 0);
    EXPECT_EQ(ZoomPct(tree, control, 9, lastZoom), 0);
}

TEST(Readouts, ZoomReadsWholePercentagesFromTheLiveTree) {
    MemoryWindowTree tree;
    const ViewerWindows w = testing::BuildViewerTree(tree, {.layout = ViewerLayout::New});
    std::int16_t lastZoom = 0;
    tree.SetText(w.zoomBox, "6400%");
    EXPECT_EQ(ZoomPct(tree, w.control, 9, lastZoom), 6400);
    tree.SetText(w.zoomBox, "33.3%");
    EXPECT_EQ(ZoomPct(tree, w.control, 9, lastZoom), 33);
    tree.SetText(w.zoomBox, "abc%");
    EXPECT_EQ(ZoomPct(tree, w.control, 9, lastZoom), 33);
}

} // namespace
} // namespace folivex
