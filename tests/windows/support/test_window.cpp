#include "tests/windows/support/test_window.h"

namespace folivex::testing {

com::UniqueWindow MakeHostWindow(int width, int height) {
    static const wchar_t* kClass = L"FolivexTestHost";
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (!::GetClassInfoExW(::GetModuleHandleW(nullptr), kClass, &wc)) {
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClass;
        ::RegisterClassExW(&wc);
    }
    RECT rect = {0, 0, width, height};
    ::AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window =
        ::CreateWindowExW(0, kClass, L"Folivex test host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                          0, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                          ::GetModuleHandleW(nullptr), nullptr);
    ::ShowWindow(window, SW_SHOW);
    return com::UniqueWindow(window);
}

void PumpMessages(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (::GetTickCount() - start < milliseconds);
}

bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start >= milliseconds) {
            return condition();
        }
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

bool PumpPostedMessages(DWORD milliseconds) {
    // A thread message of the test's own, told apart from any other by a sequence number.
    constexpr UINT kMarker = WM_APP + 0x3A7;
    static WPARAM sequence = 0;
    const WPARAM mine = ++sequence;
    if (!::PostThreadMessageW(::GetCurrentThreadId(), kMarker, mine, 0)) {
        return false;
    }
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < milliseconds) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.hwnd == nullptr && msg.message == kMarker) {
                if (msg.wParam == mine) {
                    return true;
                }
                continue; // an older marker whose wait gave up
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return false;
}

} // namespace folivex::testing
