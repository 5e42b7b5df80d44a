#pragma once
// The object behind a window: the window is created with the object as its creation parameter
// (the last argument of CreateWindowEx), and its window procedure asks for the object here on
// every message. The link is kept in the window's user data from WM_NCCREATE and cut at
// WM_NCDESTROY, for which the object is still returned, so that no message after the window's
// end can reach an object that may be gone.

#include <windows.h>

namespace folivex::com {

template <class T>
T* WindowInstance(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* instance = reinterpret_cast<T*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    return instance;
}

} // namespace folivex::com
