// What wakes the document-view wait of OpenPDF: a view the component makes on the control's
// thread must end the wait without the slow fallback tick, and one made on another thread (no
// message reaches the control's thread) must be found by that tick. A watchdog ends an open
// that nothing wakes, so a missing wake path fails the test instead of hanging it.

#include "tests/windows/opening/opening_fixture.h"

#include "control/win32_window_creation_watch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace folivex::testing {
namespace {

constexpr DWORD kWatchdogMs = 20000;

// Posts WM_QUIT to the thread that made it unless Done() came first; the control treats a quit
// met during an open as the end of it. A quit still queued is taken away again at the end.
class Watchdog {
public:
    Watchdog()
        : thread_(::GetCurrentThreadId()), done_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        watcher_ = std::thread([this] {
            if (::WaitForSingleObject(done_.Get(), kWatchdogMs) == WAIT_TIMEOUT) {
                fired_ = true;
                ::PostThreadMessageW(thread_, WM_QUIT, 0, 0);
            }
        });
    }
    ~Watchdog() {
        Done();
        watcher_.join();
        MSG quit;
        while (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    void Done() { ::SetEvent(done_.Get()); }
    bool Fired() const { return fired_; }

private:
    DWORD thread_;
    com::UniqueKernelHandle done_;
    std::atomic<bool> fired_{false};
    std::thread watcher_;
};

LRESULT CALLBACK ForeignViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// A document view (old layout) made by a thread of its own below `parent`, once the component
// has had its load request; it tells its parent nothing. Kept until the object goes.
class ViewFromAnotherThread {
public:
    ViewFromAnotherThread(OpeningSession& session, HWND parent)
        : finish_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = ForeignViewProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"AVL_AVView";
        ::RegisterClassW(&windowClass);
        const std::size_t loadsBefore = session.LoadRequests().size();
        maker_ = std::thread([this, &session, parent, loadsBefore] {
            for (DWORD waited = 0; session.LoadRequests().size() == loadsBefore; waited += 5) {
                if (waited > kWatchdogMs ||
                    ::WaitForSingleObject(finish_.Get(), 5) == WAIT_OBJECT_0) {
                    ::SetEvent(ended_.Get());
                    return;
                }
            }
            HWND view = ::CreateWindowExW(WS_EX_NOPARENTNOTIFY, L"AVL_AVView", L"AVPageView",
                                          WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent, nullptr,
                                          ::GetModuleHandleW(nullptr), nullptr);
            made_ = view != nullptr;
            // Windows belong to their thread: it stays, serving them, until told to go.
            HANDLE finish = finish_.Get();
            while (::MsgWaitForMultipleObjects(1, &finish, FALSE, INFINITE, QS_ALLINPUT) !=
                   WAIT_OBJECT_0) {
                MSG message;
                while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                    ::DispatchMessageW(&message);
                }
            }
            if (view) {
                ::DestroyWindow(view);
            }
            ::SetEvent(ended_.Get());
        });
    }
    ~ViewFromAnotherThread() {
        ::SetEvent(finish_.Get());
        // The view's going may need this thread's messages handled.
        HANDLE ended = ended_.Get();
        while (::MsgWaitForMultipleObjects(1, &ended, FALSE, kWatchdogMs, QS_ALLINPUT) ==
               WAIT_OBJECT_0 + 1) {
            MSG message;
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                ::DispatchMessageW(&message);
            }
        }
        maker_.join();
    }
    bool Made() const { return made_; }

private:
    com::UniqueKernelHandle finish_;
    com::UniqueKernelHandle ended_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<bool> made_{false};
    std::thread maker_;
};

TEST(DocumentViewWake, AViewMadeOnTheControlsThreadEndsTheWaitWithoutTheFallback) {
    ScopedSetting fallback(L"FOLIVEX_OPEN_WAIT_FALLBACK_MS", L"600000");
    ScopedSetting timeout(L"FOLIVEX_DOCUMENT_VIEW_TIMEOUT_MS", L"600000");
    ScopedSetting late(L"FOLIVEX_STANDIN_DOCVIEW_DELAY", L"200");
    OpeningSession session;
    for (const wchar_t* document : {L"three_pages.pdf", L"one_page.pdf"}) {
        Watchdog watchdog;
        EXPECT_TRUE(session.Open(TestDocument(document))) << "the wait was not woken";
        watchdog.Done();
        EXPECT_FALSE(watchdog.Fired());
    }
    EXPECT_EQ(session.PageTotal(), 1);
}

TEST(DocumentViewWake, AViewMadeOnAnotherThreadIsFoundByTheFallback) {
    ScopedSetting fallback(L"FOLIVEX_OPEN_WAIT_FALLBACK_MS", L"150");
    ScopedSetting timeout(L"FOLIVEX_DOCUMENT_VIEW_TIMEOUT_MS", L"600000");
    ScopedSetting never(L"FOLIVEX_STANDIN_DOCVIEW_DELAY", L"never");
    OpeningSession session;
    ASSERT_TRUE(session.Viewer());
    ViewFromAnotherThread view(session, session.Host().ControlWindow());
    Watchdog watchdog;
    EXPECT_TRUE(session.Open(TestDocument(L"three_pages.pdf")));
    watchdog.Done();
    EXPECT_TRUE(view.Made());
    EXPECT_FALSE(watchdog.Fired());
    EXPECT_TRUE(session.ComponentVisible());
}

// The hook behind the first test's wake, on its own: windows made below the watched window on
// this thread signal, others do not; one hook serves two watches and goes with the last.
TEST(WindowCreationWatch, SignalsWindowsMadeBelowItsRootOnly) {
    com::UniqueWindow rootWindow = MakeHostWindow(100, 100);
    com::UniqueWindow elsewhereWindow = MakeHostWindow(100, 100);
    HWND root = rootWindow.Get();
    HWND elsewhere = elsewhereWindow.Get();
    WindowCreationWatch watch(root);
    ASSERT_NE(watch.Wake(), nullptr);
    auto signalled = [](const WindowCreationWatch& w) {
        return ::WaitForSingleObject(w.Wake(), 0) == WAIT_OBJECT_0;
    };
    auto child = [](HWND parent) {
        return com::UniqueWindow(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 1, 1, parent,
                                                   nullptr, nullptr, nullptr));
    };
    EXPECT_FALSE(signalled(watch));
    com::UniqueWindow direct = child(root);
    EXPECT_TRUE(signalled(watch)); // auto-reset: consumed by the test
    com::UniqueWindow grandchild = child(direct.Get());
    EXPECT_TRUE(signalled(watch));
    com::UniqueWindow other = child(elsewhere);
    EXPECT_FALSE(signalled(watch));
    {
        WindowCreationWatch second(elsewhere);
        com::UniqueWindow both = child(grandchild.Get());
        com::UniqueWindow more = child(elsewhere);
        EXPECT_TRUE(signalled(watch));
        EXPECT_TRUE(signalled(second));
    }
    // The first watch still has the thread's hook after the second went.
    com::UniqueWindow late = child(root);
    EXPECT_TRUE(signalled(watch));
    com::UniqueWindow unwalked = child(root);
    watch.Clear();
    EXPECT_FALSE(signalled(watch));
}

} // namespace
} // namespace folivex::testing
