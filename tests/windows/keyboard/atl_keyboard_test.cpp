// A container nobody here wrote: the platform's ATL host window, with the loop an ATL
// application runs (the control's active object first, then IsDialogMessage, then dispatch).
// A key the user types while the viewer has the focus reaches the component.

#include "tests/windows/keyboard/keyboard_fixture.h"
#include "tests/windows/restrictions/win32_key_input.h"
#include "tests/windows/support/atl_library.h"
#include "tests/windows/support/test_window.h"
#include "tests/windows/support/viewer_calls.h"

#include "interface/folivex_interface.h"

#include "com/com_ptr.h"

namespace folivex::testing {
namespace {

class AtlKeyboard : public ::testing::TestWithParam<KeyMode> {
protected:
    AtlKeyboard() : journal_(GetParam()) {}

    // The host's loop until `done` holds; false after the timeout.
    template <typename Done>
    bool RunUntil(IOleInPlaceActiveObject* active, HWND host, Done done) {
        const ULONGLONG start = ::GetTickCount64();
        while (!done()) {
            if (::GetTickCount64() - start > 5000) {
                return false;
            }
            MSG message;
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST &&
                    active->TranslateAccelerator(&message) == S_OK) {
                    continue;
                }
                if (!::IsDialogMessageW(host, &message)) {
                    ::TranslateMessage(&message);
                    ::DispatchMessageW(&message);
                }
            }
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        return true;
    }

    ComApartment apartment_;
    KeyJournal journal_;
};

TEST_P(AtlKeyboard, ATypedKeyReachesTheComponent) {
    const AtlLibrary atl;
    ASSERT_TRUE(atl.Loaded());
    // Registers the host window class; Wine's answers FALSE once it is registered already.
    atl.Init();

    com::UniqueWindow host = MakeHostWindow();
    com::UniqueWindow axWindow(::CreateWindowExW(0, L"AtlAxWin", L"Folivex.Viewer",
                                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 380,
                                                 260, host.Get(), nullptr, nullptr, nullptr));
    ASSERT_TRUE(axWindow);
    com::ComPtr<IUnknown> control;
    ASSERT_EQ(atl.GetControl(axWindow.Get(), &control), S_OK);
    com::ComPtr<_Viewer> viewer;
    com::ComPtr<IOleInPlaceActiveObject> active;
    ASSERT_EQ(control.As(&viewer), S_OK);
    ASSERT_EQ(control.As(&active), S_OK);
    ASSERT_TRUE(OpenDocument(viewer.Get(), TestDocument(L"three_pages.pdf")));
    LONG hwnd = 0;
    ASSERT_EQ(viewer->get_hwnd(&hwnd), S_OK);
    HWND window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(hwnd));

    ASSERT_TRUE(MakeForeground(host.Get()));
    // Focus given to the control goes on into the component.
    ::SetFocus(window);
    ASSERT_TRUE(RunUntil(active.Get(), host.Get(), [&] { return FocusInComponent(window); }));
    journal_.Mark();
    ASSERT_TRUE(SendKeys(Keys({VK_CONTROL}, 'A')));
    ASSERT_TRUE(RunUntil(active.Get(), host.Get(), [&] { return !journal_.Actions().empty(); }));
    EXPECT_EQ(journal_.Actions(),
              (std::vector<std::wstring>{L"select" + std::wstring(journal_.ChordPath())}));

    active.Reset();
    viewer.Reset();
    control.Reset();
    axWindow.Reset();
    PumpMessages();
}

INSTANTIATE_TEST_SUITE_P(Modes, AtlKeyboard, ::testing::Values(kMessageKeys, kAcceleratorKeys),
                         KeyModeName);

} // namespace
} // namespace folivex::testing
