#include "reader_windows/window_walks.h"

#include "reader_windows/testing/memory_window_tree.h"
#include "reader_windows/testing/viewer_tree_builder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace folivex {
namespace {

using testing::BuildViewerTree;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::MemoryWindowTree;
using testing::ViewerLayout;
using testing::ViewerTreeOptions;
using testing::ViewerWindows;

constexpr std::int16_t kOld = 7;
constexpr std::int16_t kNew = 9;

bool WasExamined(const MemoryWindowTree& tree, WindowHandle window) {
    const auto& examined = tree.Examined();
    return std::find(examined.begin(), examined.end(), window) != examined.end();
}

// ---- the captured window list

TEST(CapturedWindows, AppendsParallelEntriesAndClearRegrowsFromZero) {
    CapturedWindows list;
    EXPECT_TRUE(list.Append(11, L"Edit", L"3 of 10"));
    EXPECT_TRUE(list.Append(12, L"AVL_AVView", L"AVTabView"));
    EXPECT_EQ(list.WindowCount, 2);
    EXPECT_THAT(list.WindowHandles, ElementsAre(11u, 12u));
    EXPECT_THAT(list.WindowTexts, ElementsAre(L"3 of 10", L"AVTabView"));

    list.Clear();
    EXPECT_EQ(list.Size(), 0u);
    EXPECT_TRUE(list.Append(13, L"Edit", L"100%"));
    EXPECT_EQ(list.WindowCount, 1);
    EXPECT_THAT(list.WindowHandles, ElementsAre(13u));
}

TEST(CapturedWindows, ReadersNeverLookPastTheArrays) {
    CapturedWindows list;
    list.Append(11, L"Edit", L"1");
    list.WindowCount = 5; // member state edited by hand
    EXPECT_EQ(list.Size(), 1u);
    list.WindowCount = -3;
    EXPECT_EQ(list.Size(), 0u);
    // Appending after a negative count starts again at index 0.
    EXPECT_TRUE(list.Append(12, L"Edit", L"2"));
    EXPECT_EQ(list.WindowCount, 1);
    EXPECT_THAT(list.WindowHandles, ElementsAre(12u));
}

// ---- window text

TEST(ReadWindowText, EmptyTextAndHandleZeroNeedNoSecondMessage) {
    MemoryWindowTree tree;
    const WindowHandle empty = tree.Add(0, "Edit", "");
    EXPECT_EQ(ReadWindowText(tree, empty), L"");
    EXPECT_EQ(tree.TextLengthMessages(empty), 1);
    EXPECT_EQ(tree.TextMessages(empty), 0);
    EXPECT_EQ(ReadWindowText(tree, 0), L"");
    EXPECT_EQ(ReadWindowText(tree, 0xDEAD), L"");
}

TEST(ReadWindowText, ConvertsAnsiBytesAndKeepsOnlyTheCopiedCount) {
    MemoryWindowTree tree;
    const WindowHandle box = tree.Add(0, "Edit", "Caf\xe9 3");
    EXPECT_EQ(ReadWindowText(tree, box), L"Caf\u00e9 3");

    // A window announcing more than it copies: only what was copied counts.
    tree.SetText(box, "12");
    tree.SetReportedTextLength(box, 50);
    EXPECT_EQ(ReadWindowText(tree, box), L"12");
}

TEST(ReadWindowText, MisbehavingWindowsCannotLeadOutOfTheBuffer) {
    MemoryWindowTree tree;
    const WindowHandle box = tree.Add(0, "Edit", "abcdef");
    tree.SetReportedTextLength(box, 3);
    tree.SetReportedTextCount(box, 1000); // claims more than the buffer holds
    EXPECT_EQ(ReadWindowText(tree, box), L"abc");

    tree.SetReportedTextLength(box, -5);
    EXPECT_EQ(ReadWindowText(tree, box), L"");

    // An absurd length is read only up to the limit, not allocated.
    tree.SetReportedTextLength(box, std::numeric_limits<std::intptr_t>::max());
    tree.SetReportedTextCount(box, -1);
    EXPECT_EQ(ReadWindowText(tree, box), L"");
}

// ---- the collecting walk over both layouts

TEST(CollectViewerWindows, NewLayoutCapturesBarsAndBoxesAndStopsAtTheDocumentView) {
    MemoryWindowTree tree;
    const ViewerWindows w = BuildViewerTree(tree, {.layout = ViewerLayout::New, .page = "3"});
    CapturedWindows list;
    EXPECT_EQ(CollectViewerWindows(tree, w.control, kNew, list), L"AVNullDocView");
    EXPECT_THAT(list.WindowHandles,
                ElementsAre(w.toolbarEasel, w.narrowToolbarView, w.boxesToolbarView, w.pageBox,
                            w.zoomBox, w.navigationBar, w.webSearchView));
    EXPECT_THAT(list.WindowTexts,
                ElementsAre(L"AVToolBarEasel", L"AVToolBarView", L"AVToolBarView", L"3", L"100%",
                            L"AVStatusLayoutView", L"AVWebSearchView"));
    EXPECT_EQ(list.WindowClasses[3], L"Edit");
    // Neither below the document view nor after it.
    EXPECT_FALSE(WasExamined(tree, w.pageCanvas));
    EXPECT_FALSE(WasExamined(tree, w.tabView));
}

TEST(CollectViewerWindows, OldLayoutCapturesUpToThePageView) {
    MemoryWindowTree tree;
    const ViewerWindows w =
        BuildViewerTree(tree, {.layout = ViewerLayout::Old, .page = "5", .pageTotal = "120"});
    CapturedWindows list;
    EXPECT_EQ(CollectViewerWindows(tree, w.control, kOld, list), L"AVPageView");
    EXPECT_THAT(list.WindowHandles,
                ElementsAre(w.toolbarEasel, w.wideToolbarView, w.narrowToolbarView,
                            w.boxesToolbarView, w.pageBox, w.zoomBox, w.navigationBar, w.tabView));
    EXPECT_EQ(list.WindowTexts[4], L"5 of 120");
    EXPECT_FALSE(WasExamined(tree, w.pageCanvas));
    EXPECT_FALSE(WasExamined(tree, w.webSearchView));
}

TEST(CollectViewerWindows, WithoutDocumentViewVisitsEverythingAndRepeatsAcrossPasses) {
    MemoryWindowTree tree;
    ViewerWindows w = BuildViewerTree(tree, {.layout = ViewerLayout::Old, .documentView = false});
    CapturedWindows list;
    EXPECT_EQ(CollectViewerWindows(tree, w.control, kOld, list), L"");
    EXPECT_TRUE(WasExamined(tree, w.webSearchView));
    const int firstPass = list.WindowCount;
    EXPECT_EQ(firstPass, 9); // the web search view too, now that nothing stops the walk

    // The opening loop does not reset the count between passes.
    EXPECT_EQ(CollectViewerWindows(tree, w.control, kOld, list), L"");
    EXPECT_EQ(list.WindowCount, 2 * firstPass);
    EXPECT_EQ(list.WindowHandles[firstPass], w.toolbarEasel);

    testing::AddDocumentView(tree, w);
    EXPECT_EQ(CollectViewerWindows(tree, w.control, kOld, list), L"AVPageView");
    EXPECT_GT(list.WindowCount, 2 * firstPass);
    EXPECT_EQ(static_cast<std::size_t>(list.WindowCount), list.WindowHandles.size());
}

TEST(CollectViewerWindows, TextBoxMatchDependsOnTheLayout) {
    MemoryWindowTree tree;
    const WindowHandle root = tree.Add(0, "Root");
    const WindowHandle pageOfTotal = tree.Add(root, "Edit", "3 of 10");
    const WindowHandle percent = tree.Add(root, "RichEdit20A", "100%");
    const WindowHandle number = tree.Add(root, "Edit", "12");
    tree.Add(root, "Edit", "");
    tree.Add(root, "Static", "100%");
    const WindowHandle blanks = tree.Add(root, "Edit", " 1,200.5 ");

    CapturedWindows old;
    CollectViewerWindows(tree, root, kOld, old);
    EXPECT_THAT(old.WindowHandles, ElementsAre(pageOfTotal, percent, blanks));

    CapturedWindows newer;
    CollectViewerWindows(tree, root, 8, newer); // 8 is the first new-layout version
    EXPECT_THAT(newer.WindowHandles, ElementsAre(percent, number, blanks));
}

TEST(CollectViewerWindows, ClassesAndViewNamesAreCaseSensitive) {
    MemoryWindowTree tree;
    const WindowHandle root = tree.Add(0, "Root");
    tree.Add(root, "edit", "3 of 10");
    tree.Add(root, "EDIT", "100%");
    tree.Add(root, "AVL_AVView", "avtoolbarview");
    tree.Add(root, "avl_avview", "AVToolBarView");
    const WindowHandle docView = tree.Add(root, "AVL_AVView", "avpageview");
    const WindowHandle below = tree.Add(docView, "Edit", "7 of 9");

    CapturedWindows list;
    EXPECT_EQ(CollectViewerWindows(tree, root, kOld, list), L"");
    EXPECT_THAT(list.WindowHandles, ElementsAre(below));
}

TEST(CollectViewerWindows, DescendsIntoMatchedWindowsButNeverCapturesTheDocumentView) {
    MemoryWindowTree tree;
    const WindowHandle root = tree.Add(0, "Root");
    const WindowHandle box = tree.Add(root, "Edit", "50%");
    const WindowHandle inner = tree.Add(box, "Edit", "75%");
    const WindowHandle docView = tree.Add(root, "AVL_AVView", "AVNullDocView");

    CapturedWindows list;
    EXPECT_EQ(CollectViewerWindows(tree, root, kNew, list), L"AVNullDocView");
    EXPECT_THAT(list.WindowHandles, ElementsAre(box, inner));
    EXPECT_TRUE(WasExamined(tree, docView));
}

TEST(CollectViewerWindows, PageViewEndsTheWalkOnlyInTheOldLayout) {
    MemoryWindowTree tree;
    const WindowHandle root = tree.Add(0, "Root");
    const WindowHandle pageView = tree.Add(root, "AVL_AVView", "AVPageView");
    const WindowHandle below = tree.Add(pageView, "Edit", "1");

    CapturedWindows list;
    EXPECT_EQ(CollectViewerWindows(tree, root, kNew, list), L"");
    EXPECT_THAT(list.WindowHandles, ElementsAre(below));

    tree.ClearExamined();
    EXPECT_EQ(CollectViewerWindows(tree, root, kOld, list), L"AVPageView");
    EXPECT_FALSE(WasExamined(tree, below));
}

TEST(CollectViewerWindows, KeepsAtMost32767Entries) {
    MemoryWindowTree tree;
    const WindowHandle root = tree.Add(0, "Root");
    for (int group = 0; group < 2; ++group) {
        const WindowHandle parent = tree.Add(root, "Group");
        for (int i = 0; i < 20000; ++i) {
            tree.Add(parent, "Edit", "1%");
        }
    }
    tree.Add(root, "AVL_AVView", "AVPageView");

    CapturedWindows list;
    // The walk goes on past the full list and still finds the document view.
    EXPECT_EQ(CollectViewerWindows(tree, root, kOld, list), L"AVPageView");
    EXPECT_EQ(list.WindowCount, 32767);
    EXPECT_EQ(list.WindowHandles.size(), 32767u);
    EXPECT_FALSE(list.Append(1, L"Edit", L"1%"));
    EXPECT_EQ(list.WindowCount, 32767);
}

// ---- the page-box walk

TEST(FindPageBox, OldLayoutTakesTheNumberBeforTheFirstSpaceAndEndsThere) {
    MemoryWindowTree tree;
    const WindowHandle root = tree.Add(0, "Root");
    const WindowHandle bar = tree.Add(root, "AVL_AVView", "AVToolBarView");
    tree.Add(bar, "Edit", "100%"); // no space: not the page box
    const WindowHandle box = tree.Add(bar, "Edit", "7 of 20");
    const WindowHandle child = tree.Add(box, "Edit", "8 of 20");
    const WindowHandle later = tree.Add(root, "Edit", "9 of 20");

    std::int32_t lastPage = 0;
    EXPECT_EQ(FindPageBox(tree, root, kOld, lastPage), L"7 of 20");
    EXPECT_EQ(lastPage, 7);
    EXPECT_FALSE(WasExamined(tree, child));
    EXPECT_FALSE(WasExamined(tree, later));
}

TEST(FindPageBox, NewLayoutRecognisesTheBoxByItsWidth) {
    for (const auto& [width, matches] :
         {std::pair{25, false}, {26, true}, {40, true}, {41, false}}) {
        MemoryWindowTree tree;
        const WindowHandle root = tree.Add(0, "Root");
        tree.AddWithWidth(root, "RichEdit20A", "12", width);
        std::int32_t lastPage = -1;
        FindPageBox(tree, root, kNew, lastPage);
        EXPECT_EQ(lastPage, matches ? 12 : -1) << width << " px";
    }
}

TEST(FindPageBox, NewLayoutVisitsEverythingAndTheLastBoxDecides) {
    MemoryWindowTree tree;
    const WindowHandle root = tree.Add(0, "Root");
    const WindowHandle first = tree.AddWithWidth(root, "Edit", "4", 30);
    const WindowHandle belowFirst = tree.AddWithWidth(first, "Edit", "5", 30);
    const WindowHandle group = tree.Add(root, "Group");
    tree.AddWithWidth(group, "Edit", "6", 30);
    const WindowHandle after = tree.Add(root, "Static", "");

    std::int32_t lastPage = 0;
    EXPECT_EQ(FindPageBox(tree, root, kNew, lastPage), L"");
    EXPECT_EQ(lastPage, 6);
    EXPECT_FALSE(WasExamined(tree, belowFirst)); // a matched box is not descended into
    EXPECT_TRUE(WasExamined(tree, after));
}

TEST(FindPageBox, EndWindowDependsOnTheReaderVersion) {
    // Z-order: tab view first, then the page view holding a box, then another box.
    MemoryWindowTree tree;
    const WindowHandle root = tree.Add(0, "Root");
    tree.Add(root, "AVL_AVView", "AVTabView");
    const WindowHandle pageView = tree.Add(root, "AVL_AVView", "AVPageView");
    const WindowHandle below = tree.AddWithWidth(pageView, "Edit", "2 of 3", 30);
    tree.AddWithWidth(root, "Edit", "3", 30);

    for (const std::int16_t version : {4, 5}) {
        std::int32_t lastPage = 0;
        tree.ClearExamined();
        EXPECT_EQ(FindPageBox(tree, root, version, lastPage), L"AVTabView");
        EXPECT_FALSE(WasExamined(tree, pageView)) << version;
    }
    for (const std::int16_t version : {3, 6, 7, 8, 9}) {
        std::int32_t lastPage = 0;
        tree.ClearExamined();
        FindPageBox(tree, root, version, lastPage);
        EXPECT_TRUE(WasExamined(tree, pageView)) << version;
        EXPECT_FALSE(WasExamined(tree, below)) << version;
        // Only the new layout goes on past the page view to the later box.
        EXPECT_EQ(lastPage, version >= 8 ? 3 : 0) << version;
    }
}

TEST(FindPageBox, TextThatDoesNotConvertKeepsTheValueButEndsTheSearch) {
    MemoryWindowTree tree;
    const WindowHandle root = tree.Add(0, "Root");
    tree.Add(root, "Edit", "x of 20");
    const WindowHandle later = tree.Add(root, "Edit", "2 of 20");

    std::int32_t lastPage = 4;
    EXPECT_EQ(FindPageBox(tree, root, kOld, lastPage), L"x of 20");
    EXPECT_EQ(lastPage, 4);
    EXPECT_FALSE(WasExamined(tree, later));
}

TEST(FindPageBox, BlankResultsAreTrimmedAwayAndDoNotStopTheWalk) {
    MemoryWindowTree tree;
    const WindowHandle root = tree.Add(0, "Root");
    tree.Add(root, "Edit", "   "); // holds a space, converts to nothing, trims to ""
    tree.Add(root, "Edit", " 3 of 9 ");

    std::int32_t lastPage = 0;
    EXPECT_EQ(FindPageBox(tree, root, kOld, lastPage), L"3 of 9");
    // The part before the first space is empty: no conversion.
    EXPECT_EQ(lastPage, 0);
}

TEST(FindPageBox, LeafAndNonWindowRootsYieldNothing) {
    MemoryWindowTree tree;
    const WindowHandle leaf = tree.Add(0, "Static", "hello");
    std::int32_t lastPage = 1;
    EXPECT_EQ(FindPageBox(tree, leaf, kOld, lastPage), L"");
    EXPECT_EQ(FindPageBox(tree, 0xBAD0, kOld, lastPage), L"");
    EXPECT_EQ(FindPageBox(tree, 0, kOld, lastPage), L"");
    EXPECT_EQ(lastPage, 1);
}

// ---- the zoom-box walk

TEST(FindZoomBox, ConvertsTheNumberBeforeThePercentSign) {
    for (const auto& [text, expected] : {std::pair{"150%", 150},
                                         {"75.0%", 75},
                                         {"6400%", 6400},
                                         {"33.3%", 33},
                                         {"12.5%", 12},
                                         {"40000%", -1},
                                         {"%", -1},
                                         {"abc%", -1}}) {
        MemoryWindowTree tree;
        const WindowHandle root = tree.Add(0, "Root");
        tree.Add(root, "Edit", text);
        std::int16_t zoom = -1;
        EXPECT_EQ(FindZoomBox(tree, root, kOld, zoom),
                  std::wstring(text, text + std::strlen(text)));
        EXPECT_EQ(zoom, expected) << text;
    }
}

TEST(FindZoomBox, UnconvertibleBoxEndsTheSearchInTheOldLayout) {
    MemoryWindowTree tree;
    const WindowHandle root = tree.Add(0, "Root");
    const WindowHandle bad = tree.Add(root, "Edit", "abc%");
    const WindowHandle below = tree.Add(bad, "Edit", "50%");
    const WindowHandle later = tree.Add(root, "RichEdit20A", "200%");

    std::int16_t zoom = 80;
    EXPECT_EQ(FindZoomBox(tree, root, kOld, zoom), L"abc%");
    EXPECT_EQ(zoom, 80);
    EXPECT_FALSE(WasExamined(tree, below));
    EXPECT_FALSE(WasExamined(tree, later));

    // The new layout visits the later sibling, never the matched box's children.
    tree.ClearExamined();
    EXPECT_EQ(FindZoomBox(tree, root, kNew, zoom), L"200%");
    EXPECT_EQ(zoom, 200);
    EXPECT_FALSE(WasExamined(tree, below));
}

TEST(FindZoomBox, EndsAtTheLayoutsDocumentViewOnly) {
    MemoryWindowTree tree;
    const WindowHandle root = tree.Add(0, "Root");
    const WindowHandle pageView = tree.Add(root, "AVL_AVView", "AVPageView");
    tree.Add(pageView, "Edit", "90%");

    std::int16_t zoom = 0;
    EXPECT_EQ(FindZoomBox(tree, root, kOld, zoom), L"AVPageView");
    EXPECT_EQ(zoom, 0);
    FindZoomBox(tree, root, kNew, zoom);
    EXPECT_EQ(zoom, 90);
}

TEST(FindZoomBox, ReadsTheBuiltViewersInBothLayouts) {
    for (const ViewerLayout layout : {ViewerLayout::Old, ViewerLayout::New}) {
        MemoryWindowTree tree;
        const ViewerWindows w = BuildViewerTree(tree, {.layout = layout, .zoom = "125%"});
        std::int16_t zoom = 0;
        FindZoomBox(tree, w.control, testing::ReaderVersionFor(layout), zoom);
        EXPECT_EQ(zoom, 125);
        std::int32_t page = 0;
        tree.SetText(w.pageBox, layout == ViewerLayout::Old ? "4 of 10" : "4");
        FindPageBox(tree, w.control, testing::ReaderVersionFor(layout), page);
        EXPECT_EQ(page, 4);
    }
}

// ---- pathological trees

TEST(WalkGuards, SiblingCycleIsVisitedOnce) {
    MemoryWindowTree tree;
    const WindowHandle root = tree.Add(0, "Root");
    const WindowHandle a = tree.Add(root, "Edit", "1%");
    tree.Add(root, "Static");
    const WindowHandle c = tree.Add(root, "Edit", "2%");
    tree.SetNextSibling(c, a); // the chain comes back to its start

    CapturedWindows list;
    EXPECT_EQ(CollectViewerWindows(tree, root, kOld, list), L"");
    EXPECT_EQ(list.WindowCount, 2);
    EXPECT_EQ(tree.Examined().size(), 4u);
}

TEST(WalkGuards, ChildLinkBackToAnAncestorDoesNotLoop) {
    MemoryWindowTree tree;
    const WindowHandle root = tree.Add(0, "Root");
    const WindowHandle a = tree.Add(root, "Group");
    const WindowHandle b = tree.Add(a, "Edit", "5%");
    tree.SetFirstChild(b, root);
    tree.SetNextSibling(b, 0xBAD0); // no window: examined as an empty leaf

    std::int16_t zoom = 0;
    EXPECT_EQ(FindZoomBox(tree, root, kNew, zoom), L"");
    EXPECT_EQ(zoom, 5);
    CapturedWindows list;
    EXPECT_EQ(CollectViewerWindows(tree, root, kNew, list), L"");
    EXPECT_THAT(list.WindowHandles, ElementsAre(b));
    EXPECT_THAT(tree.Examined(), ::testing::Contains(WindowHandle{0xBAD0}));
}

TEST(WalkGuards, VeryDeepTreeNeitherOverflowsTheStackNorLosesTheResult) {
    MemoryWindowTree tree;
    const WindowHandle root = tree.Add(0, "Root");
    WindowHandle parent = root;
    for (int depth = 0; depth < 60000; ++depth) {
        parent = tree.Add(parent, "Level");
    }
    tree.Add(parent, "Edit", "3 of 4");
    tree.Add(parent, "AVL_AVView", "AVPageView");

    CapturedWindows list;
    EXPECT_EQ(CollectViewerWindows(tree, root, kOld, list), L"AVPageView");
    EXPECT_EQ(list.WindowCount, 1);
    std::int32_t page = 0;
    EXPECT_EQ(FindPageBox(tree, root, kOld, page), L"3 of 4");
    EXPECT_EQ(page, 3);
}

TEST(WalkGuards, EndlessChainOfNewWindowsIsCutOff) {
    // Every window claims a fresh first child: only the walk's budget ends this.
    class EndlessTree final : public MemoryWindowTree {
    public:
        WindowHandle FirstChild(WindowHandle window) override { return window + 1; }
        std::int32_t ClassName(WindowHandle, std::span<char> buffer) override {
            buffer[0] = 'X';
            return 1;
        }
    };
    EndlessTree tree;
    CapturedWindows list;
    EXPECT_EQ(CollectViewerWindows(tree, 1, kOld, list), L"");
    EXPECT_THAT(list.WindowHandles, IsEmpty());
}

} // namespace
} // namespace folivex
