// Creating and destroying the control many times leaves nothing behind.

#include "tests/windows/support/test_window.h"

#include "interface/folivex_interface.h"

#include "com/com_ptr.h"
#include "com/hosted_control.h"

#include <psapi.h>

#include <gtest/gtest.h>

#include <memory>

namespace folivex {
namespace {

struct Resources {
    DWORD gdi;
    DWORD user;
    SIZE_T privateBytes;
};

Resources Measure() {
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof(memory);
    ::K32GetProcessMemoryInfo(::GetCurrentProcess(),
                              reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
    // Wine leaves PrivateUsage at 0 but keeps the commit charge in PagefileUsage; it also
    // reports no GDI or USER object counts, so there the window count is what catches a leak.
    return {::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS),
            ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS),
            memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage};
}

BOOL CALLBACK CountWindow(HWND, LPARAM counter) {
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

// Top-level windows of this thread (a parked control would be one).
int CountThreadWindows() {
    int count = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

// 500 hosted controls created, shown, sized and destroyed; the figures before and after, shared
// by the checks below.
class Lifetime : public ::testing::Test {
protected:
    static constexpr int kControls = 500;

    struct Figures {
        Resources before{};
        Resources after{};
        int windowsBefore = 0;
        int windowsAfter = 0;
        bool measured = false;
    };

    static const Figures& Measured() {
        static Figures figures = [] {
            Figures f;
            testing::ComApartment apartment;
            com::UniqueWindow host = testing::MakeHostWindow();
            auto cycle = [&] {
                auto viewer = std::make_unique<com::HostedControl>(host.Get(), L"Folivex.Viewer",
                                                                   L"Viewer1", nullptr);
                if (viewer->CreationResult() != S_OK) {
                    return false;
                }
                viewer->Show(true);
                viewer->Move(0, 0, 300, 200);
                viewer.reset();
                testing::PumpMessages(0);
                return true;
            };
            // Warm up: first-use allocations (window classes, the type library cache) are not
            // leaks.
            for (int i = 0; i < 20; ++i) {
                if (!cycle()) {
                    return f;
                }
            }
            f.windowsBefore = CountThreadWindows();
            f.before = Measure();
            for (int i = 0; i < kControls; ++i) {
                if (!cycle()) {
                    return f;
                }
            }
            f.after = Measure();
            f.windowsAfter = CountThreadWindows();
            f.measured = true;
            std::printf("%d controls: gdi %lu -> %lu, user %lu -> %lu, private bytes %zu -> %zu\n",
                        kControls, static_cast<unsigned long>(f.before.gdi),
                        static_cast<unsigned long>(f.after.gdi),
                        static_cast<unsigned long>(f.before.user),
                        static_cast<unsigned long>(f.after.user),
                        static_cast<size_t>(f.before.privateBytes),
                        static_cast<size_t>(f.after.privateBytes));
            return f;
        }();
        return figures;
    }

    // Growth per control, in the figure's unit.
    static double PerControl(double before, double after) { return (after - before) / kControls; }
};

TEST_F(Lifetime, HostedControlsLeaveNoWindowBehind) {
    const Figures& f = Measured();
    ASSERT_TRUE(f.measured) << "a control could not be created";
    EXPECT_EQ(f.windowsAfter, f.windowsBefore);
}

TEST_F(Lifetime, HostedControlsLeakNoMemory) {
    const Figures& f = Measured();
    ASSERT_TRUE(f.measured) << "a control could not be created";
    ASSERT_GT(f.before.privateBytes, 0u) << "the platform reports no memory figure";
    // A control with its window tree, sink and component; a leak of even a small part of one
    // per control would show as growth well above this.
    EXPECT_LT(PerControl(static_cast<double>(f.before.privateBytes),
                         static_cast<double>(f.after.privateBytes)),
              2048.0)
        << "bytes per control; grew from " << f.before.privateBytes << " to "
        << f.after.privateBytes;
}

TEST_F(Lifetime, HostedControlsLeakNoGdiOrUserObjects) {
    const Figures& f = Measured();
    ASSERT_TRUE(f.measured) << "a control could not be created";
    if (f.before.gdi == 0 && f.after.gdi == 0 && f.before.user == 0 && f.after.user == 0) {
        // Wine reports no GDI or USER object counts; the window count above is what checks
        // there.
        GTEST_SKIP() << "the platform reports no GDI or USER object counts";
    }
    // Less than one object per hundred controls: a leak of one per control is far above.
    EXPECT_LT(PerControl(f.before.gdi, f.after.gdi), 0.01);
    EXPECT_LT(PerControl(f.before.user, f.after.user), 0.01);
}

TEST_F(Lifetime, UnsitedControlsLeaveNoWindowBehind) {
    testing::ComApartment apartment;
    const int windowsBefore = CountThreadWindows();
    for (int i = 0; i < 100; ++i) {
        com::ComPtr<_Viewer> viewer;
        ASSERT_EQ(
            ::CoCreateInstance(CLSID_Viewer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&viewer)),
            S_OK);
    }
    EXPECT_EQ(CountThreadWindows(), windowsBefore);
}

} // namespace
} // namespace folivex
