// The navigation, view and print wrappers as the component receives them: member number,
// argument order and kinds (numbers and Booleans by reference, mode keywords by value, the named
// destination by reference), the keyword fallbacks, and which failures reach the host.

#include "tests/windows/commands/commands_fixture.h"

#include "com/bstr.h"
#include "com/excep_info.h"
#include "viewer_bridge/testing/wrapper_table.h"

#include <docobj.h>

#include <charconv>
#include <functional>
#include <map>
#include <string_view>
#include <type_traits>
#include <variant>

namespace folivex::testing {
namespace {

using standin::JournalEntry;
using standin::JournalKind;

constexpr HRESULT kStandInFailure = static_cast<HRESULT>(0x80040201);
constexpr std::uint16_t kRef = VT_BYREF;

struct Arg {
    std::uint16_t type;
    std::wstring value;
};

// Each of the control's methods called early bound with a case's host arguments.
HRESULT CallMethod(_Viewer* viewer, const WrapperCase& wrapper) {
    using Call = std::function<HRESULT(_Viewer*, const WrapperCase&)>;
    static const std::map<std::string_view, Call> calls = {
        {"GotoFirstPage", [](_Viewer* v, auto&) { return v->GotoFirstPage(); }},
        {"GotoLastPage", [](_Viewer* v, auto&) { return v->GotoLastPage(); }},
        {"GotoNextPage", [](_Viewer* v, auto&) { return v->GotoNextPage(); }},
        {"GotoPreviousPage", [](_Viewer* v, auto&) { return v->GotoPreviousPage(); }},
        {"SetCurrentPage", [](_Viewer* v, auto& w) { return v->SetCurrentPage(w.Long(0)); }},
        {"GotoNextView", [](_Viewer* v, auto&) { return v->GotoNextView(); }},
        {"GotoPreviousView", [](_Viewer* v, auto&) { return v->GotoPreviousView(); }},
        {"SetPageMode",
         [](_Viewer* v, auto& w) { return v->SetPageMode(static_cast<PageMode>(w.Long(0))); }},
        {"SetLayoutMode",
         [](_Viewer* v, auto& w) { return v->SetLayoutMode(static_cast<LayoutMode>(w.Long(0))); }},
        {"SetNamedDest",
         [](_Viewer* v, auto& w) {
             com::Bstr name(w.String(0).c_str());
             return v->SetNamedDest(name.Get());
         }},
        {"PrintWithDialog", [](_Viewer* v, auto&) { return v->PrintWithDialog(); }},
        {"SetZoom", [](_Viewer* v, auto& w) { return v->SetZoom(w.Single(0)); }},
        {"SetZoomScroll",
         [](_Viewer* v, auto& w) {
             return v->SetZoomScroll(w.Single(0), w.Single(1), w.Single(2));
         }},
        {"SetView",
         [](_Viewer* v, auto& w) { return v->SetView(static_cast<ViewMode>(w.Long(0))); }},
        {"SetViewScroll",
         [](_Viewer* v, auto& w) {
             return v->SetViewScroll(static_cast<ViewMode>(w.Long(0)), w.Single(1));
         }},
        {"SetViewRect",
         [](_Viewer* v, auto& w) {
             return v->SetViewRect(w.Single(0), w.Single(1), w.Single(2), w.Single(3));
         }},
        {"PrintPages", [](_Viewer* v, auto& w) { return v->PrintPages(w.Long(0), w.Long(1)); }},
        {"PrintPagesFit",
         [](_Viewer* v, auto& w) { return v->PrintPagesFit(w.Long(0), w.Long(1), w.Bool(2)); }},
        {"PrintAll", [](_Viewer* v, auto&) { return v->PrintAll(); }},
        {"PrintAllFit", [](_Viewer* v, auto& w) { return v->PrintAllFit(w.Bool(0)); }},
        {"ShowScrollBars", [](_Viewer* v, auto& w) { return v->ShowScrollBars(w.Bool(0)); }},
        {"SetCurrentHighlight",
         [](_Viewer* v, auto& w) {
             return v->SetCurrentHighlight(w.Long(0), w.Long(1), w.Long(2), w.Long(3));
         }},
    };
    return calls.at(wrapper.method)(viewer, wrapper);
}

// A member's argument as the stand-in's journal writes it: its variant type, and its value as
// text (numbers in their shortest form, Booleans as -1 and 0).
Arg JournalArg(const WrapperArg& arg) {
    std::uint16_t type = VT_BSTR;
    switch (arg.kind) {
    case ComponentArg::Kind::LongRef:
        type = VT_I4 | kRef;
        break;
    case ComponentArg::Kind::SingleRef:
        type = VT_R4 | kRef;
        break;
    case ComponentArg::Kind::BoolRef:
        type = VT_BOOL | kRef;
        break;
    case ComponentArg::Kind::StringValue:
        type = VT_BSTR;
        break;
    case ComponentArg::Kind::StringRef:
        type = VT_BSTR | kRef;
        break;
    }
    const std::wstring text = std::visit(
        [](const auto& value) -> std::wstring {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, std::wstring>) {
                return value;
            } else if constexpr (std::is_same_v<T, float>) {
                char buffer[32];
                const auto [end, ec] = std::to_chars(buffer, buffer + sizeof(buffer), value);
                return ec == std::errc() ? std::wstring(buffer, end) : L"?";
            } else {
                return std::to_wstring(value);
            }
        },
        arg.value);
    return {type, text};
}

std::vector<Arg> JournalArgs(const std::vector<WrapperArg>& args) {
    std::vector<Arg> journal;
    for (const WrapperArg& arg : args) {
        journal.push_back(JournalArg(arg));
    }
    return journal;
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
        EXPECT_EQ(CallMethod(viewer_, wrapper), S_OK) << wrapper.label;
        ExpectOneCall(journal_.SinceMark(), wrapper.member, JournalArgs(wrapper.memberArgs),
                      wrapper.label);
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
        SCOPED_TRACE(wrapper.label);
        ::SetErrorInfo(0, nullptr);
        journal_.Mark();
        const HRESULT hr = CallMethod(viewer_, wrapper);
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
