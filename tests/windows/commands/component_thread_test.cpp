// The component's whole window tree on a thread of its own, as components that render off the
// host's thread keep it: everything works as with a tree on the control's thread while that
// thread answers, and once it stops answering every member returns without waiting for it.

#include "tests/windows/commands/commands_fixture.h"

#include "tests/windows/standin/win32_component_thread.h"

#include "com/bstr.h"
#include "com/unique_handle.h"

#include <cstdio>

namespace folivex::testing {
namespace {

// Far longer than all the calls of the hung test take together; the test wakes the thread
// itself once it is done.
constexpr const wchar_t* kHangMs = L"60000";

// True when the in-process server `dll`, still loaded, holds no object and no lock any more.
bool ServerHoldsNothing(const wchar_t* dll) {
    HMODULE module = ::GetModuleHandleW(dll);
    if (!module) {
        return false;
    }
    auto canUnload = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(::GetProcAddress(module, "DllCanUnloadNow")));
    return canUnload && canUnload() == S_OK;
}

template <typename Condition>
bool WaitPumping(Condition condition, ULONGLONG boundMs) {
    const ULONGLONG start = ::GetTickCount64();
    while (!condition()) {
        if (::GetTickCount64() - start > boundMs) {
            return false;
        }
        PumpMessages(20);
    }
    return true;
}

class ComponentThread : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = std::make_unique<ViewerHost>();
        ASSERT_EQ(host_->CreationResult(), S_OK);
        viewer_ = host_->Viewer();
        ASSERT_EQ(viewer_->put_ReaderVersion(7), S_OK);
        ::SetForegroundWindow(host_->HostWindow());
        PumpMessages(20);
        ASSERT_TRUE(OpenDocument(viewer_, TestDocument(L"three_pages.pdf")));
        journal_.Mark();
    }
    void TearDown() override {
        // The component's thread is woken before the control goes: its windows are destroyed
        // there.
        Wake();
        EXPECT_FALSE(ServerHoldsNothing(L"folivex_standin.dll")) << "the component is alive";
        host_.reset();
        EXPECT_TRUE(ServerHoldsNothing(L"Folivex.dll")) << "every object of the control is gone";
        EXPECT_TRUE(ServerHoldsNothing(L"folivex_standin.dll"))
            << "every object of the component is gone";
    }
    HWND Control() const { return host_->ControlWindow(); }
    HWND Easel() { return FindViewerWindow(Control(), "AVL_AVView", "AVToolBarEasel"); }
    HWND NavigationBar() { return FindViewerWindow(Control(), "AVL_AVView", "AVStatusLayoutView"); }
    // The component's own window, the easel's parent.
    HWND ComponentWindow() { return ::GetParent(Easel()); }
    static bool HasWidth(HWND window, LONG width) {
        RECT client = {};
        return ::GetClientRect(window, &client) && client.right == width;
    }
    std::wstring CopyToString() {
        com::Bstr text;
        EXPECT_EQ(viewer_->CopyToString(text.Out()), S_OK);
        return text.ToString();
    }
    // Makes the component's thread stop answering and waits until it has.
    void HangComponentThread() {
        const DWORD process = ::GetCurrentProcessId();
        hung_.Reset(::OpenEventW(SYNCHRONIZE, FALSE, standin::HungName(process).c_str()));
        wake_.Reset(::OpenEventW(EVENT_MODIFY_STATE, FALSE, standin::WakeName(process).c_str()));
        com::UniqueKernelHandle trigger(
            ::OpenEventW(EVENT_MODIFY_STATE, FALSE, standin::HangTriggerName(process).c_str()));
        ASSERT_TRUE(hung_ && wake_ && trigger) << "the stand-in made its thread";
        ASSERT_TRUE(::SetEvent(trigger.Get()));
        ASSERT_EQ(::WaitForSingleObject(hung_.Get(), 10000), WAIT_OBJECT_0);
    }
    bool Hung() const { return hung_ && ::WaitForSingleObject(hung_.Get(), 0) == WAIT_OBJECT_0; }
    void Wake() {
        if (Hung()) {
            ::SetEvent(wake_.Get());
            EXPECT_TRUE(WaitPumping([this] { return !Hung(); }, 10000));
        }
    }
    // Runs one call against the hung thread: it must come back while that thread still sleeps.
    // How long it took is reported, not judged.
    template <typename Call>
    void WhileHung(const char* what, Call call) {
        const ULONGLONG start = ::GetTickCount64();
        call();
        std::printf("%s returned after %llu ms\n", what,
                    static_cast<unsigned long long>(::GetTickCount64() - start));
        EXPECT_TRUE(Hung()) << what << " waited for the hung thread";
    }

    ComApartment apartment_;
    ScopedSetting thread_{L"FOLIVEX_STANDIN_THREAD", L"own"};
    ScopedSetting hangMs_{L"FOLIVEX_STANDIN_HANG_MS", kHangMs};
    ScopedSetting layout_{L"FOLIVEX_STANDIN_LAYOUT", L"old"};
    ScopedSetting printDialog_{L"FOLIVEX_STANDIN_PRINT_DIALOG", L"none"};
    ScopedJournal journal_;
    std::unique_ptr<ViewerHost> host_;
    _Viewer* viewer_ = nullptr;
    com::UniqueKernelHandle hung_;
    com::UniqueKernelHandle wake_;
};

TEST_F(ComponentThread, ATreeOnItsOwnThreadIsOpenedReadDrivenAndTypedIntoAsBefore) {
    HWND easel = Easel();
    ASSERT_NE(easel, nullptr);
    const DWORD componentThread = ::GetWindowThreadProcessId(easel, nullptr);
    EXPECT_NE(componentThread, ::GetCurrentThreadId()) << "the tree lives on its own thread";
    HWND pageBox = FindViewerWindow(Control(), "Edit", "1 of 3");
    ASSERT_NE(pageBox, nullptr);
    EXPECT_EQ(::GetWindowThreadProcessId(pageBox, nullptr), componentThread);

    // The readouts.
    LONG total = 0;
    ASSERT_EQ(viewer_->get_PageTotal(&total), S_OK);
    EXPECT_EQ(total, 3);
    ASSERT_EQ(viewer_->SetCurrentPage(2), S_OK);
    LONG page = 0;
    ASSERT_EQ(viewer_->get_Page(&page), S_OK);
    EXPECT_EQ(page, 2);
    ASSERT_EQ(viewer_->SetZoom(150.0f), S_OK);
    short zoom = 0;
    ASSERT_EQ(viewer_->get_ZoomPct(&zoom), S_OK);
    EXPECT_EQ(zoom, 150);

    // The bars.
    ASSERT_EQ(viewer_->DisableToolbar(), S_OK);
    EXPECT_FALSE(::IsWindowEnabled(easel));
    ASSERT_EQ(viewer_->DisableNavigationBar(), S_OK);
    EXPECT_FALSE(::IsWindowEnabled(NavigationBar()));
    ASSERT_EQ(viewer_->EnableToolbar(), S_OK);
    EXPECT_TRUE(::IsWindowEnabled(easel));
    ASSERT_EQ(viewer_->EnableNavigationBar(), S_OK);
    EXPECT_TRUE(::IsWindowEnabled(NavigationBar()));
    ASSERT_EQ(viewer_->ShowToolbar(VARIANT_FALSE, VARIANT_FALSE), S_OK);
    EXPECT_FALSE(::IsWindowVisible(Easel()));
    ASSERT_EQ(viewer_->ShowToolbar(VARIANT_TRUE, VARIANT_FALSE), S_OK);
    EXPECT_TRUE(::IsWindowVisible(Easel()));

    // The text members: the keys reach the component's thread and are processed before the
    // calls return.
    journal_.Mark();
    PutClipboardText(L"what the host had");
    EXPECT_EQ(CopyToString(), kThreePagesText);
    EXPECT_EQ(ClipboardFormatCount(), 0);
    EXPECT_EQ(journal_.KeyActions(),
              (std::vector<std::wstring>{L"select", std::wstring(L"copy:") + kThreePagesText,
                                         L"deselect"}));
    ASSERT_EQ(viewer_->CopyToClipboard(), S_OK);
    EXPECT_EQ(ClipboardText(), std::optional<std::wstring>(kThreePagesText));
    journal_.Mark();
    com::Bstr text(L"abc");
    ASSERT_EQ(viewer_->Search(text.Get()), S_OK);
    EXPECT_EQ(journal_.KeyActions(),
              (std::vector<std::wstring>{L"search-open", L"search-open", L"search:abc"}));
    {
        // A component that takes its chords as accelerators sees them there as well.
        ScopedSetting keys(L"FOLIVEX_STANDIN_KEYS", L"accelerator");
        journal_.Mark();
        EXPECT_EQ(CopyToString(), kThreePagesText);
        EXPECT_EQ(journal_.KeyActions(),
                  (std::vector<std::wstring>{L"select", std::wstring(L"copy:") + kThreePagesText,
                                             L"deselect"}));
    }

    // A resize reaches the component's window.
    HWND component = ComponentWindow();
    ASSERT_FALSE(HasWidth(component, 420));
    host_->Control().Move(0, 0, 420, 330);
    EXPECT_TRUE(WaitPumping([&] { return HasWidth(component, 420); }, 5000));

    // Opening again.
    EXPECT_TRUE(OpenDocument(viewer_, TestDocument(L"one_page.pdf")));
    ASSERT_EQ(viewer_->get_PageTotal(&total), S_OK);
    EXPECT_EQ(total, 1);
}

TEST_F(ComponentThread, AHungComponentThreadHoldsNoMemberAndIsServedAgainOnceItAnswers) {
    ASSERT_EQ(viewer_->SetCurrentPage(2), S_OK);
    LONG page = 0;
    ASSERT_EQ(viewer_->get_Page(&page), S_OK);
    ASSERT_EQ(page, 2);
    short zoom = 0;
    ASSERT_EQ(viewer_->get_ZoomPct(&zoom), S_OK);
    ASSERT_EQ(zoom, 100);
    // Found before the hang: finding them asks the windows for their text.
    HWND easel = Easel();
    ASSERT_NE(easel, nullptr);
    HWND navigationBar = NavigationBar();
    ASSERT_NE(navigationBar, nullptr);
    HWND component = ComponentWindow();
    ASSERT_FALSE(HasWidth(component, 420));
    HangComponentThread();

    // The walks read the hung windows as windows without text: the readouts keep their last
    // values.
    WhileHung("Page", [&] {
        page = -1;
        EXPECT_EQ(viewer_->get_Page(&page), S_OK);
        EXPECT_EQ(page, 2);
    });
    WhileHung("ZoomPct", [&] {
        zoom = -1;
        EXPECT_EQ(viewer_->get_ZoomPct(&zoom), S_OK);
        EXPECT_EQ(zoom, 100);
    });
    WhileHung("PageTotal", [&] {
        LONG total = -1;
        EXPECT_EQ(viewer_->get_PageTotal(&total), S_OK);
        EXPECT_EQ(total, 3);
    });

    // The bars leave the hung windows as they are.
    WhileHung("DisableToolbar", [&] { EXPECT_EQ(viewer_->DisableToolbar(), S_OK); });
    EXPECT_TRUE(::IsWindowEnabled(easel));
    WhileHung("DisableNavigationBar", [&] { EXPECT_EQ(viewer_->DisableNavigationBar(), S_OK); });
    EXPECT_TRUE(::IsWindowEnabled(navigationBar));
    // The component itself turns the call away while its windows are out of reach, and the
    // host hears of it.
    WhileHung("ShowToolbar",
              [&] { EXPECT_TRUE(FAILED(viewer_->ShowToolbar(VARIANT_FALSE, VARIANT_FALSE))); });
    EXPECT_TRUE(::IsWindowVisible(easel));

    // The text members give up: nothing copied, the clipboard cleared all the same.
    PutClipboardText(L"what the host had");
    WhileHung("CopyToString", [&] { EXPECT_EQ(CopyToString(), L""); });
    EXPECT_EQ(ClipboardFormatCount(), 0);
    PutClipboardText(L"what the host had");
    WhileHung("CopyToClipboard", [&] { EXPECT_EQ(viewer_->CopyToClipboard(), S_OK); });
    EXPECT_EQ(ClipboardText(), std::nullopt);
    WhileHung("SelectText", [&] { EXPECT_EQ(viewer_->SelectText(), S_OK); });
    WhileHung("DeselectText", [&] { EXPECT_EQ(viewer_->DeselectText(), S_OK); });
    WhileHung("Search", [&] {
        com::Bstr text(L"abc");
        EXPECT_EQ(viewer_->Search(text.Get()), S_OK);
    });
    EXPECT_EQ(journal_.KeyActions(), std::vector<std::wstring>{})
        << "no key reached the hung component";

    // A resize of the host is not held up by the component's window.
    WhileHung("Move", [&] { host_->Control().Move(0, 0, 420, 330); });

    // The component does not take the file while its thread is hung: a refused load.
    WhileHung("OpenPDF",
              [&] { EXPECT_FALSE(OpenDocument(viewer_, TestDocument(L"one_page.pdf"))); });
    EXPECT_FALSE(::IsWindowVisible(component)) << "a refused load hides the component";

    // Once the thread answers again, it is served as before.
    Wake();
    EXPECT_TRUE(WaitPumping([&] { return HasWidth(component, 420); }, 5000))
        << "the resize was made once the thread woke";
    EXPECT_TRUE(OpenDocument(viewer_, TestDocument(L"one_page.pdf")));
    EXPECT_TRUE(::IsWindowVisible(component));
    LONG total = 0;
    ASSERT_EQ(viewer_->get_PageTotal(&total), S_OK);
    EXPECT_EQ(total, 1);
    // A thread that failed to answer is left alone for a few seconds; the copy works again after.
    EXPECT_TRUE(WaitPumping([&] { return CopyToString() == L"Folivex single page"; }, 10000));
}

} // namespace
} // namespace folivex::testing
