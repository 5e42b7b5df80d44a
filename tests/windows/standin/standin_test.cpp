// The stand-in viewer component as the control's tests rely on it: created by the viewer's
// ProgID, hosted in place, called by member number, journaling what it receives, failing on
// request, and showing the window tree of either layout.

#include "tests/windows/standin/journal_reader.h"
#include "tests/windows/standin/pdf_page_count.h"
#include "tests/windows/standin/pdf_text.h"
#include "tests/windows/standin/standin_signals.h"
#include "tests/windows/support/test_settings.h"
#include "tests/windows/support/test_window.h"

#include "com/bstr.h"
#include "com/excep_info.h"
#include "com/hosted_control.h"
#include "com/unique_handle.h"
#include "com/variant.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <docobj.h>
#include <ole2.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace folivex::standin {
namespace {

using testing::ProgramDirectory;
using testing::ScopedSetting;

std::wstring Document(const wchar_t* name) {
    return testing::TestDocument(name);
}

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Pumps messages until `done` holds or a generous deadline passes (a hang guard only).
bool PumpUntil(const std::function<bool()>& done, DWORD deadlineMs = 10000) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > deadlineMs) {
            return false;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
    }
    return true;
}

void PumpFor(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < milliseconds) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
    }
}

// One window of the tree as a caller walking it with the ANSI functions sees it.
struct Node {
    HWND window;
    HWND parent;
    std::string className;
    std::string text;
    int width;
    bool visible;
};

std::string ClassOf(HWND window) {
    char name[256] = {};
    const int n = ::GetClassNameA(window, name, 256);
    return std::string(name, n > 0 ? n : 0);
}

std::string TextOf(HWND window) {
    const LRESULT n = ::SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    if (n <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    const LRESULT copied =
        ::SendMessageA(window, WM_GETTEXT, n + 1, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

// Pre-order, top of the Z-order first, as the control's walks go.
void Walk(HWND window, std::vector<Node>& nodes) {
    for (HWND c = ::GetWindow(window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        RECT rect = {};
        ::GetWindowRect(c, &rect);
        nodes.push_back({c, window, ClassOf(c), TextOf(c), rect.right - rect.left,
                         (::GetWindowLongW(c, GWL_STYLE) & WS_VISIBLE) != 0});
        Walk(c, nodes);
    }
}

const Node* Find(const std::vector<Node>& nodes, const std::string& className,
                 const std::string& text) {
    for (const Node& node : nodes) {
        if (node.className == className && node.text == text) {
            return &node;
        }
    }
    return nullptr;
}

int CountClass(const std::vector<Node>& nodes, const std::string& className) {
    int count = 0;
    for (const Node& node : nodes) {
        count += node.className == className ? 1 : 0;
    }
    return count;
}

class StandInTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::OleInitialize(nullptr);
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        journalPath_ = std::wstring(temp) + L"folivex_standin_journal_" +
                       std::to_wstring(::GetCurrentProcessId()) + L".txt";
        ::DeleteFileW(journalPath_.c_str());
        journal_ =
            std::make_unique<ScopedSetting>(L"FOLIVEX_STANDIN_JOURNAL", journalPath_.c_str());
    }
    void TearDown() override {
        control_.reset();
        host_.Reset();
        journal_.reset();
        ::DeleteFileW(journalPath_.c_str());
        Pump();
        ::OleUninitialize();
    }

    // Creates the component by ProgID in a site window of the test, activated in place.
    void Host() {
        host_ = testing::MakeHostWindow(640, 520);
        control_ =
            std::make_unique<com::HostedControl>(host_.Get(), L"AcroPDF.PDF", L"AcroPDF1", nullptr);
        ASSERT_EQ(S_OK, control_->CreationResult());
        control_->Show(true);
        control_->Move(0, 0, 600, 480);
        ASSERT_NE(nullptr, control_->ControlWindow());
        Pump();
    }

    // Calls a member with arguments in declared order.
    HRESULT Call(DISPID member, std::vector<VARIANT> arguments, VARIANT* result = nullptr,
                 EXCEPINFO* exception = nullptr, WORD flags = DISPATCH_METHOD) {
        std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
        DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr,
                             static_cast<UINT>(reversed.size()), 0};
        DISPID put = DISPID_PROPERTYPUT;
        if (flags & DISPATCH_PROPERTYPUT) {
            params.rgdispidNamedArgs = &put;
            params.cNamedArgs = 1;
        }
        com::ExcepInfo ignored;
        UINT argumentError = 0;
        return control_->Dispatch()->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                            result, exception ? exception : ignored.Out(),
                                            &argumentError);
    }

    std::wstring SourceProperty() {
        com::Variant result;
        EXPECT_EQ(S_OK, Call(1, {}, result.Out(), nullptr, DISPATCH_PROPERTYGET));
        return result->vt == VT_BSTR ? com::Bstr::ToString(result->bstrVal) : L"<not a string>";
    }

    HRESULT Load(const std::wstring& path) {
        com::Bstr text(path);
        BSTR raw = text.Get();
        VARIANT argument;
        argument.vt = VT_BSTR | VT_BYREF;
        argument.pbstrVal = &raw;
        return Call(2, {argument});
    }

    std::vector<Node> Tree() {
        std::vector<Node> nodes;
        Walk(control_->ControlWindow(), nodes);
        return nodes;
    }

    bool DocumentViewShown(const char* text) { return Find(Tree(), "AVL_AVView", text) != nullptr; }

    std::vector<JournalEntry> Journal() { return ReadJournal(journalPath_); }

    std::wstring journalPath_;
    std::unique_ptr<ScopedSetting> journal_;
    com::UniqueWindow host_;
    std::unique_ptr<com::HostedControl> control_;
};

VARIANT ByRefLong(LONG* value) {
    VARIANT v;
    v.vt = VT_I4 | VT_BYREF;
    v.plVal = value;
    return v;
}
VARIANT ByRefSingle(float* value) {
    VARIANT v;
    v.vt = VT_R4 | VT_BYREF;
    v.pfltVal = value;
    return v;
}
VARIANT ByRefBool(VARIANT_BOOL* value) {
    VARIANT v;
    v.vt = VT_BOOL | VT_BYREF;
    v.pboolVal = value;
    return v;
}
VARIANT String(BSTR value) {
    VARIANT v;
    v.vt = VT_BSTR;
    v.bstrVal = value;
    return v;
}

TEST(StandInRegistration, ProgIdNamesTheStandInWithItsVersionedProgId) {
    ::OleInitialize(nullptr);
    CLSID clsid = {};
    ASSERT_EQ(S_OK, ::CLSIDFromProgID(L"AcroPDF.PDF", &clsid));
    CLSID versioned = {};
    ASSERT_EQ(S_OK, ::CLSIDFromProgID(L"AcroPDF.PDF.1", &versioned));
    EXPECT_TRUE(IsEqualCLSID(clsid, versioned));
    wchar_t value[64] = {};
    LONG size = sizeof(value);
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegQueryValueW(HKEY_CLASSES_ROOT, L"AcroPDF.PDF\\CurVer", value, &size));
    EXPECT_STREQ(L"AcroPDF.PDF.1", value);
    LPOLESTR progId = nullptr;
    ASSERT_EQ(S_OK, ::ProgIDFromCLSID(clsid, &progId));
    EXPECT_STREQ(L"AcroPDF.PDF.1", progId);
    ::CoTaskMemFree(progId);
    ::OleUninitialize();
}

TEST(StandInRegistration, UnregisterRemovesTheProgIdAndRegisterRestoresIt) {
    ::OleInitialize(nullptr);
    const std::wstring dll = ProgramDirectory() + L"\\folivex_standin.dll";
    HMODULE module = ::LoadLibraryW(dll.c_str());
    ASSERT_NE(nullptr, module);
    using Entry = HRESULT(STDAPICALLTYPE*)();
    auto unregister = reinterpret_cast<Entry>(
        reinterpret_cast<void*>(::GetProcAddress(module, "DllUnregisterServer")));
    auto reg = reinterpret_cast<Entry>(
        reinterpret_cast<void*>(::GetProcAddress(module, "DllRegisterServer")));
    ASSERT_TRUE(unregister && reg);
    CLSID clsid = {};
    EXPECT_EQ(S_OK, unregister());
    EXPECT_TRUE(FAILED(::CLSIDFromProgID(L"AcroPDF.PDF", &clsid)));
    EXPECT_EQ(S_OK, reg());
    EXPECT_EQ(S_OK, ::CLSIDFromProgID(L"AcroPDF.PDF", &clsid));
    wchar_t model[32] = {};
    DWORD size = sizeof(model);
    LPOLESTR text = nullptr;
    ASSERT_EQ(S_OK, ::StringFromCLSID(clsid, &text));
    const std::wstring key = std::wstring(L"CLSID\\") + text + L"\\InprocServer32";
    ::CoTaskMemFree(text);
    EXPECT_EQ(ERROR_SUCCESS, ::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), L"ThreadingModel",
                                            RRF_RT_REG_SZ, nullptr, model, &size));
    EXPECT_STREQ(L"Apartment", model);
    ::FreeLibrary(module);
    ::OleUninitialize();
}

TEST_F(StandInTest, JournalRecordsEachCallInOrderWithDeclaredArgumentOrderAndKinds) {
    Host();
    com::Bstr source(L"C:\\docs\\a\tb.pdf");
    EXPECT_EQ(S_OK, Call(1, {String(source.Get())}, nullptr, nullptr, DISPATCH_PROPERTYPUT));
    EXPECT_EQ(L"C:\\docs\\a\tb.pdf", SourceProperty());
    LONG page = 3;
    EXPECT_EQ(S_OK, Call(8, {ByRefLong(&page)}));
    float zoom = 150.0f, left = 0.25f, top = -12.5f;
    EXPECT_EQ(S_OK, Call(17, {ByRefSingle(&zoom), ByRefSingle(&left), ByRefSingle(&top)}));
    com::Bstr mode(L"FitH");
    float offset = 7.0f;
    EXPECT_EQ(S_OK, Call(19, {String(mode.Get()), ByRefSingle(&offset)}));
    LONG from = 2, to = 5;
    VARIANT_BOOL shrink = VARIANT_TRUE;
    EXPECT_EQ(S_OK, Call(22, {ByRefLong(&from), ByRefLong(&to), ByRefBool(&shrink)}));
    EXPECT_EQ(S_OK, Call(23, {}));

    const std::vector<JournalEntry> journal = Journal();
    ASSERT_EQ(7u, journal.size());
    EXPECT_EQ(1, journal[0].member);
    EXPECT_EQ(static_cast<unsigned>(DISPATCH_PROPERTYPUT), journal[0].flags);
    EXPECT_EQ(1u, journal[0].namedCount);
    ASSERT_EQ(1u, journal[0].arguments.size());
    EXPECT_EQ(VT_BSTR, journal[0].arguments[0].type);
    EXPECT_EQ(L"C:\\docs\\a\tb.pdf", journal[0].arguments[0].value); // tab survives escaping

    EXPECT_EQ(1, journal[1].member); // the get
    EXPECT_EQ(static_cast<unsigned>(DISPATCH_PROPERTYGET), journal[1].flags);
    EXPECT_EQ(0u, journal[1].argumentCount);

    EXPECT_EQ(8, journal[2].member);
    ASSERT_EQ(1u, journal[2].arguments.size());
    EXPECT_EQ(VT_I4 | VT_BYREF, journal[2].arguments[0].type);
    EXPECT_TRUE(journal[2].arguments[0].ByRef());
    EXPECT_EQ(VT_I4, journal[2].arguments[0].BaseType());
    EXPECT_EQ(L"3", journal[2].arguments[0].value);

    ASSERT_EQ(3u, journal[3].arguments.size());
    EXPECT_EQ(L"150", journal[3].arguments[0].value);
    EXPECT_EQ(L"0.25", journal[3].arguments[1].value);
    EXPECT_EQ(L"-12.5", journal[3].arguments[2].value);
    EXPECT_EQ(VT_R4 | VT_BYREF, journal[3].arguments[2].type);

    ASSERT_EQ(2u, journal[4].arguments.size());
    EXPECT_EQ(VT_BSTR, journal[4].arguments[0].type);
    EXPECT_EQ(L"FitH", journal[4].arguments[0].value);
    EXPECT_EQ(L"7", journal[4].arguments[1].value);

    ASSERT_EQ(3u, journal[5].arguments.size());
    EXPECT_EQ(L"2", journal[5].arguments[0].value);
    EXPECT_EQ(L"5", journal[5].arguments[1].value);
    EXPECT_EQ(VT_BOOL | VT_BYREF, journal[5].arguments[2].type);
    EXPECT_EQ(L"-1", journal[5].arguments[2].value);
}

TEST_F(StandInTest, LoadTakesTheFileByReferenceAndBecomesTheSource) {
    Host();
    const std::wstring path = Document(L"three_pages.pdf");
    EXPECT_EQ(S_OK, Load(path));
    EXPECT_EQ(path, SourceProperty());
    const std::vector<JournalEntry> journal = Journal();
    ASSERT_EQ(2u, journal.size());
    EXPECT_EQ(2, journal[0].member);
    ASSERT_EQ(1u, journal[0].arguments.size());
    EXPECT_EQ(VT_BSTR | VT_BYREF, journal[0].arguments[0].type);
    EXPECT_EQ(path, journal[0].arguments[0].value);
    // A later put wins over the loaded path.
    com::Bstr other(L"other.pdf");
    EXPECT_EQ(S_OK, Call(1, {String(other.Get())}, nullptr, nullptr, DISPATCH_PROPERTYPUT));
    EXPECT_EQ(L"other.pdf", SourceProperty());
}

TEST_F(StandInTest, WrongArgumentsAreRefusedButStillJournaled) {
    Host();
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, Call(8, {}));
    com::Bstr text(L"not a number");
    EXPECT_EQ(DISP_E_TYPEMISMATCH, Call(8, {String(text.Get())}));
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Call(29, {}));
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Call(0, {}));
    const std::vector<JournalEntry> journal = Journal();
    ASSERT_EQ(4u, journal.size());
    EXPECT_EQ(29, journal[2].member);
}

TEST_F(StandInTest, FailureSwitchFailsOnlyTheNamedMembersWithFilledExceptionInfo) {
    Host();
    ScopedSetting fail(L"FOLIVEX_STANDIN_FAIL", L"6, 16");
    com::ExcepInfo info;
    EXPECT_EQ(DISP_E_EXCEPTION, Call(6, {}, nullptr, info.Out()));
    EXPECT_EQ(static_cast<SCODE>(0x80040201), info->scode);
    EXPECT_EQ(L"StandIn", com::Bstr::ToString(info->bstrSource));
    EXPECT_EQ(L"Stand-in failure of member 6", com::Bstr::ToString(info->bstrDescription));

    float zoom = 50.0f;
    EXPECT_EQ(DISP_E_EXCEPTION, Call(16, {ByRefSingle(&zoom)}, nullptr, info.Out()));
    EXPECT_EQ(L"Stand-in failure of member 16", com::Bstr::ToString(info->bstrDescription));
    // Other members, 1 among them, are not in the list.
    EXPECT_EQ(S_OK, Call(7, {}));
    EXPECT_EQ(L"", SourceProperty());

    // Read at each call: cleared, the member works again.
    ::SetEnvironmentVariableW(L"FOLIVEX_STANDIN_FAIL", nullptr);
    EXPECT_EQ(S_OK, Call(6, {}));
    EXPECT_EQ(5u, Journal().size());
}

TEST_F(StandInTest, PrintRequestArrivesThroughTheCommandTarget) {
    Host();
    com::ComPtr<IOleCommandTarget> target;
    ASSERT_EQ(S_OK, control_->Object()->QueryInterface(IID_PPV_ARGS(&target)));
    OLECMD command = {OLECMDID_PRINT, 0};
    ASSERT_EQ(S_OK, target->QueryStatus(nullptr, 1, &command, nullptr));
    EXPECT_EQ(static_cast<DWORD>(OLECMDF_SUPPORTED | OLECMDF_ENABLED), command.cmdf);
    EXPECT_EQ(S_OK,
              target->Exec(nullptr, OLECMDID_PRINT, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr));
    EXPECT_EQ(OLECMDERR_E_NOTSUPPORTED,
              target->Exec(nullptr, OLECMDID_SAVEAS, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr));
    {
        ScopedSetting fail(L"FOLIVEX_STANDIN_FAIL", L"print");
        EXPECT_EQ(E_FAIL,
                  target->Exec(nullptr, OLECMDID_PRINT, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr));
    }
    const std::vector<JournalEntry> journal = Journal();
    ASSERT_EQ(3u, journal.size());
    EXPECT_EQ(JournalKind::Command, journal[0].kind);
    EXPECT_EQ(static_cast<int>(OLECMDID_PRINT), journal[0].member);
    EXPECT_EQ(0u, journal[0].argumentCount);
    EXPECT_EQ(static_cast<int>(OLECMDID_SAVEAS), journal[1].member);
}

TEST_F(StandInTest, OldLayoutTreeHasTheToolbarViewsBoxesAndDecoys) {
    ScopedSetting layout(L"FOLIVEX_STANDIN_LAYOUT", L"old");
    Host();
    const std::vector<Node> tree = Tree();
    ASSERT_NE(nullptr, Find(tree, "AVL_AVView", "AVToolBarEasel"));
    EXPECT_NE(nullptr, Find(tree, "AVL_AVView", "AVStatusLayoutView"));
    EXPECT_NE(nullptr, Find(tree, "AVL_AVView", "AVTabView"));
    EXPECT_NE(nullptr, Find(tree, "AVL_AVView", "AVWebSearchView"));
    EXPECT_NE(nullptr, Find(tree, "AVL_AVView", "AVSplitterView"));
    std::vector<int> toolbarWidths;
    for (const Node& node : tree) {
        if (node.className == "AVL_AVView" && node.text == "AVToolBarView") {
            toolbarWidths.push_back(node.width);
        }
    }
    EXPECT_EQ((std::vector<int>{36, 120}), toolbarWidths);
    EXPECT_NE(nullptr, Find(tree, "Edit", "1 of 1"));
    EXPECT_NE(nullptr, Find(tree, "Edit", "100%"));
    EXPECT_NE(nullptr, Find(tree, "Edit", "12"));
    EXPECT_NE(nullptr, Find(tree, "edit", "2 of 9"));
    EXPECT_EQ(nullptr, Find(tree, "AVL_AVView", "AVPageView"));
    // The page box comes before the zoom box in walk order, and the boxes before the decoy "12".
    std::vector<std::string> boxes;
    for (const Node& node : tree) {
        if (node.className == "Edit") {
            boxes.push_back(node.text);
        }
    }
    EXPECT_EQ((std::vector<std::string>{"1 of 1", "100%", "12"}), boxes);
}

TEST_F(StandInTest, NewLayoutTreeHasANarrowNumericPageBoxOfTheConfiguredClass) {
    ScopedSetting layout(L"FOLIVEX_STANDIN_LAYOUT", L"new");
    Host();
    std::vector<Node> tree = Tree();
    const Node* page = Find(tree, "Edit", "1");
    ASSERT_NE(nullptr, page);
    EXPECT_EQ(30, page->width);
    EXPECT_NE(nullptr, Find(tree, "Edit", "100%"));
    EXPECT_EQ(nullptr, Find(tree, "Edit", "12"));
    EXPECT_EQ(nullptr, Find(tree, "AVL_AVView", "AVNullDocView"));
    // Only the page box is a text box 26 to 40 pixels wide.
    int narrow = 0;
    for (const Node& node : tree) {
        if ((node.className == "Edit" || node.className == "RichEdit20A") && node.width >= 26 &&
            node.width <= 40) {
            ++narrow;
        }
    }
    EXPECT_EQ(1, narrow);

    // The class setting is read at the next call, which rebuilds the tree.
    ScopedSetting richEdit(L"FOLIVEX_STANDIN_PAGEBOX_CLASS", L"RichEdit20A");
    EXPECT_EQ(S_OK, Call(9, {}));
    tree = Tree();
    page = Find(tree, "RichEdit20A", "1");
    ASSERT_NE(nullptr, page);
    EXPECT_EQ(30, page->width);
    EXPECT_EQ(nullptr, Find(tree, "Edit", "1"));
}

TEST_F(StandInTest, DocumentViewAppearsAfterALoadWithThePageCountOfTheRootPageTree) {
    ScopedSetting layout(L"FOLIVEX_STANDIN_LAYOUT", L"old");
    Host();
    ASSERT_EQ(S_OK, Load(Document(L"five_pages_flate.pdf")));
    ASSERT_TRUE(PumpUntil([&] { return DocumentViewShown("AVPageView"); }));
    const std::vector<Node> tree = Tree();
    EXPECT_NE(nullptr, Find(tree, "Edit", "1 of 5"));
    // The document view is last at its level and has children of its own.
    const Node* view = Find(tree, "AVL_AVView", "AVPageView");
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(nullptr, ::GetWindow(view->window, GW_HWNDNEXT));
    EXPECT_EQ(control_->ControlWindow(), view->parent);
    EXPECT_NE(nullptr, ::GetWindow(view->window, GW_CHILD));

    // Navigation and zoom update the boxes.
    EXPECT_EQ(S_OK, Call(5, {}));
    EXPECT_NE(nullptr, Find(Tree(), "Edit", "5 of 5"));
    EXPECT_EQ(S_OK, Call(6, {}));
    EXPECT_NE(nullptr, Find(Tree(), "Edit", "5 of 5"));
    EXPECT_EQ(S_OK, Call(7, {}));
    EXPECT_NE(nullptr, Find(Tree(), "Edit", "4 of 5"));
    LONG page = 2;
    EXPECT_EQ(S_OK, Call(8, {ByRefLong(&page)}));
    EXPECT_NE(nullptr, Find(Tree(), "Edit", "2 of 5"));
    page = 99;
    EXPECT_EQ(S_OK, Call(8, {ByRefLong(&page)}));
    EXPECT_NE(nullptr, Find(Tree(), "Edit", "5 of 5"));
    EXPECT_EQ(S_OK, Call(4, {}));
    EXPECT_NE(nullptr, Find(Tree(), "Edit", "1 of 5"));
    float zoom = 75.0f;
    EXPECT_EQ(S_OK, Call(16, {ByRefSingle(&zoom)}));
    EXPECT_NE(nullptr, Find(Tree(), "Edit", "75%"));

    // A new load takes the view away until the timer brings it back.
    ASSERT_EQ(S_OK, Load(Document(L"three_pages.pdf")));
    EXPECT_FALSE(DocumentViewShown("AVPageView"));
    EXPECT_NE(nullptr, Find(Tree(), "Edit", "1 of 3"));
    EXPECT_NE(nullptr, Find(Tree(), "Edit", "100%"));
    EXPECT_TRUE(PumpUntil([&] { return DocumentViewShown("AVPageView"); }));
}

TEST_F(StandInTest, PageBoxFormatSettingShapesTheTextAtLoadAndOnEveryPageChange) {
    ScopedSetting layout(L"FOLIVEX_STANDIN_LAYOUT", L"old");
    Host();
    {
        ScopedSetting format(L"FOLIVEX_STANDIN_PAGEBOX_FORMAT", L"Page %P of %N");
        ASSERT_EQ(S_OK, Load(Document(L"five_pages_flate.pdf")));
        EXPECT_NE(nullptr, Find(Tree(), "Edit", "Page 1 of 5"));
        EXPECT_EQ(S_OK, Call(6, {}));
        EXPECT_NE(nullptr, Find(Tree(), "Edit", "Page 2 of 5"));
    }
    {
        // A trailing blank survives the trimming of the setting as %_; %% is a percent sign.
        ScopedSetting format(L"FOLIVEX_STANDIN_PAGEBOX_FORMAT", L"%P of%_");
        ASSERT_EQ(S_OK, Load(Document(L"three_pages.pdf")));
        EXPECT_NE(nullptr, Find(Tree(), "Edit", "1 of "));
        ScopedSetting percent(L"FOLIVEX_STANDIN_PAGEBOX_FORMAT", L"%P%%");
        EXPECT_EQ(S_OK, Call(5, {}));
        EXPECT_NE(nullptr, Find(Tree(), "Edit", "3%"));
    }
    // Without the setting the layout's own format comes back.
    EXPECT_EQ(S_OK, Call(4, {}));
    EXPECT_NE(nullptr, Find(Tree(), "Edit", "1 of 3"));
}

// What the opening benchmark times from: the stamp comes once the view is complete, after the
// last of the windows it is built of was made, not when its own window is first made.
struct LastWindowMade {
    static inline LONGLONG at = 0;

    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
        // Child windows only: the view and its children, not a tooltip or an input window.
        if (code == HCBT_CREATEWND && create && create->lpcs && create->lpcs->hwndParent) {
            LARGE_INTEGER now = {};
            ::QueryPerformanceCounter(&now);
            at = now.QuadPart;
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
};

TEST_F(StandInTest, DocumentViewStampsTheMomentItIsComplete) {
    ScopedSetting layout(L"FOLIVEX_STANDIN_LAYOUT", L"new");
    ScopedSetting delay(L"FOLIVEX_STANDIN_DOCVIEW_DELAY", L"100");
    ScopedSetting stamp(kDocumentViewReadyVariable, nullptr);
    Host();
    LastWindowMade::at = 0;
    com::UniqueHook hook(
        ::SetWindowsHookExW(WH_CBT, &LastWindowMade::Hook, nullptr, ::GetCurrentThreadId()));
    ASSERT_TRUE(hook);
    ASSERT_EQ(S_OK, Load(Document(L"three_pages.pdf")));
    EXPECT_EQ(0, DocumentViewReadyStamp()); // not before the view's timer
    ASSERT_TRUE(PumpUntil([&] { return DocumentViewShown("AVNullDocView"); }));
    hook.Reset();
    LARGE_INTEGER now = {};
    ::QueryPerformanceCounter(&now);
    const LONGLONG ready = DocumentViewReadyStamp();
    ASSERT_NE(0, LastWindowMade::at);
    EXPECT_GT(ready, LastWindowMade::at);
    EXPECT_LE(ready, now.QuadPart);
}

TEST_F(StandInTest, DocumentViewWaitsForItsDelayOrNeverComes) {
    ScopedSetting layout(L"FOLIVEX_STANDIN_LAYOUT", L"new");
    Host();
    {
        ScopedSetting delay(L"FOLIVEX_STANDIN_DOCVIEW_DELAY", L"300");
        ASSERT_EQ(S_OK, Load(Document(L"three_pages.pdf")));
        // Only the timer brings it: not there before messages are processed.
        EXPECT_FALSE(DocumentViewShown("AVNullDocView"));
        EXPECT_TRUE(PumpUntil([&] { return DocumentViewShown("AVNullDocView"); }));
    }
    {
        ScopedSetting delay(L"FOLIVEX_STANDIN_DOCVIEW_DELAY", L"never");
        ASSERT_EQ(S_OK, Load(Document(L"one_page.pdf")));
        PumpFor(400);
        EXPECT_FALSE(DocumentViewShown("AVNullDocView"));
    }
    // A file that is not a PDF is never shown, whatever the delay.
    ASSERT_EQ(S_OK, Load(Document(L"not_a_pdf.pdf")));
    PumpFor(200);
    EXPECT_FALSE(DocumentViewShown("AVNullDocView"));
    ASSERT_EQ(S_OK, Load(Document(L"missing.pdf")));
    PumpFor(200);
    EXPECT_FALSE(DocumentViewShown("AVNullDocView"));
}

TEST_F(StandInTest, ToolbarShowsHidesAndClosesOnRequest) {
    Host();
    VARIANT_BOOL show = VARIANT_FALSE;
    EXPECT_EQ(S_OK, Call(3, {ByRefBool(&show)}));
    const Node* easel = Find(Tree(), "AVL_AVView", "AVToolBarEasel");
    ASSERT_NE(nullptr, easel);
    EXPECT_FALSE(easel->visible);
    show = VARIANT_TRUE;
    EXPECT_EQ(S_OK, Call(3, {ByRefBool(&show)}));
    easel = Find(Tree(), "AVL_AVView", "AVToolBarEasel");
    ASSERT_NE(nullptr, easel);
    EXPECT_TRUE(easel->visible);

    ::SendMessageA(easel->window, WM_CLOSE, 0, 0);
    const std::vector<Node> tree = Tree();
    EXPECT_EQ(nullptr, Find(tree, "AVL_AVView", "AVToolBarEasel"));
    EXPECT_EQ(0, CountClass(tree, "Edit") + CountClass(tree, "RichEdit20A"));
    // Members that update the closed boxes still work.
    EXPECT_EQ(S_OK, Call(6, {}));
    const Node* status = Find(tree, "AVL_AVView", "AVStatusLayoutView");
    ASSERT_NE(nullptr, status);
    ::SendMessageA(status->window, WM_CLOSE, 0, 0);
    EXPECT_EQ(nullptr, Find(Tree(), "AVL_AVView", "AVStatusLayoutView"));
}

TEST_F(StandInTest, WindowLivesOnlyWhileActiveAndTheDocumentOutlivesIt) {
    ScopedSetting layout(L"FOLIVEX_STANDIN_LAYOUT", L"old");
    Host();
    HWND window = control_->ControlWindow();
    EXPECT_EQ(control_->SiteWindow(), ::GetParent(window));
    ASSERT_EQ(S_OK, Load(Document(L"three_pages.pdf")));
    ASSERT_TRUE(PumpUntil([&] { return DocumentViewShown("AVPageView"); }));
    EXPECT_EQ(S_OK, Call(6, {}));

    com::ComPtr<IOleInPlaceObject> inPlace;
    ASSERT_EQ(S_OK, control_->Object()->QueryInterface(
                        IID_IOleInPlaceObject, reinterpret_cast<void**>(inPlace.GetAddressOf())));
    ASSERT_EQ(S_OK, inPlace->InPlaceDeactivate());
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(nullptr, ::GetWindow(control_->SiteWindow(), GW_CHILD));

    com::ComPtr<IOleClientSite> site;
    ASSERT_EQ(S_OK, control_->Object()->GetClientSite(site.GetAddressOf()));
    RECT position = {0, 0, 600, 480};
    ASSERT_EQ(S_OK, control_->Object()->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site.Get(), 0,
                                               control_->SiteWindow(), &position));
    window = control_->ControlWindow();
    ASSERT_TRUE(::IsWindow(window));
    EXPECT_EQ(control_->SiteWindow(), ::GetParent(window));
    // Rebuilt from the document's state: same page, view shown again.
    const std::vector<Node> tree = Tree();
    EXPECT_NE(nullptr, Find(tree, "Edit", "2 of 3"));
    EXPECT_NE(nullptr, Find(tree, "AVL_AVView", "AVPageView"));

    // SetObjectRects resizes the window.
    RECT smaller = {0, 0, 300, 200};
    ASSERT_EQ(S_OK, inPlace->SetObjectRects(&smaller, &smaller));
    RECT client = {};
    ::GetClientRect(window, &client);
    EXPECT_EQ(300, client.right);
    EXPECT_EQ(200, client.bottom);
}

// A key pressed with modifiers, delivered to the focused window as the keyboard would.
void Press(UINT key, bool control, bool shift = false) {
    BYTE saved[256] = {};
    ::GetKeyboardState(saved);
    BYTE state[256];
    std::copy(saved, saved + 256, state);
    state[VK_CONTROL] = control ? 0x80 : 0;
    state[VK_SHIFT] = shift ? 0x80 : 0;
    ::SetKeyboardState(state);
    HWND focus = ::GetFocus();
    ::SendMessageW(focus, WM_KEYDOWN, key, 1);
    ::SendMessageW(focus, WM_KEYUP, key, 0xC0000001);
    ::SetKeyboardState(saved);
}

void Type(const wchar_t* text) {
    for (; *text; ++text) {
        ::SendMessageW(::GetFocus(), WM_CHAR, *text, 1);
    }
}

std::wstring ClipboardText() {
    std::wstring text;
    if (::OpenClipboard(nullptr)) {
        if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
                text = chars;
                ::GlobalUnlock(data);
            }
        }
        ::CloseClipboard();
    }
    return text;
}

void EmptyTheClipboard() {
    if (::OpenClipboard(nullptr)) {
        ::EmptyClipboard();
        ::CloseClipboard();
    }
}

// The key lines of the journal as "action" or "action:text".
std::vector<std::wstring> KeyActions(const std::vector<JournalEntry>& journal) {
    std::vector<std::wstring> actions;
    for (const JournalEntry& entry : journal) {
        if (entry.kind == JournalKind::Key && !entry.arguments.empty()) {
            std::wstring action = entry.arguments[0].value;
            if (entry.arguments.size() > 1) {
                action += L":" + entry.arguments[1].value;
            }
            actions.push_back(action);
        }
    }
    return actions;
}

TEST_F(StandInTest, SelectAllThenCopyPutsTheShownTextOnTheClipboard) {
    Host();
    ASSERT_EQ(S_OK, Load(Document(L"three_pages.pdf")));
    ASSERT_TRUE(PumpUntil([&] { return DocumentViewShown("AVNullDocView"); }));
    ASSERT_TRUE(control_->Focus());
    ASSERT_EQ(control_->ControlWindow(), ::GetFocus());
    const std::wstring text =
        L"Folivex test page 1 of 3\r\nFolivex test page 2 of 3\r\nFolivex test page 3 of 3";

    // Nothing selected: nothing copied, the clipboard stays as it was.
    EmptyTheClipboard();
    Press('C', true);
    EXPECT_EQ(L"", ClipboardText());
    Press('A', true);
    Press('C', true);
    EXPECT_EQ(text, ClipboardText());
    // Deselected: a further copy leaves the clipboard alone.
    Press('A', true, true);
    EmptyTheClipboard();
    Press('C', true);
    EXPECT_EQ(L"", ClipboardText());
    EXPECT_EQ(
        (std::vector<std::wstring>{L"copy", L"select", L"copy:" + text, L"deselect", L"copy"}),
        KeyActions(Journal()));

    // Flate-compressed content streams are read as well.
    ASSERT_EQ(S_OK, Load(Document(L"five_pages_flate.pdf")));
    Press('A', true);
    Press('C', true);
    const std::wstring flate = ClipboardText();
    for (int page = 1; page <= 5; ++page) {
        const std::wstring line = L"Folivex flate page " + std::to_wstring(page) + L" of 5";
        EXPECT_NE(std::wstring::npos, flate.find(line)) << page;
    }
    // A new document starts unselected.
    ASSERT_EQ(S_OK, Load(Document(L"one_page.pdf")));
    EmptyTheClipboard();
    Press('C', true);
    EXPECT_EQ(L"", ClipboardText());
}

TEST_F(StandInTest, SearchBoxTakesTypedTextAndSearchesOnEnter) {
    Host();
    ASSERT_EQ(S_OK, Load(Document(L"three_pages.pdf")));
    ASSERT_TRUE(control_->Focus());
    Press('F', true, true);
    HWND box = ::GetFocus();
    ASSERT_NE(control_->ControlWindow(), box);
    EXPECT_EQ("Edit", ClassOf(box));
    EXPECT_EQ(control_->ControlWindow(), ::GetParent(box));
    Type(L"old");
    // Opened again: the same box, its text selected, so typing replaces it.
    Press('F', true, true);
    EXPECT_EQ(box, ::GetFocus());
    Type(L"page 2");
    Press(VK_RETURN, false);
    EXPECT_EQ("page 2", TextOf(box));
    EXPECT_EQ((std::vector<std::wstring>{L"search-open", L"search-open", L"search:page 2"}),
              KeyActions(Journal()));
}

// The dialog lines of the journal, in order.
std::vector<std::wstring> DialogEvents(const std::vector<JournalEntry>& journal) {
    std::vector<std::wstring> events;
    for (const JournalEntry& entry : journal) {
        if (entry.kind == JournalKind::Dialog && !entry.arguments.empty()) {
            events.push_back(entry.arguments[0].value);
        }
    }
    return events;
}

// Looks for a dialog from a thread timer, whose ticks also run inside the modal loop of a
// dialog on this thread, and closes it as a host's suppression timer does: by a posted
// WM_CLOSE. What the desktop and the journal showed at the first sighting is kept.
class DialogWatch {
public:
    DialogWatch(const wchar_t* title, std::wstring journalPath, bool close)
        : title_(title), journalPath_(std::move(journalPath)), close_(close) {
        current_ = this;
        timer_ = ::SetTimer(nullptr, 0, 25, &DialogWatch::Tick);
    }
    ~DialogWatch() {
        ::KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    DialogWatch(const DialogWatch&) = delete;
    DialogWatch& operator=(const DialogWatch&) = delete;

    HWND found = nullptr;
    HWND owner = nullptr;
    bool ownerEnabled = true;
    HWND foundByCaption = nullptr; // as a host's suppression looks: any class, ANSI, any case
    std::vector<std::wstring> eventsAtSighting;
    bool markerSeenAtSighting = false;

    // Set by a test's pump when the last key of its SendInput chord was retrieved.
    static bool markerSeen;

private:
    static VOID CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        DialogWatch* self = current_;
        if (!self || self->found) {
            return;
        }
        HWND dialog = ::FindWindowW(L"#32770", self->title_);
        if (!dialog) {
            return;
        }
        self->found = dialog;
        self->owner = ::GetWindow(dialog, GW_OWNER);
        self->ownerEnabled = self->owner && ::IsWindowEnabled(self->owner);
        std::string lower;
        for (const wchar_t* c = self->title_; *c; ++c) {
            lower += static_cast<char>(::tolower(static_cast<unsigned char>(*c)));
        }
        self->foundByCaption = ::FindWindowA(nullptr, lower.c_str());
        self->eventsAtSighting = DialogEvents(ReadJournal(self->journalPath_));
        self->markerSeenAtSighting = markerSeen;
        if (self->close_) {
            ::PostMessageA(dialog, WM_CLOSE, 0, 0);
        }
    }

    static DialogWatch* current_;
    const wchar_t* title_;
    std::wstring journalPath_;
    bool close_;
    UINT_PTR timer_ = 0;
};

DialogWatch* DialogWatch::current_ = nullptr;
bool DialogWatch::markerSeen = false;

TEST_F(StandInTest, PrintWithDialogIsModalUntilAPostedCloseEndsIt) {
    // Should the watch miss it, the dialog still ends and the test fails instead of hanging.
    ScopedSetting timeout(L"FOLIVEX_STANDIN_DIALOG_TIMEOUT", L"10000");
    Host();
    {
        DialogWatch watch(L"Print", journalPath_, true);
        EXPECT_EQ(S_OK, Call(15, {}));
        ASSERT_NE(nullptr, watch.found);
        // Inside the call: the dialog was up, its owner (the top-level host) disabled.
        EXPECT_EQ(host_.Get(), watch.owner);
        EXPECT_FALSE(watch.ownerEnabled);
        EXPECT_EQ(watch.found, watch.foundByCaption);
        EXPECT_EQ(std::vector<std::wstring>{L"print-open"}, watch.eventsAtSighting);
        EXPECT_FALSE(::IsWindow(watch.found));
        EXPECT_TRUE(::IsWindowEnabled(host_.Get()));
    }
    std::vector<JournalEntry> journal = Journal();
    ASSERT_EQ(3u, journal.size());
    EXPECT_EQ(JournalKind::Invoke, journal[0].kind);
    EXPECT_EQ(15, journal[0].member);
    EXPECT_EQ((std::vector<std::wstring>{L"print-open", L"print-closed"}), DialogEvents(journal));

    // Not in place active: no window of its own, so the dialog has no owner.
    com::ComPtr<IOleInPlaceObject> inPlace;
    ASSERT_EQ(S_OK, control_->Object()->QueryInterface(
                        IID_IOleInPlaceObject, reinterpret_cast<void**>(inPlace.GetAddressOf())));
    ASSERT_EQ(S_OK, inPlace->InPlaceDeactivate());
    {
        DialogWatch watch(L"Print", journalPath_, true);
        EXPECT_EQ(S_OK, Call(15, {}));
        ASSERT_NE(nullptr, watch.found);
        EXPECT_EQ(nullptr, watch.owner);
    }
    EXPECT_EQ(4u, DialogEvents(Journal()).size());
}

TEST_F(StandInTest, PrintDialogTimesOutOrIsSwitchedOffOrFailsFirst) {
    ScopedSetting timeout(L"FOLIVEX_STANDIN_DIALOG_TIMEOUT", L"300");
    Host();
    {
        DialogWatch watch(L"Print", journalPath_, false);
        EXPECT_EQ(S_OK, Call(15, {}));
        EXPECT_NE(nullptr, watch.found);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"print-open", L"print-timeout", L"print-closed"}),
              DialogEvents(Journal()));
    EXPECT_EQ(nullptr, ::FindWindowW(L"#32770", L"Print"));

    {
        // Journal only: the call returns without a modal loop, so nothing else runs meanwhile.
        ScopedSetting none(L"FOLIVEX_STANDIN_PRINT_DIALOG", L"none");
        EXPECT_EQ(S_OK, Call(15, {}));
        // A failing member fails before any dialog.
        ::SetEnvironmentVariableW(L"FOLIVEX_STANDIN_PRINT_DIALOG", nullptr);
        ScopedSetting fail(L"FOLIVEX_STANDIN_FAIL", L"15");
        EXPECT_EQ(DISP_E_EXCEPTION, Call(15, {}));
    }
    const std::vector<JournalEntry> journal = Journal();
    ASSERT_EQ(6u, journal.size());
    EXPECT_EQ(15, journal[4].member);
    EXPECT_EQ(15, journal[5].member);
    EXPECT_EQ(3u, DialogEvents(journal).size());
}

// Pumps, noting when the key-up that ends a SendInput chord is retrieved by this loop rather
// than by a modal loop nested in a handler.
constexpr ULONG_PTR kChordMarker = 0x46560001u;

bool PumpNotingMarker(const std::function<bool()>& done, DWORD deadlineMs) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > deadlineMs) {
            return false;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_KEYUP &&
                static_cast<ULONG_PTR>(::GetMessageExtraInfo()) == kChordMarker) {
                DialogWatch::markerSeen = true;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return true;
}

TEST_F(StandInTest, ShiftCtrlSOpensTheSaveDialogAfterTheChordWasProcessed) {
    ScopedSetting timeout(L"FOLIVEX_STANDIN_DIALOG_TIMEOUT", L"10000");
    Host();
    ::SetForegroundWindow(host_.Get());
    Pump();
    ASSERT_TRUE(control_->Focus());
    ASSERT_EQ(control_->ControlWindow(), ::GetFocus());

    DialogWatch::markerSeen = false;
    DialogWatch watch(L"Save a Copy...", journalPath_, true);
    const WORD keys[] = {VK_CONTROL, VK_SHIFT, 'S', 'S', VK_SHIFT, VK_CONTROL};
    INPUT inputs[6] = {};
    for (int i = 0; i < 6; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i];
        inputs[i].ki.wScan = static_cast<WORD>(::MapVirtualKeyW(keys[i], MAPVK_VK_TO_VSC));
        inputs[i].ki.dwFlags = i < 3 ? 0 : KEYEVENTF_KEYUP;
        inputs[i].ki.dwExtraInfo = i == 5 ? kChordMarker : 0;
    }
    ASSERT_EQ(6u, ::SendInput(6, inputs, sizeof(INPUT)));
    EXPECT_TRUE(PumpNotingMarker(
        [&] {
            const std::vector<std::wstring> events = DialogEvents(Journal());
            return !events.empty() && events.back() != L"save-open";
        },
        15000));

    ASSERT_NE(nullptr, watch.found);
    EXPECT_EQ(host_.Get(), watch.owner);
    EXPECT_FALSE(watch.ownerEnabled);
    EXPECT_EQ(watch.found, watch.foundByCaption);
    EXPECT_TRUE(watch.markerSeenAtSighting);
    EXPECT_EQ(std::vector<std::wstring>{L"save-open"}, watch.eventsAtSighting);
    EXPECT_EQ((std::vector<std::wstring>{L"save-open", L"save-closed"}), DialogEvents(Journal()));
    EXPECT_TRUE(KeyActions(Journal()).empty());
}

TEST(PdfText, ShowsTheStringsOfTheTextOperatorsOnly) {
    const std::string content = "BT /F1 24 Tf 72 720 Td (Hello \\(world\\)) Tj [(A) -20 (B)] TJ "
                                "(unused) Td (\\101\\102) ' ET";
    std::string pdf =
        "%PDF-1.4\n1 0 obj << /Length 1 >>\nstream\n" + content + "\nendstream\nendobj\n";
    EXPECT_EQ("Hello (world)ABAB", PdfText(pdf).value_or("<none>"));
    EXPECT_FALSE(PdfText("not a pdf").has_value());
    EXPECT_EQ("", PdfText("%PDF-1.4\n1 0 obj << >>\nstream\n(x) Tj").value_or("<none>"));
}

TEST(JournalFormat, LinesRoundTripWithEscapesAndSkipGarbage) {
    JournalEntry entry;
    entry.member = 13;
    entry.flags = 1;
    entry.argumentCount = 1;
    entry.arguments.push_back({VT_BSTR | VT_BYREF, L"a\\b\tc\nd\re \x00e9\x4e2d"});
    const std::string text = "garbage line\n" + FormatJournalLine(entry) + "\r\ninvoke\t1\n";
    const std::vector<JournalEntry> parsed = ParseJournal(text);
    ASSERT_EQ(1u, parsed.size());
    EXPECT_EQ(13, parsed[0].member);
    ASSERT_EQ(1u, parsed[0].arguments.size());
    EXPECT_EQ(entry.arguments[0].value, parsed[0].arguments[0].value);
    EXPECT_EQ(VT_BSTR | VT_BYREF, parsed[0].arguments[0].type);

    JournalEntry dialog;
    dialog.kind = JournalKind::Dialog;
    dialog.argumentCount = 1;
    dialog.arguments.push_back({VT_BSTR, L"print-open"});
    EXPECT_EQ("dialog\t0\t0\t1\t0\t8=print-open", FormatJournalLine(dialog));
    const std::vector<JournalEntry> back = ParseJournal(FormatJournalLine(dialog));
    ASSERT_EQ(1u, back.size());
    EXPECT_EQ(JournalKind::Dialog, back[0].kind);
    EXPECT_EQ(L"print-open", back[0].arguments[0].value);
}

TEST(PdfPageCount, FollowsTrailerCatalogAndRootPages) {
    EXPECT_FALSE(PdfPageCount("not a pdf").has_value());
    EXPECT_FALSE(PdfPageCount("%PDF-1.4\nno trailer").has_value());
    const std::string nested = "%PDF-1.4\n"
                               "1 0 obj << /Type /Pages /Parent 3 0 R /Count 2 >> endobj\n"
                               "11 0 obj << /Type /Pages /Count 40 >> endobj\n"
                               "3 0 obj << /Type /Pages /Kids [1 0 R] /Count 7 >> endobj\n"
                               "4 0 obj << /Type /Catalog /Pages 3 0 R >> endobj\n"
                               "trailer << /Size 5 /Root 4 0 R >>\n%%EOF\n";
    EXPECT_EQ(7, PdfPageCount(nested));
    // A /Counter key is not /Count.
    const std::string counter = "%PDF-1.4\n1 0 obj << /Type /Pages /Counter 9 /Count 3 >> endobj\n"
                                "2 0 obj << /Pages 1 0 R >> endobj\ntrailer << /Root 2 0 R >>\n";
    EXPECT_EQ(3, PdfPageCount(counter));
}

} // namespace
} // namespace folivex::standin
