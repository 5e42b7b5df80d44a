// The navigation, view and print wrappers as the component receives them: member number,
// argument order and kinds (numbers and Booleans by reference, mode keywords by value, the named
// destination by reference), the keyword fallbacks, and which failures reach the host.

#include "tests/windows/commands/commands_fixture.h"

#include "com/bstr.h"
#include "com/excep_info.h"

#include <docobj.h>

#include <functional>

namespace folivex::testing {
namespace {

using standin::JournalEntry;
using standin::JournalKind;

constexpr HRESULT kStandInFailure = static_cast<HRESULT>(0x80040201);
constexpr std::uint16_t kRef = VT_BYREF;

struct Arg {
    std::uint16_t type;
    const wchar_t* value;
};

struct WrapperCase {
    const char* name;
    std::function<HRESULT(_Viewer*)> call;
    int member;
    std::vector<Arg> args;
};

std::vector<WrapperCase> WrapperCases() {
    return {
        {"GotoFirstPage", [](_Viewer* v) { return v->GotoFirstPage(); }, 4, {}},
        {"GotoLastPage", [](_Viewer* v) { return v->GotoLastPage(); }, 5, {}},
        {"GotoNextPage", [](_Viewer* v) { return v->GotoNextPage(); }, 6, {}},
        {"GotoPreviousPage", [](_Viewer* v) { return v->GotoPreviousPage(); }, 7, {}},
        {"SetCurrentPage",
         [](_Viewer* v) { return v->SetCurrentPage(2); },
         8,
         {{VT_I4 | kRef, L"2"}}},
        {"GotoNextView", [](_Viewer* v) { return v->GotoNextView(); }, 9, {}},
        {"GotoPreviousView", [](_Viewer* v) { return v->GotoPreviousView(); }, 10, {}},
        {"SetPageMode(2)",
         [](_Viewer* v) { return v->SetPageMode(static_cast<PageMode>(2)); },
         11,
         {{VT_BSTR, L"thumbs"}}},
        {"SetPageMode(1)",
         [](_Viewer* v) { return v->SetPageMode(static_cast<PageMode>(1)); },
         11,
         {{VT_BSTR, L"bookmarks"}}},
        {"SetPageMode(3)",
         [](_Viewer* v) { return v->SetPageMode(static_cast<PageMode>(3)); },
         11,
         {{VT_BSTR, L"none"}}},
        {"SetLayoutMode(4)",
         [](_Viewer* v) { return v->SetLayoutMode(static_cast<LayoutMode>(4)); },
         12,
         {{VT_BSTR, L"TwoColumnRight"}}},
        {"SetLayoutMode(7)",
         [](_Viewer* v) { return v->SetLayoutMode(static_cast<LayoutMode>(7)); },
         12,
         {{VT_BSTR, L"DontCare"}}},
        {"SetLayoutMode(-1)",
         [](_Viewer* v) { return v->SetLayoutMode(static_cast<LayoutMode>(-1)); },
         12,
         {{VT_BSTR, L"DontCare"}}},
        {"SetNamedDest",
         [](_Viewer* v) {
             com::Bstr name(L"Chapter 2");
             return v->SetNamedDest(name.Get());
         },
         13,
         {{VT_BSTR | kRef, L"Chapter 2"}}},
        {"PrintWithDialog", [](_Viewer* v) { return v->PrintWithDialog(); }, 15, {}},
        {"SetZoom", [](_Viewer* v) { return v->SetZoom(150.0f); }, 16, {{VT_R4 | kRef, L"150"}}},
        {"SetZoomScroll",
         [](_Viewer* v) { return v->SetZoomScroll(75.5f, 10.0f, 20.25f); },
         17,
         {{VT_R4 | kRef, L"75.5"}, {VT_R4 | kRef, L"10"}, {VT_R4 | kRef, L"20.25"}}},
        {"SetView(3)",
         [](_Viewer* v) { return v->SetView(static_cast<ViewMode>(3)); },
         18,
         {{VT_BSTR, L"FitB"}}},
        {"SetView(6)",
         [](_Viewer* v) { return v->SetView(static_cast<ViewMode>(6)); },
         18,
         {{VT_BSTR, L"Fit"}}},
        {"SetViewScroll",
         [](_Viewer* v) { return v->SetViewScroll(static_cast<ViewMode>(5), 12.5f); },
         19,
         {{VT_BSTR, L"FitBV"}, {VT_R4 | kRef, L"12.5"}}},
        {"SetViewRect",
         [](_Viewer* v) { return v->SetViewRect(1.5f, 2.0f, 300.0f, 400.5f); },
         20,
         {{VT_R4 | kRef, L"1.5"},
          {VT_R4 | kRef, L"2"},
          {VT_R4 | kRef, L"300"},
          {VT_R4 | kRef, L"400.5"}}},
        {"PrintPages(5,2)",
         [](_Viewer* v) { return v->PrintPages(5, 2); },
         21,
         {{VT_I4 | kRef, L"5"}, {VT_I4 | kRef, L"2"}}},
        {"PrintPagesFit",
         [](_Viewer* v) { return v->PrintPagesFit(1, 3, VARIANT_TRUE); },
         22,
         {{VT_I4 | kRef, L"1"}, {VT_I4 | kRef, L"3"}, {VT_BOOL | kRef, L"-1"}}},
        {"PrintAll", [](_Viewer* v) { return v->PrintAll(); }, 23, {}},
        {"PrintAllFit",
         [](_Viewer* v) { return v->PrintAllFit(VARIANT_FALSE); },
         24,
         {{VT_BOOL | kRef, L"0"}}},
        {"ShowScrollBars(False)",
         [](_Viewer* v) { return v->ShowScrollBars(VARIANT_FALSE); },
         25,
         {{VT_BOOL | kRef, L"0"}}},
        {"SetCurrentHighlight",
         [](_Viewer* v) { return v->SetCurrentHighlight(10, 20, -30, 40); },
         28,
         {{VT_I4 | kRef, L"10"},
          {VT_I4 | kRef, L"20"},
          {VT_I4 | kRef, L"-30"},
          {VT_I4 | kRef, L"40"}}},
    };
}

void ExpectOneCall(const std::vector<JournalEntry>& lines, int member, const std::vector<Arg>& args,
                   const char* name) {
    SCOPED_TRACE(name);
    ASSERT_EQ(lines.size(), 1u);
    const JournalEntry& call = lines[0];
    EXPECT_EQ(call.kind, JournalKind::Invoke);
    EXPECT_EQ(call.member, member);
    EXPECT_EQ(call.flags & DISPATCH_METHOD, static_cast<std::uint32_t>(DISPATCH_METHOD));
    EXPECT_EQ(call.namedCount, 0u);
    EXPECT_EQ(call.argumentCount, args.size());
    ASSERT_EQ(call.arguments.size(), args.size());
    for (std::size_t i = 0; i < args.size(); ++i) {
        EXPECT_EQ(call.arguments[i].type, args[i].type) << "argument " << i;
        EXPECT_EQ(call.arguments[i].value, args[i].value) << "argument " << i;
    }
}

class Wrappers : public LayoutFixture {};

TEST_P(Wrappers, EachSendsOneCallOfItsMemberWithItsArgumentsInDeclaredOrder) {
    OpenThreePages();
    for (const WrapperCase& wrapper : WrapperCases()) {
        journal_.Mark();
        EXPECT_EQ(wrapper.call(viewer_), S_OK) << wrapper.name;
        ExpectOneCall(journal_.SinceMark(), wrapper.member, wrapper.args, wrapper.name);
    }
}

TEST_P(Wrappers, LateBoundCallsKeepTheOrderAndApplyTheTypeLibraryDefault) {
    // ShowScrollBars with no argument at all: its default, True.
    journal_.Mark();
    ASSERT_EQ(host_->Call(L"ShowScrollBars", {}), S_OK);
    ExpectOneCall(journal_.SinceMark(), 25, {{VT_BOOL | kRef, L"-1"}}, "ShowScrollBars()");

    // Numbers by value from a script arrive as the wrapper's own by-reference parameters, first
    // first: no swapping or clamping of a backwards range.
    journal_.Mark();
    ASSERT_EQ(host_->Call(L"PrintPages", {LongArg(5), LongArg(2)}), S_OK);
    ExpectOneCall(journal_.SinceMark(), 21, {{VT_I4 | kRef, L"5"}, {VT_I4 | kRef, L"2"}},
                  "PrintPages 5, 2");

    journal_.Mark();
    ASSERT_EQ(host_->Call(L"SetViewScroll", {LongArg(12), LongArg(3)}), S_OK);
    ExpectOneCall(journal_.SinceMark(), 19, {{VT_BSTR, L"Fit"}, {VT_R4 | kRef, L"3"}},
                  "SetViewScroll 12, 3");

    // The page pair and the view pair are different members.
    journal_.Mark();
    ASSERT_EQ(host_->Call(L"GotoNextView", {}), S_OK);
    ASSERT_EQ(host_->Call(L"GotoPreviousView", {}), S_OK);
    ASSERT_EQ(host_->Call(L"GotoNextPage", {}), S_OK);
    ASSERT_EQ(host_->Call(L"GotoPreviousPage", {}), S_OK);
    std::vector<int> members;
    for (const JournalEntry& entry : journal_.SinceMark()) {
        members.push_back(entry.member);
    }
    EXPECT_EQ(members, (std::vector<int>{9, 10, 6, 7}));
}

TEST_P(Wrappers, PrintPDFReachesTheComponentAsTheOlePrintCommand) {
    OpenThreePages();
    ASSERT_EQ(viewer_->PrintPDF(), S_OK);
    const std::vector<JournalEntry> lines = journal_.SinceMark();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].kind, JournalKind::Command);
    EXPECT_EQ(lines[0].member, OLECMDID_PRINT);

    // A failing print request comes back to the host.
    ScopedSetting fail(L"FOLIVEX_STANDIN_FAIL", L"print");
    EXPECT_EQ(viewer_->PrintPDF(), E_FAIL);
}

TEST_P(Wrappers, ComponentFailuresReachTheHostExceptFromSetZoomSetZoomScrollAndRefresh) {
    OpenThreePages();
    ScopedSetting fail(L"FOLIVEX_STANDIN_FAIL",
                       L"4,5,6,7,8,9,10,11,12,13,15,16,17,18,19,20,21,22,23,24,25,28");
    for (const WrapperCase& wrapper : WrapperCases()) {
        SCOPED_TRACE(wrapper.name);
        ::SetErrorInfo(0, nullptr);
        journal_.Mark();
        const HRESULT hr = wrapper.call(viewer_);
        // The call was made, and failed, either way.
        EXPECT_EQ(journal_.CallsOf(wrapper.member).size(), 1u);
        if (wrapper.member == 16 || wrapper.member == 17) {
            EXPECT_EQ(hr, S_OK);
            continue;
        }
        EXPECT_EQ(hr, kStandInFailure);
        const ErrorText error = TakeErrorInfo();
        EXPECT_TRUE(error.present);
        EXPECT_EQ(error.description,
                  L"Stand-in failure of member " + std::to_wstring(wrapper.member));
        EXPECT_EQ(error.source, L"StandIn");
    }

    // Late bound, the same failure arrives as an exception with the component's own details.
    com::ExcepInfo exception;
    EXPECT_EQ(host_->Call(L"SetCurrentPage", {LongArg(2)}, nullptr, exception.Out()),
              DISP_E_EXCEPTION);
    EXPECT_EQ(exception->scode, kStandInFailure);
    EXPECT_EQ(com::Bstr::ToString(exception->bstrDescription), L"Stand-in failure of member 8");
    EXPECT_EQ(host_->Call(L"SetZoom", {LongArg(50)}), S_OK);
    EXPECT_EQ(host_->Call(L"SetZoomScroll", {LongArg(50), LongArg(1), LongArg(2)}), S_OK);

    // Refresh repaints the control only: no component call, and success.
    journal_.Mark();
    EXPECT_EQ(viewer_->Refresh(), S_OK);
    EXPECT_TRUE(journal_.SinceMark().empty());
}

bool g_closed = false;
bool g_ownerDisabled = false;
HWND g_owner = nullptr;
void CALLBACK ClosePrintDialog(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND print = ::FindWindowW(L"#32770", L"Print")) {
        g_ownerDisabled = !::IsWindowEnabled(g_owner);
        ::PostMessageW(print, WM_CLOSE, 0, 0);
        g_closed = true;
    }
}

TEST_P(Wrappers, PrintWithDialogIsModalUntilTheHostClosesItsPrintDialog) {
    OpenThreePages();
    ScopedSetting dialog(L"FOLIVEX_STANDIN_PRINT_DIALOG", nullptr);
    // A thread timer, run by the dialog's own modal loop, closes it as a user would.
    g_closed = false;
    g_ownerDisabled = false;
    g_owner = host_->HostWindow();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, &ClosePrintDialog);
    ASSERT_NE(timer, 0u);
    EXPECT_EQ(viewer_->PrintWithDialog(), S_OK);
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(g_closed);
    EXPECT_TRUE(g_ownerDisabled);
    std::vector<std::wstring> events;
    for (const JournalEntry& entry : journal_.SinceMark()) {
        if (entry.kind == JournalKind::Dialog && !entry.arguments.empty()) {
            events.push_back(entry.arguments[0].value);
        }
    }
    EXPECT_EQ(events, (std::vector<std::wstring>{L"print-open", L"print-closed"}));
    EXPECT_EQ(journal_.CallsOf(15).size(), 1u);
    EXPECT_TRUE(::IsWindowEnabled(host_->HostWindow()));
}

INSTANTIATE_TEST_SUITE_P(Layouts, Wrappers, ::testing::Values(kOldLayout, kNewLayout), LayoutName);

} // namespace
} // namespace folivex::testing
