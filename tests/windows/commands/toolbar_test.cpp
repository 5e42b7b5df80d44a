// Closing, showing, enabling and disabling the component's toolbar and navigation bar, observed
// on the stand-in's own windows: the toolbar switch (member 3) row by row of the closed state,
// WM_CLOSE to every captured easel entry, the narrow toolbar view, and the cover panel.

#include "tests/windows/commands/commands_fixture.h"

#include <map>

namespace folivex::testing {
namespace {

class Toolbar : public LayoutFixture {
protected:
    HWND Easel() { return FindViewerWindow(Control(), "AVL_AVView", "AVToolBarEasel"); }
    HWND ToolbarView(int index) {
        return FindViewerWindow(Control(), "AVL_AVView", "AVToolBarView", index);
    }
    HWND NavigationBar() { return FindViewerWindow(Control(), "AVL_AVView", "AVStatusLayoutView"); }
    // Picture1: the control window's STATIC child.
    HWND CoverPanel() { return ::FindWindowExW(Control(), nullptr, L"STATIC", nullptr); }
    // The Boolean values member 3 received since the mark.
    std::vector<std::wstring> Switches() {
        std::vector<std::wstring> values;
        for (const standin::JournalEntry& call : journal_.CallsOf(3)) {
            EXPECT_EQ(call.arguments.size(), 1u);
            if (!call.arguments.empty()) {
                EXPECT_EQ(call.arguments[0].type, VT_BOOL | VT_BYREF);
                values.push_back(call.arguments[0].value);
            }
        }
        return values;
    }
    void ExpectCoverPanelAtTopRightOnlyInTheOldLayout() {
        HWND panel = CoverPanel();
        ASSERT_NE(panel, nullptr);
        if (!GetParam().Old()) {
            EXPECT_FALSE(::IsWindowVisible(panel));
            return;
        }
        EXPECT_TRUE(::IsWindowVisible(panel));
        RECT client = {};
        ::GetClientRect(Control(), &client);
        RECT bounds = {};
        ::GetWindowRect(panel, &bounds);
        ::MapWindowPoints(nullptr, Control(), reinterpret_cast<POINT*>(&bounds), 2);
        EXPECT_EQ(bounds.right, client.right);
        EXPECT_EQ(bounds.top, 0); // the component's Top
    }
};

TEST_P(Toolbar, ShowToolbarFollowsTheClosedStateTableRowByRow) {
    OpenThreePages();
    ASSERT_NE(Easel(), nullptr);

    // Open: (True, False) and (False, False) only switch.
    ASSERT_EQ(viewer_->ShowToolbar(VARIANT_TRUE, VARIANT_FALSE), S_OK);
    ASSERT_EQ(viewer_->ShowToolbar(VARIANT_FALSE, VARIANT_FALSE), S_OK);
    EXPECT_EQ(Switches(), (std::vector<std::wstring>{L"-1", L"0"}));
    PumpPostedMessages();
    EXPECT_NE(Easel(), nullptr);
    EXPECT_FALSE(::IsWindowVisible(CoverPanel()));

    // (True, True): switch, then close. The narrow view is disabled before the posted close
    // takes the easel away.
    journal_.Mark();
    HWND narrow = ToolbarView(0);
    HWND wide = ToolbarView(1);
    ASSERT_EQ(WindowWidth(narrow), 36);
    ASSERT_EQ(WindowWidth(wide), 120);
    ASSERT_EQ(viewer_->ShowToolbar(VARIANT_TRUE, VARIANT_TRUE), S_OK);
    EXPECT_EQ(Switches(), (std::vector<std::wstring>{L"-1"}));
    EXPECT_FALSE(::IsWindowEnabled(narrow));
    EXPECT_TRUE(::IsWindowEnabled(wide));
    ExpectCoverPanelAtTopRightOnlyInTheOldLayout();
    PumpPostedMessages();
    EXPECT_EQ(Easel(), nullptr);

    // Closed: showing does nothing at all, hiding still switches, hiding with close repeats
    // the close steps.
    journal_.Mark();
    ASSERT_EQ(viewer_->ShowToolbar(VARIANT_TRUE, VARIANT_FALSE), S_OK);
    ASSERT_EQ(viewer_->ShowToolbar(VARIANT_TRUE, VARIANT_TRUE), S_OK);
    ASSERT_EQ(host_->Call(L"ShowToolbar", {}), S_OK);
    EXPECT_TRUE(Switches().empty());
    ASSERT_EQ(viewer_->ShowToolbar(VARIANT_FALSE, VARIANT_FALSE), S_OK);
    ASSERT_EQ(viewer_->ShowToolbar(VARIANT_FALSE, VARIANT_TRUE), S_OK);
    EXPECT_EQ(Switches(), (std::vector<std::wstring>{L"0", L"0"}));
    ExpectCoverPanelAtTopRightOnlyInTheOldLayout();
    ASSERT_EQ(viewer_->ShowToolbar(VARIANT_TRUE, VARIANT_FALSE), S_OK);
    EXPECT_EQ(Switches().size(), 2u);

    // A new document opens the state again and hides the panel; no arguments means True.
    ASSERT_TRUE(OpenDocument(viewer_, TestDocument(L"one_page.pdf")));
    EXPECT_FALSE(::IsWindowVisible(CoverPanel()));
    journal_.Mark();
    ASSERT_EQ(host_->Call(L"ShowToolbar", {}), S_OK);
    EXPECT_EQ(Switches(), (std::vector<std::wstring>{L"-1"}));
}

TEST_P(Toolbar, TheSwitchFailureReachesTheHostAndLeavesTheToolbarOpen) {
    OpenThreePages();
    ScopedSetting fail(L"FOLIVEX_STANDIN_FAIL", L"3");
    EXPECT_EQ(viewer_->ShowToolbar(VARIANT_FALSE, VARIANT_TRUE), static_cast<HRESULT>(0x80040201));
    PumpPostedMessages();
    EXPECT_NE(Easel(), nullptr);
    EXPECT_TRUE(::IsWindowEnabled(ToolbarView(0)));
    EXPECT_FALSE(::IsWindowVisible(CoverPanel()));
}

// Counts the WM_CLOSE messages a window receives, and keeps it alive.
std::map<HWND, std::pair<WNDPROC, int>> g_closeCounts;
LRESULT CALLBACK CountCloses(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto& entry = g_closeCounts[window];
    if (message == WM_CLOSE) {
        ++entry.second;
        return 0;
    }
    return ::CallWindowProcW(entry.first, window, message, wParam, lParam);
}

TEST_P(Toolbar, EveryCapturedEaselEntryIsPostedToRepeatsIncluded) {
    // A late document view makes the opening walk pass several times, capturing the easel again
    // at each pass.
    ScopedSetting delay(L"FOLIVEX_STANDIN_DOCVIEW_DELAY", L"300");
    OpenThreePages();
    HWND easel = Easel();
    ASSERT_NE(easel, nullptr);
    g_closeCounts.clear();
    g_closeCounts[easel].first = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(easel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountCloses)));
    ASSERT_EQ(viewer_->ShowToolbar(VARIANT_FALSE, VARIANT_TRUE), S_OK);
    PumpPostedMessages();
    const int closes = g_closeCounts[easel].second;
    ::SetWindowLongPtrW(easel, GWLP_WNDPROC,
                        reinterpret_cast<LONG_PTR>(g_closeCounts[easel].first));
    EXPECT_GE(closes, 2);

    // The repeated entries are disabled and enabled again without any trouble.
    ASSERT_EQ(viewer_->DisableToolbar(), S_OK);
    EXPECT_FALSE(::IsWindowEnabled(easel));
    ASSERT_EQ(viewer_->EnableToolbar(), S_OK);
    EXPECT_TRUE(::IsWindowEnabled(easel));
}

TEST_P(Toolbar, EnableAndDisableActOnTheCapturedToolbarAndNavigationBar) {
    OpenThreePages();
    HWND easel = Easel();
    HWND navigation = NavigationBar();
    ASSERT_NE(easel, nullptr);
    ASSERT_NE(navigation, nullptr);

    ASSERT_EQ(viewer_->DisableToolbar(), S_OK);
    EXPECT_FALSE(::IsWindowEnabled(easel));
    EXPECT_TRUE(::IsWindowEnabled(navigation));
    ASSERT_EQ(viewer_->DisableNavigationBar(), S_OK);
    EXPECT_FALSE(::IsWindowEnabled(navigation));
    ASSERT_EQ(viewer_->EnableToolbar(), S_OK);
    EXPECT_TRUE(::IsWindowEnabled(easel));
    EXPECT_FALSE(::IsWindowEnabled(navigation));
    ASSERT_EQ(viewer_->EnableNavigationBar(), S_OK);
    EXPECT_TRUE(::IsWindowEnabled(navigation));
    // Only windows of the tree: the component call list stays empty.
    EXPECT_TRUE(journal_.SinceMark().empty());

    // After the toolbar was closed the enable and disable calls still run, on a list whose
    // windows are gone, without failing.
    ASSERT_EQ(viewer_->ShowToolbar(VARIANT_FALSE, VARIANT_TRUE), S_OK);
    PumpPostedMessages();
    EXPECT_EQ(viewer_->DisableToolbar(), S_OK);
    EXPECT_EQ(viewer_->EnableToolbar(), S_OK);
    EXPECT_EQ(viewer_->DisableNavigationBar(), S_OK);
    EXPECT_FALSE(::IsWindowEnabled(navigation));
    EXPECT_EQ(viewer_->EnableNavigationBar(), S_OK);
}

TEST_P(Toolbar, BeforeAnyDocumentOnlyTheSwitchAndTheClosedStateHappen) {
    journal_.Mark();
    ASSERT_EQ(viewer_->DisableToolbar(), S_OK);
    ASSERT_EQ(viewer_->DisableNavigationBar(), S_OK);
    // The stand-in's windows exist, but nothing was captured: nothing is disabled.
    HWND easel = Easel();
    ASSERT_NE(easel, nullptr);
    EXPECT_TRUE(::IsWindowEnabled(easel));
    EXPECT_TRUE(::IsWindowEnabled(NavigationBar()));

    ASSERT_EQ(viewer_->ShowToolbar(VARIANT_FALSE, VARIANT_TRUE), S_OK);
    EXPECT_EQ(Switches(), (std::vector<std::wstring>{L"0"}));
    EXPECT_TRUE(::IsWindowEnabled(ToolbarView(0)));
    ExpectCoverPanelAtTopRightOnlyInTheOldLayout();
    PumpPostedMessages();
    EXPECT_NE(Easel(), nullptr); // nothing was posted to
    journal_.Mark();
    ASSERT_EQ(viewer_->ShowToolbar(VARIANT_TRUE, VARIANT_FALSE), S_OK);
    EXPECT_TRUE(Switches().empty());
}

INSTANTIATE_TEST_SUITE_P(Layouts, Toolbar, ::testing::Values(kOldLayout, kNewLayout), LayoutName);

} // namespace
} // namespace folivex::testing
