// A container nobody here wrote: the platform's ATL control host window class.

#include "tests/windows/support/atl_library.h"
#include "tests/windows/support/test_window.h"

#include "interface/folivex_interface.h"

#include "com/com_ptr.h"

#include <gtest/gtest.h>

namespace folivex {
namespace {

TEST(AtlContainer, HostsTheControlVisibly) {
    testing::ComApartment apartment;
    const testing::AtlLibrary atl;
    ASSERT_TRUE(atl.Loaded());
    ASSERT_TRUE(atl.Init());

    com::UniqueWindow host = testing::MakeHostWindow();
    com::UniqueWindow axWindow(::CreateWindowExW(0, L"AtlAxWin", L"Folivex.Viewer",
                                                 WS_CHILD | WS_VISIBLE, 10, 10, 320, 240,
                                                 host.Get(), nullptr, nullptr, nullptr));
    ASSERT_TRUE(axWindow);
    testing::PumpMessages();

    com::ComPtr<IUnknown> control;
    ASSERT_EQ(atl.GetControl(axWindow.Get(), &control), S_OK);
    com::ComPtr<_Viewer> viewer;
    ASSERT_EQ(control.As(&viewer), S_OK);
    LONG hwnd = 0;
    ASSERT_EQ(viewer->get_hwnd(&hwnd), S_OK);
    HWND window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(hwnd));
    EXPECT_TRUE(::IsChild(axWindow.Get(), window));
    EXPECT_TRUE(::IsWindowVisible(window));

    // The host resizes its control with the window.
    ::MoveWindow(axWindow.Get(), 10, 10, 200, 150, TRUE);
    testing::PumpMessages();
    RECT client = {};
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 150);

    viewer.Reset();
    control.Reset();
    axWindow.Reset();
    testing::PumpMessages();
    EXPECT_FALSE(::IsWindow(window));
}

} // namespace
} // namespace folivex
