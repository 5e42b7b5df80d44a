#include "viewer_bridge/mode_keywords.h"
#include "viewer_bridge/testing/recording_component.h"
#include "viewer_bridge/viewer_commands.h"

#include <gtest/gtest.h>

#include <functional>

namespace folivex {
namespace {

using testing::RecordedArg;
using testing::RecordingComponent;
using Kind = ComponentArg::Kind;
using Value = std::variant<std::int32_t, float, AutoBool, std::wstring>;

constexpr HResult kComponentError = static_cast<HResult>(0x800A01B6u);

TEST(ModeKeywords, EveryEnumValue) {
    const wchar_t* layouts[] = {L"DontCare", L"SinglePage", L"OneColumn", L"TwoColumnLeft",
                                L"TwoColumnRight"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(LayoutModeKeyword(i), layouts[i]);
    }
    EXPECT_EQ(PageModeKeyword(0), L"none");
    EXPECT_EQ(PageModeKeyword(1), L"bookmarks");
    EXPECT_EQ(PageModeKeyword(2), L"thumbs");
    const wchar_t* views[] = {L"Fit", L"FitH", L"FitV", L"FitB", L"FitBH", L"FitBV"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(ViewModeKeyword(i), views[i]);
    }
}

TEST(ModeKeywords, OutOfRangeFallsBackToValueZero) {
    for (const std::int32_t value : {5, 7, -1, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(LayoutModeKeyword(value), L"DontCare") << value;
    }
    for (const std::int32_t value : {3, 4, 5, -1, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(PageModeKeyword(value), L"none") << value;
    }
    for (const std::int32_t value : {6, -1, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(ViewModeKeyword(value), L"Fit") << value;
    }
}

struct Expected {
    const char* name;
    std::function<HResult(ViewerComponent&)> call;
    int dispid;
    std::vector<std::pair<Kind, Value>> args;
};

std::vector<Expected> AllWrappers() {
    const AutoBool t = kAutoTrue;
    const AutoBool f = kAutoFalse;
    return {
        {"GotoFirstPage", [](auto& c) { return GotoFirstPage(c); }, 4, {}},
        {"GotoLastPage", [](auto& c) { return GotoLastPage(c); }, 5, {}},
        {"GotoNextPage", [](auto& c) { return GotoNextPage(c); }, 6, {}},
        {"GotoPreviousPage", [](auto& c) { return GotoPreviousPage(c); }, 7, {}},
        {"SetCurrentPage",
         [](auto& c) { return SetCurrentPage(c, 12); },
         8,
         {{Kind::LongRef, std::int32_t{12}}}},
        {"GotoNextView", [](auto& c) { return GotoNextView(c); }, 9, {}},
        {"GotoPreviousView", [](auto& c) { return GotoPreviousView(c); }, 10, {}},
        {"SetPageMode",
         [](auto& c) { return SetPageMode(c, 1); },
         11,
         {{Kind::StringValue, std::wstring(L"bookmarks")}}},
        {"SetLayoutMode",
         [](auto& c) { return SetLayoutMode(c, 4); },
         12,
         {{Kind::StringValue, std::wstring(L"TwoColumnRight")}}},
        {"SetNamedDest",
         [](auto& c) { return SetNamedDest(c, L"chapter 2"); },
         13,
         {{Kind::StringRef, std::wstring(L"chapter 2")}}},
        {"PrintWithDialog", [](auto& c) { return PrintWithDialog(c); }, 15, {}},
        {"SetZoom", [](auto& c) { return SetZoom(c, 150.5f); }, 16, {{Kind::SingleRef, 150.5f}}},
        {"SetZoomScroll",
         [](auto& c) { return SetZoomScroll(c, 75.0f, 10.0f, 20.0f); },
         17,
         {{Kind::SingleRef, 75.0f}, {Kind::SingleRef, 10.0f}, {Kind::SingleRef, 20.0f}}},
        {"SetView",
         [](auto& c) { return SetView(c, 2); },
         18,
         {{Kind::StringValue, std::wstring(L"FitV")}}},
        {"SetViewScroll",
         [](auto& c) { return SetViewScroll(c, 5, 12.5f); },
         19,
         {{Kind::StringValue, std::wstring(L"FitBV")}, {Kind::SingleRef, 12.5f}}},
        {"SetViewRect",
         [](auto& c) { return SetViewRect(c, 1.0f, 2.0f, 3.0f, 4.0f); },
         20,
         {{Kind::SingleRef, 1.0f},
          {Kind::SingleRef, 2.0f},
          {Kind::SingleRef, 3.0f},
          {Kind::SingleRef, 4.0f}}},
        {"PrintPages",
         [](auto& c) { return PrintPages(c, 5, 2); },
         21,
         {{Kind::LongRef, std::int32_t{5}}, {Kind::LongRef, std::int32_t{2}}}},
        {"PrintPagesFit",
         [](auto& c) { return PrintPagesFit(c, -3, 9, kAutoTrue); },
         22,
         {{Kind::LongRef, std::int32_t{-3}}, {Kind::LongRef, std::int32_t{9}}, {Kind::BoolRef, t}}},
        {"PrintAll", [](auto& c) { return PrintAll(c); }, 23, {}},
        {"PrintAllFit",
         [](auto& c) { return PrintAllFit(c, kAutoFalse); },
         24,
         {{Kind::BoolRef, f}}},
        {"ShowScrollBars",
         [](auto& c) { return ShowScrollBars(c, kAutoFalse); },
         25,
         {{Kind::BoolRef, f}}},
        {"ShowScrollBars()", [](auto& c) { return ShowScrollBars(c); }, 25, {{Kind::BoolRef, t}}},
        {"SetCurrentHighlight",
         [](auto& c) { return SetCurrentHighlight(c, 10, 20, 300, 400); },
         28,
         {{Kind::LongRef, std::int32_t{10}},
          {Kind::LongRef, std::int32_t{20}},
          {Kind::LongRef, std::int32_t{300}},
          {Kind::LongRef, std::int32_t{400}}}},
    };
}

TEST(ViewerCommands, EachWrapperCallsItsMemberWithItsArgumentsInOrder) {
    for (const Expected& expected : AllWrappers()) {
        SCOPED_TRACE(expected.name);
        RecordingComponent component;
        EXPECT_EQ(expected.call(component), kOk);
        ASSERT_EQ(component.calls.size(), 1u);
        EXPECT_EQ(component.calls[0].dispid, expected.dispid);
        ASSERT_EQ(component.calls[0].args.size(), expected.args.size());
        for (std::size_t i = 0; i < expected.args.size(); ++i) {
            const RecordedArg& arg = component.calls[0].args[i];
            EXPECT_EQ(arg.kind, expected.args[i].first) << "argument " << i;
            EXPECT_EQ(arg.value, expected.args[i].second) << "argument " << i;
        }
        EXPECT_EQ(component.printRequests, 0);
    }
}

TEST(ViewerCommands, ModeArgumentsAreRunThroughTheirKeywordMaps) {
    struct Case {
        std::function<HResult(ViewerComponent&)> call;
        std::wstring keyword;
    };
    const Case cases[] = {
        {[](auto& c) { return SetLayoutMode(c, 7); }, L"DontCare"},
        {[](auto& c) { return SetLayoutMode(c, -1); }, L"DontCare"},
        {[](auto& c) { return SetPageMode(c, 3); }, L"none"},
        {[](auto& c) { return SetPageMode(c, 2); }, L"thumbs"},
        {[](auto& c) { return SetView(c, 6); }, L"Fit"},
        {[](auto& c) { return SetViewScroll(c, -4, 0.0f); }, L"Fit"},
    };
    for (const Case& c : cases) {
        RecordingComponent component;
        c.call(component);
        ASSERT_EQ(component.calls.size(), 1u);
        EXPECT_EQ(std::get<std::wstring>(component.calls[0].args[0].value), c.keyword);
    }
}

// Nothing the component writes back through a by-reference argument reaches the host's value.
TEST(ViewerCommands, ByReferenceArgumentsPointAtTheWrappersOwnCopies) {
    RecordingComponent component;
    component.writeBack = L"changed";
    const std::wstring destination = L"intro";
    SetNamedDest(component, destination);
    EXPECT_EQ(destination, L"intro");
    EXPECT_NE(component.calls[0].args[0].target, &destination);

    std::int32_t page = 3;
    SetCurrentPage(component, page);
    EXPECT_NE(component.calls[1].args[0].target, &page);
}

TEST(ViewerCommands, FailuresArePassedOnExceptForZoomAndRefresh) {
    for (const Expected& expected : AllWrappers()) {
        SCOPED_TRACE(expected.name);
        RecordingComponent component;
        component.failWith = kComponentError;
        const bool ignored = expected.dispid == 16 || expected.dispid == 17;
        EXPECT_EQ(expected.call(component), ignored ? kOk : kComponentError);
        EXPECT_EQ(component.calls.size(), 1u);
    }
}

TEST(ViewerCommands, PrintPDFIsTheGenericPrintRequest) {
    RecordingComponent component;
    EXPECT_EQ(PrintPDF(component), kOk);
    EXPECT_EQ(component.printRequests, 1);
    EXPECT_TRUE(component.calls.empty());
    component.failWith = kComponentError;
    EXPECT_EQ(PrintPDF(component), kComponentError);
}

TEST(ViewerCommands, RefreshRepaintsTheControlOnly) {
    struct Surface : ControlSurface {
        int repaints = 0;
        void RepaintNow() override { ++repaints; }
    } surface;
    EXPECT_EQ(Refresh(surface), kOk);
    EXPECT_EQ(surface.repaints, 1);
}

} // namespace
} // namespace folivex
