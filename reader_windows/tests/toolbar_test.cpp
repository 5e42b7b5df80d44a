#include "reader_windows/toolbar.h"

#include "reader_windows/testing/memory_window_tree.h"
#include "reader_windows/testing/viewer_tree_builder.h"
#include "reader_windows/window_walks.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

namespace folivex {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::MemoryWindowActions;
using testing::MemoryWindowTree;
using testing::ViewerLayout;
using testing::ViewerWindows;
using Action = MemoryWindowActions::Action;
using Kind = MemoryWindowActions::Action::Kind;

// Records the toolbar-switch calls; answers with `result`.
class FakeComponent final : public ViewerComponent {
public:
    struct Call {
        int dispid;
        ComponentArg::Kind kind;
        AutoBool value;
    };
    HResult result = kOk;
    std::vector<Call> calls;

    HResult Invoke(int dispid, std::span<const ComponentArg> args) override {
        EXPECT_EQ(args.size(), 1u);
        const AutoBool value = *static_cast<AutoBool*>(args[0].target);
        calls.push_back({dispid, args[0].kind, value});
        return result;
    }
    HResult PutSource(const std::wstring&) override { return kNotImplemented; }
    HResult GetSource(std::wstring&) override { return kNotImplemented; }
    HResult Print() override { return kNotImplemented; }
};

class FakeCoverPanel final : public CoverPanel {
public:
    int shown = 0;
    void ShowAtTopRight() override { ++shown; }
};

class ToolbarTest : public ::testing::Test {
protected:
    void Open(ViewerLayout layout) {
        windows_ = testing::BuildViewerTree(tree_, {.layout = layout});
        readerVersion_ = testing::ReaderVersionFor(layout);
        captured_.Clear();
        CollectViewerWindows(tree_, windows_.control, readerVersion_, captured_);
        toolbarClosed_ = kAutoFalse;
    }
    HResult Show(AutoBool show, AutoBool close) {
        return ShowToolbar(show, close, {component_, actions_, panel_}, captured_, readerVersion_,
                           toolbarClosed_);
    }
    std::vector<AutoBool> SwitchValues() const {
        std::vector<AutoBool> values;
        for (const auto& call : component_.calls) {
            EXPECT_EQ(call.dispid, component_member::kShowToolbar);
            EXPECT_EQ(call.kind, ComponentArg::Kind::BoolRef);
            values.push_back(call.value);
        }
        return values;
    }
    // The close steps' trace: the toolbar posted to, the 36-pixel view disabled.
    std::vector<Action> CloseSteps() const {
        return {{Kind::PostClose, windows_.toolbarEasel, true},
                {Kind::Disable, windows_.narrowToolbarView, true}};
    }

    MemoryWindowTree tree_;
    MemoryWindowActions actions_{tree_};
    FakeComponent component_;
    FakeCoverPanel panel_;
    ViewerWindows windows_;
    CapturedWindows captured_;
    std::int16_t readerVersion_ = 0;
    AutoBool toolbarClosed_ = kAutoFalse;
};

// ---- the ToolbarClosed state table, row by row, both columns

TEST_F(ToolbarTest, ShowWithoutCloseOnlySwitches) {
    Open(ViewerLayout::New);
    EXPECT_EQ(Show(kAutoTrue, kAutoFalse), kOk);
    EXPECT_THAT(SwitchValues(), ElementsAre(kAutoTrue));
    EXPECT_EQ(toolbarClosed_, kAutoFalse);
    EXPECT_THAT(actions_.Actions(), IsEmpty());

    toolbarClosed_ = kAutoTrue;
    EXPECT_EQ(Show(kAutoTrue, kAutoFalse), kOk);
    EXPECT_EQ(Show(kAutoTrue, kAutoTrue), kOk);
    EXPECT_EQ(component_.calls.size(), 1u); // nothing happened, not even the switch
    EXPECT_THAT(actions_.Actions(), IsEmpty());
    EXPECT_EQ(toolbarClosed_, kAutoTrue);
}

TEST_F(ToolbarTest, ShowAndCloseRunsTheCloseSteps) {
    Open(ViewerLayout::New);
    EXPECT_EQ(Show(kAutoTrue, kAutoTrue), kOk);
    EXPECT_THAT(SwitchValues(), ElementsAre(kAutoTrue));
    EXPECT_EQ(actions_.Actions(), CloseSteps());
    EXPECT_EQ(toolbarClosed_, kAutoTrue);
}

TEST_F(ToolbarTest, HideWithoutCloseSwitchesInBothStates) {
    Open(ViewerLayout::New);
    EXPECT_EQ(Show(kAutoFalse, kAutoFalse), kOk);
    EXPECT_EQ(toolbarClosed_, kAutoFalse);
    toolbarClosed_ = kAutoTrue;
    EXPECT_EQ(Show(kAutoFalse, kAutoFalse), kOk);
    EXPECT_EQ(toolbarClosed_, kAutoTrue);
    EXPECT_THAT(SwitchValues(), ElementsAre(kAutoFalse, kAutoFalse));
    EXPECT_THAT(actions_.Actions(), IsEmpty());
}

TEST_F(ToolbarTest, HideAndCloseRunsTheCloseStepsAgainWhileClosed) {
    Open(ViewerLayout::New);
    EXPECT_EQ(Show(kAutoFalse, kAutoTrue), kOk);
    EXPECT_EQ(toolbarClosed_, kAutoTrue);
    EXPECT_EQ(Show(kAutoFalse, kAutoTrue), kOk);
    EXPECT_EQ(toolbarClosed_, kAutoTrue);
    EXPECT_THAT(SwitchValues(), ElementsAre(kAutoFalse, kAutoFalse));
    std::vector<Action> twice = CloseSteps();
    twice.insert(twice.end(), twice.begin(), twice.end());
    EXPECT_EQ(actions_.Actions(), twice);
}

TEST_F(ToolbarTest, ClosedToolbarIgnoresShowUntilTheNextOpening) {
    Open(ViewerLayout::New);
    Show(kAutoFalse, kAutoTrue);
    Show(kAutoTrue, kAutoFalse);
    EXPECT_EQ(component_.calls.size(), 1u);
    // Opening a document clears the flag; showing works again.
    Open(ViewerLayout::New);
    Show(kAutoTrue, kAutoFalse);
    EXPECT_THAT(SwitchValues(), ElementsAre(kAutoFalse, kAutoTrue));
}

TEST_F(ToolbarTest, AnyNonZeroFlagCountsAsTrueAndReachesTheComponentAsTrue) {
    Open(ViewerLayout::New);
    EXPECT_EQ(Show(1, 1), kOk);
    EXPECT_THAT(SwitchValues(), ElementsAre(kAutoTrue));
    EXPECT_EQ(toolbarClosed_, kAutoTrue);
}

TEST_F(ToolbarTest, FailingSwitchIsReturnedUnchangedAndStopsEverything) {
    Open(ViewerLayout::Old);
    component_.result = static_cast<HResult>(0x80020009u);
    EXPECT_EQ(Show(kAutoFalse, kAutoTrue), static_cast<HResult>(0x80020009u));
    EXPECT_THAT(actions_.Actions(), IsEmpty());
    EXPECT_EQ(toolbarClosed_, kAutoFalse);
    EXPECT_EQ(panel_.shown, 0);
}

// ---- close steps

TEST_F(ToolbarTest, CoverPanelOnlyInTheOldLayout) {
    Open(ViewerLayout::Old);
    Show(kAutoFalse, kAutoTrue);
    EXPECT_EQ(panel_.shown, 1);
    Show(kAutoTrue, kAutoFalse); // closed: nothing
    EXPECT_EQ(panel_.shown, 1);

    for (const std::int16_t version : {8, 9, 11}) {
        readerVersion_ = version;
        toolbarClosed_ = kAutoFalse;
        Show(kAutoFalse, kAutoTrue);
    }
    EXPECT_EQ(panel_.shown, 1);
    // Showing without closing never shows the panel.
    readerVersion_ = 5;
    toolbarClosed_ = kAutoFalse;
    Show(kAutoTrue, kAutoFalse);
    EXPECT_EQ(panel_.shown, 1);
}

TEST_F(ToolbarTest, OldLayoutDisablesTheNarrowViewBeforeThePostedClosesAreHandled) {
    Open(ViewerLayout::Old);
    Show(kAutoFalse, kAutoTrue);
    EXPECT_EQ(actions_.Actions(), CloseSteps());
    EXPECT_TRUE(actions_.IsEnabled(windows_.wideToolbarView));
    EXPECT_TRUE(tree_.Exists(windows_.toolbarEasel)); // posted, not yet handled
    actions_.DeliverPostedCloses();
    EXPECT_FALSE(tree_.Exists(windows_.toolbarEasel));
}

TEST_F(ToolbarTest, EmptyListOnlySwitchesAndSetsTheFlag) {
    readerVersion_ = 7;
    EXPECT_EQ(Show(kAutoFalse, kAutoTrue), kOk);
    EXPECT_THAT(SwitchValues(), ElementsAre(kAutoFalse));
    EXPECT_EQ(toolbarClosed_, kAutoTrue);
    EXPECT_EQ(panel_.shown, 1);
    EnableToolbar(captured_, actions_);
    DisableToolbar(captured_, actions_);
    EnableNavigationBar(captured_, actions_);
    DisableNavigationBar(captured_, actions_);
    EXPECT_THAT(actions_.Actions(), IsEmpty());
}

// ---- the captured list as the operations see it

class CapturedListTest : public ::testing::Test {
protected:
    WindowHandle AddView(const char* text, std::int32_t width = 100) {
        const WindowHandle window = tree_.AddWithWidth(0, "AVL_AVView", text, width);
        captured_.Append(window, L"AVL_AVView", std::wstring(text, text + std::strlen(text)));
        return window;
    }

    MemoryWindowTree tree_;
    MemoryWindowActions actions_{tree_};
    CapturedWindows captured_;
};

TEST_F(CapturedListTest, RepeatedToolbarEntriesAreEachTreated) {
    const WindowHandle easel = AddView("AVToolBarEasel");
    captured_.Append(easel, L"AVL_AVView", L"AVToolBarEasel"); // a second pass's repeat
    const WindowHandle other = AddView("AVToolBarEasel");
    captured_.Append(tree_.Add(0, "Edit"), L"Edit", L"AVToolBarEasel"); // wrong class

    FakeComponent component;
    FakeCoverPanel panel;
    AutoBool closed = kAutoFalse;
    ShowToolbar(kAutoFalse, kAutoTrue, {component, actions_, panel}, captured_, 9, closed);
    DisableToolbar(captured_, actions_);
    EnableToolbar(captured_, actions_);
    EXPECT_THAT(actions_.Actions(),
                ElementsAre(Action{Kind::PostClose, easel, true},
                            Action{Kind::PostClose, easel, true},
                            Action{Kind::PostClose, other, true},
                            Action{Kind::Disable, easel, true}, Action{Kind::Disable, easel, true},
                            Action{Kind::Disable, other, true}, Action{Kind::Enable, easel, true},
                            Action{Kind::Enable, easel, true}, Action{Kind::Enable, other, true}));
}

TEST_F(CapturedListTest, OnlyTheFirst36PixelToolbarViewIsDisabled) {
    AddView("AVToolBarView", 120);
    const WindowHandle first36 = AddView("AVToolBarView", 36);
    AddView("AVToolBarView", 36);
    DisableNarrowToolbarView(captured_, actions_);
    EXPECT_THAT(actions_.Actions(), ElementsAre(Action{Kind::Disable, first36, true}));
}

TEST_F(CapturedListTest, WidthsThatDoNotFitSixteenBitsAreNotThirtySix) {
    // 65572 would read 36 if cut to 16 bits; a gone window has no width at all.
    AddView("AVToolBarView", 65536 + 36);
    const WindowHandle gone = AddView("AVToolBarView", 36);
    tree_.Destroy(gone);
    const WindowHandle easel36 = AddView("AVToolBarEasel", 36); // not a toolbar view
    const WindowHandle narrow = AddView("AVToolBarView", 36);
    DisableNarrowToolbarView(captured_, actions_);
    EXPECT_THAT(actions_.Actions(), ElementsAre(Action{Kind::Disable, narrow, true}));
    EXPECT_TRUE(actions_.IsEnabled(easel36));
}

TEST_F(CapturedListTest, OnlyTheFirstNavigationBarIsTreated) {
    const WindowHandle first = AddView("AVStatusLayoutView");
    AddView("AVStatusLayoutView");
    DisableNavigationBar(captured_, actions_);
    EnableNavigationBar(captured_, actions_);
    EXPECT_THAT(actions_.Actions(),
                ElementsAre(Action{Kind::Disable, first, true}, Action{Kind::Enable, first, true}));
}

TEST_F(CapturedListTest, GoneWindowsAreSkippedQuietly) {
    const WindowHandle gone = AddView("AVToolBarEasel");
    const WindowHandle alive = AddView("AVToolBarEasel");
    const WindowHandle goneBar = AddView("AVStatusLayoutView");
    AddView("AVStatusLayoutView");
    tree_.Destroy(gone);
    tree_.Destroy(goneBar);
    DisableToolbar(captured_, actions_);
    DisableNavigationBar(captured_, actions_);
    // The first navigation bar is still the one treated, though its window is gone.
    EXPECT_THAT(actions_.Actions(),
                ElementsAre(Action{Kind::Disable, gone, false}, Action{Kind::Disable, alive, true},
                            Action{Kind::Disable, goneBar, false}));
}

TEST_F(CapturedListTest, NothingPastTheCountIsTreated) {
    AddView("AVToolBarEasel");
    captured_.WindowCount = 0;
    DisableToolbar(captured_, actions_);
    EXPECT_THAT(actions_.Actions(), IsEmpty());
}

} // namespace
} // namespace folivex
