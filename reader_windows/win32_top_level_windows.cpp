#include "reader_windows/win32_top_level_windows.h"

#include "common/win32_window_handle.h"

namespace folivex {

WindowHandle Win32TopLevelWindows::FindByTitle(const std::string& title) {
    return FromHwnd(FindWindowA(nullptr, title.c_str()));
}

std::optional<std::intptr_t> Win32TopLevelWindows::SendWithTimeout(WindowHandle window,
                                                                   std::uint32_t message,
                                                                   std::uintptr_t wParam,
                                                                   std::intptr_t lParam,
                                                                   std::uint32_t timeoutMs) {
    const HWND hwnd = ToHwnd(window);
    DWORD_PTR result = 0;
    SetLastError(ERROR_SUCCESS);
    if (SendMessageTimeoutA(hwnd, static_cast<UINT>(message), static_cast<WPARAM>(wParam),
                            static_cast<LPARAM>(lParam), SMTO_NORMAL | SMTO_ABORTIFHUNG,
                            static_cast<UINT>(timeoutMs), &result) != 0) {
        return static_cast<std::intptr_t>(result);
    }
    // A zero return is a timeout, a hung receiver, a refused send, or a window that is gone.
    // Only the last is an answer: a destroyed window handles nothing and answers 0, as a plain
    // send to it would.
    if (GetLastError() != ERROR_TIMEOUT && !IsWindow(hwnd)) {
        return 0;
    }
    return std::nullopt;
}

} // namespace folivex
