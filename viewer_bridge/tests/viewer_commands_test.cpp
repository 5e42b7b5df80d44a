#include "viewer_bridge/mode_keywords.h"
#include "viewer_bridge/testing/recording_component.h"
#include "viewer_bridge/testing/wrapper_table.h"
#include "viewer_bridge/viewer_commands.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string_view>

namespace folivex {
namespace {

using testing::RecordedArg;
using testing::RecordingComponent;
using testing::WrapperArg;
using testing::WrapperCase;
using testing::WrapperCases;
using Kind = ComponentArg::Kind;

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

using WrapperCall = std::function<HResult(ViewerComponent&, const WrapperCase&)>;

// Each wrapper function called with a case's host arguments.
HResult CallWrapper(ViewerComponent& component, const WrapperCase& wrapper) {
    static const std::map<std::string_view, WrapperCall> calls = {
        {"GotoFirstPage", [](auto& c, auto&) { return GotoFirstPage(c); }},
        {"GotoLastPage", [](auto& c, auto&) { return GotoLastPage(c); }},
        {"GotoNextPage", [](auto& c, auto&) { return GotoNextPage(c); }},
        {"GotoPreviousPage", [](auto& c, auto&) { return GotoPreviousPage(c); }},
        {"SetCurrentPage", [](auto& c, auto& w) { return SetCurrentPage(c, w.Long(0)); }},
        {"GotoNextView", [](auto& c, auto&) { return GotoNextView(c); }},
        {"GotoPreviousView", [](auto& c, auto&) { return GotoPreviousView(c); }},
        {"SetPageMode", [](auto& c, auto& w) { return SetPageMode(c, w.Long(0)); }},
        {"SetLayoutMode", [](auto& c, auto& w) { return SetLayoutMode(c, w.Long(0)); }},
        {"SetNamedDest", [](auto& c, auto& w) { return SetNamedDest(c, w.String(0)); }},
        {"PrintWithDialog", [](auto& c, auto&) { return PrintWithDialog(c); }},
        {"SetZoom", [](auto& c, auto& w) { return SetZoom(c, w.Single(0)); }},
        {"SetZoomScroll",
         [](auto& c, auto& w) { return SetZoomScroll(c, w.Single(0), w.Single(1), w.Single(2)); }},
        {"SetView", [](auto& c, auto& w) { return SetView(c, w.Long(0)); }},
        {"SetViewScroll",
         [](auto& c, auto& w) { return SetViewScroll(c, w.Long(0), w.Single(1)); }},
        {"SetViewRect",
         [](auto& c, auto& w) {
             return SetViewRect(c, w.Single(0), w.Single(1), w.Single(2), w.Single(3));
         }},
        {"PrintPages", [](auto& c, auto& w) { return PrintPages(c, w.Long(0), w.Long(1)); }},
        {"PrintPagesFit",
         [](auto& c, auto& w) { return PrintPagesFit(c, w.Long(0), w.Long(1), w.Bool(2)); }},
        {"PrintAll", [](auto& c, auto&) { return PrintAll(c); }},
        {"PrintAllFit", [](auto& c, auto& w) { return PrintAllFit(c, w.Bool(0)); }},
        {"ShowScrollBars", [](auto& c, auto& w) { return ShowScrollBars(c, w.Bool(0)); }},
        {"SetCurrentHighlight",
         [](auto& c, auto& w) {
             return SetCurrentHighlight(c, w.Long(0), w.Long(1), w.Long(2), w.Long(3));
         }},
    };
    return calls.at(wrapper.method)(component, wrapper);
}

void ExpectOneCall(const RecordingComponent& component, int member,
                   const std::vector<WrapperArg>& args) {
    ASSERT_EQ(component.calls.size(), 1u);
    EXPECT_EQ(component.calls[0].dispid, member);
    ASSERT_EQ(component.calls[0].args.size(), args.size());
    for (std::size_t i = 0; i < args.size(); ++i) {
        const RecordedArg& arg = component.calls[0].args[i];
        EXPECT_EQ(arg.kind, args[i].kind) << "argument " << i;
        EXPECT_EQ(arg.value, args[i].value) << "argument " << i;
    }
}

TEST(ViewerCommands, EachWrapperCallsItsMemberWithItsArgumentsInOrder) {
    for (const WrapperCase& wrapper : WrapperCases()) {
        SCOPED_TRACE(wrapper.label);
        RecordingComponent component;
        EXPECT_EQ(CallWrapper(component, wrapper), kOk);
        ExpectOneCall(component, wrapper.member, wrapper.memberArgs);
        EXPECT_EQ(component.printRequests, 0);
    }

    // ShowScrollBars without an argument shows them.
    RecordingComponent component;
    EXPECT_EQ(ShowScrollBars(component), kOk);
    ExpectOneCall(component, 25, {{Kind::BoolRef, kAutoTrue}});
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
    for (const WrapperCase& wrapper : WrapperCases()) {
        SCOPED_TRACE(wrapper.label);
        RecordingComponent component;
        component.failWith = kComponentError;
        const bool ignored = wrapper.member == 16 || wrapper.member == 17;
        EXPECT_EQ(CallWrapper(component, wrapper), ignored ? kOk : kComponentError);
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
