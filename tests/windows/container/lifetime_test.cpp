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

TEST(Lifetime, FiveHundredHostedControlsLeakNothing) {
    testing::ComApartment apartment;
    com::UniqueWindow host = testing::MakeHostWindow();
    auto cycle = [&] {
        auto viewer = std::make_unique<com::HostedControl>(host.Get(), L"Folivex.Viewer",
                                                           L"Viewer1", nullptr);
        ASSERT_EQ(viewer->CreationResult(), S_OK);
        viewer->Show(true);
        viewer->Move(0, 0, 300, 200);
        viewer.reset();
        testing::PumpMessages(0);
    };
    // Warm up: first-use allocations (window classes, the type library cache) are not leaks.
    for (int i = 0; i < 20; ++i) {
        cycle();
    }
    const int windowsBefore = CountThreadWindows();
    const Resources before = Measure();
    for (int i = 0; i < 500; ++i) {
        cycle();
    }
    const Resources after = Measure();
    EXPECT_EQ(CountThreadWindows(), windowsBefore);
    EXPECT_LE(after.gdi, before.gdi + 2);
    EXPECT_LE(after.user, before.user + 2);
    // 500 controls with a window tree each: a leak of even one small allocation per control
    // would show as growth well above this.
    EXPECT_LT(after.privateBytes, before.privateBytes + 2 * 1024 * 1024)
        << "grew from " << before.privateBytes << " to " << after.privateBytes;
    std::printf("gdi %lu -> %lu, user %lu -> %lu, private bytes %zu -> %zu\n",
                static_cast<unsigned long>(before.gdi), static_cast<unsigned long>(after.gdi),
                static_cast<unsigned long>(before.user), static_cast<unsigned long>(after.user),
                static_cast<size_t>(before.privateBytes), static_cast<size_t>(after.privateBytes));
}

TEST(Lifetime, UnsitedControlsLeaveNoWindowBehind) {
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
