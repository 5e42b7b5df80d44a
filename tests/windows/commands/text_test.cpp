// Selecting, copying and searching through the component's keyboard: the key actions the
// stand-in journals, the text on or off the clipboard, and keys that reach the component when
// no window of the host is the active one (a console script host, an unsited control, another
// program in front).

#include "tests/windows/commands/commands_fixture.h"
#include "tests/windows/support/viewer_calls.h"

#include "com/bstr.h"
#include "com/com_ptr.h"
#include "com/window_instance.h"

#include <atomic>
#include <functional>
#include <thread>

namespace folivex::testing {
namespace {

class Text : public LayoutFixture {
protected:
    void SetUp() override {
        LayoutFixture::SetUp();
        ::SetForegroundWindow(host_->HostWindow());
        const HWND host = host_->HostWindow();
        PumpUntil([host] { return ::GetForegroundWindow() == host; }, 2000);
    }
    std::wstring CopyToString() {
        com::Bstr text;
        EXPECT_EQ(viewer_->CopyToString(text.Out()), S_OK);
        return text.ToString();
    }
    std::vector<std::wstring> Search(const wchar_t* text) {
        journal_.Mark();
        com::Bstr value(text);
        EXPECT_EQ(viewer_->Search(value.Get()), S_OK);
        return journal_.KeyActions();
    }
};

TEST_P(Text, CopyToStringReturnsTheTextAndLeavesTheClipboardEmpty) {
    OpenThreePages();
    PutClipboardText(L"what the host had");
    EXPECT_EQ(CopyToString(), kThreePagesText);
    EXPECT_EQ(ClipboardFormatCount(), 0);
    EXPECT_EQ(journal_.KeyActions(),
              (std::vector<std::wstring>{L"select", std::wstring(L"copy:") + kThreePagesText,
                                         L"deselect"}));
}

TEST_P(Text, CopyToClipboardLeavesTheTextThereAndNothingSelected) {
    OpenThreePages();
    PutClipboardText(L"what the host had");
    ASSERT_EQ(viewer_->CopyToClipboard(), S_OK);
    EXPECT_EQ(ClipboardText(), std::optional<std::wstring>(kThreePagesText));
    EXPECT_EQ(journal_.KeyActions().back(), L"deselect");
    // Nothing selected: a copy by the user's own keys copies nothing more.
    PutClipboardText(L"after");
    journal_.Mark();
    ASSERT_EQ(viewer_->SelectText(), S_OK);
    ASSERT_EQ(viewer_->DeselectText(), S_OK);
    EXPECT_EQ(journal_.KeyActions(), (std::vector<std::wstring>{L"select", L"deselect"}));
    EXPECT_EQ(ClipboardText(), std::optional<std::wstring>(L"after"));
}

TEST_P(Text, WithoutADocumentNothingIsCopiedAndTheClipboardIsStillCleared) {
    PutClipboardText(L"what the host had");
    EXPECT_EQ(CopyToString(), L"");
    EXPECT_EQ(ClipboardFormatCount(), 0);
    PutClipboardText(L"again");
    ASSERT_EQ(viewer_->CopyToClipboard(), S_OK);
    EXPECT_EQ(ClipboardText(), std::nullopt);
}

TEST_P(Text, SearchSendsExactlyTheKeysOfItsText) {
    OpenThreePages();
    // Nothing to look for: the search is only opened.
    EXPECT_EQ(Search(L""), (std::vector<std::wstring>{L"search-open"}));
    journal_.Mark();
    ASSERT_EQ(host_->Call(L"Search", {}), S_OK);
    EXPECT_EQ(journal_.KeyActions(), (std::vector<std::wstring>{L"search-open"}));

    EXPECT_EQ(Search(L"abc"),
              (std::vector<std::wstring>{L"search-open", L"search-open", L"search:abc"}));
    // The text is keystroke syntax, not escaped: "+" holds Shift, a group holds it over
    // several keys, braces type a character or repeat one, "~" is Enter, brackets are plain.
    EXPECT_EQ(Search(L"a+bc"),
              (std::vector<std::wstring>{L"search-open", L"search-open", L"search:aBc"}));
    EXPECT_EQ(Search(L"+(xy)z"),
              (std::vector<std::wstring>{L"search-open", L"search-open", L"search:XYz"}));
    EXPECT_EQ(Search(L"{+}{a 3}[1]"),
              (std::vector<std::wstring>{L"search-open", L"search-open", L"search:+aaa[1]"}));
    EXPECT_EQ(Search(L"ab~c"), (std::vector<std::wstring>{L"search-open", L"search-open",
                                                          L"search:ab", L"search:abc"}));
    // A string the synthesiser cannot read is not typed at all; Enter still follows, and the
    // search box, which keeps its last text, searches for that again.
    EXPECT_EQ(Search(L"50%"),
              (std::vector<std::wstring>{L"search-open", L"search-open", L"search:abc"}));
    EXPECT_EQ(Search(L"{oops"),
              (std::vector<std::wstring>{L"search-open", L"search-open", L"search:abc"}));
}

// A window whose posted message runs host code, as a host's own posted message or timer would,
// while the control pumps messages inside a call.
class PostedHostCode {
public:
    explicit PostedHostCode(std::function<void()> code) : code_(std::move(code)) {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = &PostedHostCode::Proc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"FolivexPostedHostCode";
        ::RegisterClassW(&windowClass);
        window_.Reset(::CreateWindowExW(0, L"FolivexPostedHostCode", L"", 0, 0, 0, 0, 0,
                                        HWND_MESSAGE, nullptr, windowClass.hInstance, this));
    }
    void Post() { ::PostMessageW(window_.Get(), WM_APP, 0, 0); }
    int Runs() const { return runs_; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = com::WindowInstance<PostedHostCode>(window, message, lParam);
        if (message == WM_APP && self) {
            ++self->runs_;
            self->code_();
            return 0;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    std::function<void()> code_;
    com::UniqueWindow window_;
    int runs_ = 0;
};

// The host lets go of the control from a posted message while a text member processes its keys:
// the member still completes, and the control goes once it has returned.
TEST_P(Text, AHostReleasingTheControlDuringATextMemberGetsItsAnswer) {
    OpenThreePages();
    const HWND control = Control();
    ASSERT_TRUE(::IsWindow(control));
    com::ComPtr<_Viewer> viewer(viewer_); // the caller's own reference, as a script's variable
    PostedHostCode release([&] { host_->Release(); });
    release.Post();
    com::Bstr text;
    ASSERT_EQ(viewer->CopyToString(text.Out()), S_OK);
    EXPECT_EQ(release.Runs(), 1) << "the release ran inside the call";
    EXPECT_EQ(text.ToString(), kThreePagesText);
    EXPECT_TRUE(::IsWindow(control)) << "our reference still holds it";

    // Now the last reference goes in the middle of the call itself.
    _Viewer* raw = viewer.Get();
    bool aliveInsideTheCall = false;
    PostedHostCode last([&] {
        viewer.Reset();
        aliveInsideTheCall = ::IsWindow(control) != FALSE;
    });
    last.Post();
    ASSERT_EQ(raw->SelectText(), S_OK);
    EXPECT_EQ(last.Runs(), 1);
    EXPECT_TRUE(aliveInsideTheCall) << "the call holds the control until it returns";
    PumpMessages(0);
    EXPECT_FALSE(::IsWindow(control)) << "released once the call returned";
    EXPECT_EQ(WaitUntilLibraryCanUnload(), S_OK) << "no object of the control is left";
    viewer_ = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Layouts, Text, ::testing::Values(kOldLayout, kNewLayout), LayoutName);

// A window of another thread in front, as another program would be.
class ForeignForeground {
public:
    ForeignForeground() {
        thread_ = std::thread([this] {
            com::UniqueWindow window = MakeHostWindow(200, 100);
            window_ = window.Get();
            threadId_ = ::GetCurrentThreadId();
            ::SetForegroundWindow(window_);
            ready_ = true;
            MSG message;
            while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
                ::DispatchMessageW(&message);
            }
        });
        while (!ready_) {
            ::Sleep(10);
        }
    }
    ~ForeignForeground() {
        ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND Window() const { return window_; }

private:
    std::thread thread_;
    std::atomic<DWORD> threadId_{0};
    std::atomic<HWND> window_{nullptr};
    std::atomic<bool> ready_{false};
};

TEST(TextWithoutActiveHost, KeysReachTheComponentOfAnUnsitedControl) {
    ComApartment apartment;
    ScopedJournal journal;
    // As a console script host creates it: no container, no window of the host at all.
    com::ComPtr<_Viewer> viewer;
    ASSERT_EQ(::CoCreateInstance(CLSID_Viewer, nullptr, CLSCTX_INPROC_SERVER, IID__Viewer,
                                 reinterpret_cast<void**>(viewer.GetAddressOf())),
              S_OK);
    ASSERT_TRUE(OpenDocument(viewer.Get(), TestDocument(L"three_pages.pdf")));
    ForeignForeground other;
    ASSERT_NE(::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr), ::GetCurrentThreadId());
    com::Bstr text;
    ASSERT_EQ(viewer->CopyToString(text.Out()), S_OK);
    EXPECT_EQ(text.ToString(), kThreePagesText);
    journal.Mark();
    com::Bstr search(L"page");
    ASSERT_EQ(viewer->Search(search.Get()), S_OK);
    EXPECT_EQ(journal.KeyActions(),
              (std::vector<std::wstring>{L"search-open", L"search-open", L"search:page"}));
    // The keys went to our component only: nothing is left held down for the thread.
    EXPECT_EQ(::GetKeyState(VK_CONTROL) & 0x8000, 0);
    EXPECT_EQ(::GetKeyState(VK_SHIFT) & 0x8000, 0);
}

} // namespace
} // namespace folivex::testing
