// Windows of the component's tree that another thread owns, the way a component that renders
// off the host's thread builds them: read like the control's own while that thread answers, and
// read as windows without text, without holding the caller, once it stops answering.

#include "tests/windows/commands/commands_fixture.h"

#include <atomic>
#include <thread>

namespace folivex::testing {
namespace {

// An "Edit" box reading like the old layout's page box, made a child of the control's window by
// a thread of its own, at the top of the Z-order so that the walks meet it first.
class ForeignPageBox {
public:
    explicit ForeignPageBox(HWND control) {
        thread_ = std::thread([this, control] {
            threadId_ = ::GetCurrentThreadId();
            HWND box =
                ::CreateWindowExW(WS_EX_NOPARENTNOTIFY, L"Edit", L"7 of 9", WS_CHILD | WS_VISIBLE,
                                  0, 0, 60, 20, control, nullptr,
                                  // The system's class under its own name ("Edit", not "edit").
                                  ::GetModuleHandleW(L"user32.dll"), nullptr);
            ::SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            window_ = box;
            MSG message;
            while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
                if (message.message == WM_APP) {
                    // Stops answering for a while, as a component thread busy rendering does.
                    asleep_ = true;
                    ::Sleep(static_cast<DWORD>(message.wParam));
                    asleep_ = false;
                    continue;
                }
                ::DispatchMessageW(&message);
            }
            ::DestroyWindow(box);
            finished_ = true;
        });
        // Creating and destroying a child of our window sends our thread messages: pump them.
        WaitPumping([this] { return window_ != nullptr; });
    }
    ~ForeignPageBox() {
        ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        WaitPumping([this] { return finished_.load(); });
        thread_.join();
    }
    HWND Window() const { return window_; }
    void Hang(DWORD milliseconds) {
        ::PostThreadMessageW(threadId_, WM_APP, milliseconds, 0);
        WaitPumping([this] { return asleep_.load(); });
    }
    bool Asleep() const { return asleep_; }

private:
    template <typename Condition>
    static void WaitPumping(Condition condition) {
        while (!condition()) {
            PumpMessages(5);
        }
    }

    std::thread thread_;
    std::atomic<DWORD> threadId_{0};
    std::atomic<HWND> window_{nullptr};
    std::atomic<bool> asleep_{false};
    std::atomic<bool> finished_{false};
};

TEST(ForeignThread, WindowsOfAHungThreadReadAsWithoutTextAndHoldNoMember) {
    ComApartment apartment;
    ScopedSetting layout(L"FOLIVEX_STANDIN_LAYOUT", L"old");
    ViewerHost host;
    ASSERT_EQ(host.CreationResult(), S_OK);
    _Viewer* viewer = host.Viewer();
    ASSERT_EQ(viewer->put_ReaderVersion(7), S_OK);
    ASSERT_TRUE(OpenDocument(viewer, TestDocument(L"three_pages.pdf")));

    ForeignPageBox foreign(host.ControlWindow());
    ::SetWindowPos(foreign.Window(), HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_EQ(::GetWindow(host.ControlWindow(), GW_CHILD), foreign.Window())
        << "the walks meet the foreign box first";
    LONG page = 0;
    ASSERT_EQ(viewer->get_Page(&page), S_OK);
    EXPECT_EQ(page, 7) << "a window of another thread that answers is read as any other";

    foreign.Hang(4000);
    ASSERT_EQ(viewer->get_Page(&page), S_OK);
    EXPECT_EQ(page, 1) << "the hung box has no text; the component's own box decides";
    short zoom = 0;
    ASSERT_EQ(viewer->get_ZoomPct(&zoom), S_OK);
    EXPECT_EQ(zoom, 100);
    EXPECT_TRUE(OpenDocument(viewer, TestDocument(L"one_page.pdf")));
    LONG total = 0;
    ASSERT_EQ(viewer->get_PageTotal(&total), S_OK);
    EXPECT_EQ(total, 1);
    EXPECT_EQ(viewer->DisableToolbar(), S_OK);
    EXPECT_EQ(viewer->EnableToolbar(), S_OK);
    EXPECT_TRUE(foreign.Asleep()) << "every call returned without waiting for the hung thread";
}

} // namespace
} // namespace folivex::testing
